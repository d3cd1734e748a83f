#include "data/pool_fixture.h"
#include "display/text.h"

namespace {

using SimulatedPlant = PoolFixture;

TEST_F(SimulatedPlant, BasicDisplayValues)
{
    EXPECT_EQ(DAT_GetBoilerTemp(), 50);
    EXPECT_TRUE(DAT_BoilerTempValid());
    EXPECT_TRUE(DAT_BurnerOn());
    EXPECT_TRUE(DAT_GetFlag(DatFlag::CirculationPumpOn));
    EXPECT_EQ(DAT_GetOutsideTemp(), 0);
    EXPECT_EQ(DAT_GetDhwTemp(), 51);
    EXPECT_EQ(DAT_GetBoilerSetTemp(), 51);
    EXPECT_FALSE(DAT_GetFaultPresent());
    EXPECT_FALSE(DAT_GetMaintenanceDue());
    EXPECT_FALSE(DAT_GetTempUnitFahrenheit());
    EXPECT_EQ(DAT_GetStatusFlags(), 0x0084);
    EXPECT_EQ(DAT_GetStatusByte7(), 0x43);
    EXPECT_EQ(DAT_GetStatusNibble7(), 3);
}

TEST_F(SimulatedPlant, DiagnosisValues)
{
    EXPECT_EQ(DAT_GetCodingPlug(), 0x2000);
    EXPECT_EQ(DAT_GetBurnerStarts(), 2193u);
    EXPECT_EQ(DAT_GetOperatingHoursStage1(), 900u);
    EXPECT_EQ(DAT_GetOperatingHoursStage2(), 345u);
    EXPECT_EQ(DAT_GetFuelConsumption(), 3248u);
    EXPECT_EQ(DAT_GetMaintenanceHours(), 5500);
    EXPECT_FALSE(DAT_TwoStageBurner());
    EXPECT_EQ(DAT_GetBurnerType(), 0);
    EXPECT_EQ(DAT_GetOwnParticipantNumber(), 8);
    EXPECT_FALSE(DAT_LonModulePresent());
    EXPECT_TRUE(DAT_GetFlag(DatFlag::CirculationPumpConfigured));
    EXPECT_EQ(DAT_UnsignedHalfToDegrees(DAT_ReadByte(DatBlock::Boiler, 36)), 39);
    EXPECT_EQ(DAT_GetHeatOutput(), 68);
}

TEST_F(SimulatedPlant, SolarValues)
{
    EXPECT_TRUE(DAT_GetSolarPresent());
    EXPECT_EQ(DAT_GetCollectorTemp(), 48);
    EXPECT_EQ(DAT_GetSolarPumpSpeed(), 60);
    EXPECT_EQ(DAT_GetDhwSolarTemp(), 20);
    EXPECT_EQ(DAT_GetSolarEnergy(), 1260u);
    EXPECT_EQ(DAT_GetSolarPumpHours(), 600);
    EXPECT_EQ(DAT_GetSolarPumpStarts(), 286u);
    EXPECT_TRUE(DAT_SolarCountersShown());
    EXPECT_TRUE(DAT_GetFlag(DatFlag::SolarPumpSpeedShown));
    const uint32_t yields[] = {7000, 5000, 1700, 2300, 0, 7000, 6500, 3000, 0};
    for (uint8_t day = 0; day < 9; ++day)
        EXPECT_EQ(DAT_GetDailySolarYield(day), yields[day]) << int(day);
    EXPECT_EQ(DAT_GetDailySolarYield(200), 0u);
}

TEST_F(SimulatedPlant, CircuitOneIsInTheViewWithItsSetValues)
{
    EXPECT_EQ(DAT_GetSelectedCircuit(), 1);
    EXPECT_EQ(DAT_CircuitCount(), 2);
    EXPECT_EQ(DAT_GetOperatingProgram(), 4);
    EXPECT_TRUE(DAT_GetFlag(DatFlag::DhwTimeProgramAuto));
    EXPECT_EQ(DAT_GetRoomTemp(), 20);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 20);
    EXPECT_EQ(DAT_GetRoomSetTempReduced(), 3);
    EXPECT_EQ(DAT_GetPartySetTemp(), 20);
    EXPECT_EQ(DAT_GetDhwSetTemp(), 50);
    EXPECT_EQ(DAT_GetDhwSetTempMax(), 60);
    EXPECT_EQ(DAT_GetDhwSetTempMin(), 5);
    EXPECT_EQ(DAT_GetHeatingCurveSlope(), 14);
    EXPECT_EQ(DAT_GetHeatingCurveLevel(), 0);
    EXPECT_TRUE(DAT_GetFlag(DatFlag::CircuitPumpOn));
    EXPECT_TRUE(DAT_GetFlag(DatFlag::EconomyAllowed));
    EXPECT_EQ(DAT_GetHolidayStart(), 0u);
    EXPECT_TRUE(DAT_GetDhwPresent());
    EXPECT_TRUE(DAT_GetDhwSetAtPanel());
    EXPECT_TRUE(DAT_GetDhwTimeProgramsShown());
    EXPECT_EQ(DAT_GetOperatingLockLevel(), 0);
}

TEST_F(SimulatedPlant, EveryPlacedFlagWithoutASimulatedValueIsClear)
{
    for (DatFlag f :
         {DatFlag::BurnerLockedOut, DatFlag::CalibrationActive, DatFlag::ParametrisationActive,
          DatFlag::ActuatorTestActive, DatFlag::FlueGasTestActive, DatFlag::FillingActive,
          DatFlag::VentingActive, DatFlag::CommissioningRequired, DatFlag::CommissioningPending,
          DatFlag::ClockMustBeSet, DatFlag::MaintenanceByHours, DatFlag::MaintenanceByInterval,
          DatFlag::ExternalSwitchOver, DatFlag::ExternalProgram, DatFlag::EconomyBlocked,
          DatFlag::DisplaySettingsMarker})
        EXPECT_FALSE(DAT_GetFlag(f)) << static_cast<int>(f);
    EXPECT_EQ(DAT_GetFaultPending(), 0);
    EXPECT_EQ(DAT_GetMaintenancePending(), 0);
}

TEST_F(SimulatedPlant, LabelsInGermanAndTheCatalogueOtherwise)
{
    char buffer[61];
    TXT_SetLanguage(0);
    EXPECT_EQ(DAT_GetLabelLanguage(1), 0);
    EXPECT_EQ(DAT_GetLabelLanguage(2), 0);
    DAT_GetCircuitLabel(116, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Erdgeschoss");
    DAT_GetCircuitLabel(117, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Obergeschoss");
    TXT_SetLanguage(2);
    EXPECT_EQ(DAT_GetCircuitLabel(117, buffer, sizeof buffer), 0);
    TXT_SetLanguage(0);
}

TEST_F(SimulatedPlant, ClockIsTheHostsLocalTime)
{
    EXPECT_EQ(DAT_GetClockSeconds(), static_cast<uint32_t>(FIXTURE_LOCAL_TIME));
    SIM_SetFixedLocalTime(int64_t{1} << 32 | 5); // only the low 32 bits are stored
    DAT_ClearAll(1);
    EXPECT_EQ(DAT_GetClockSeconds(), 5u);
    SIM_SetFixedLocalTime(FIXTURE_LOCAL_TIME);
}

TEST_F(SimulatedPlant, TimeProgramsStartWithTheirDefaultPhase)
{
    for (uint8_t set = 0; set < TP_CIRCUIT_SETS; ++set)
        for (uint8_t day = 0; day < TP_DAYS; ++day) {
            EXPECT_EQ(DAT_GetSwitchingTime(set, TimeProgram::Heating, day, 0, PhaseEdge::On), 36);
            EXPECT_EQ(DAT_GetSwitchingTime(set, TimeProgram::Dhw, day, 0, PhaseEdge::On), 33);
            EXPECT_EQ(DAT_GetSwitchingTime(set, TimeProgram::Circulation, day, 0, PhaseEdge::Off),
                      132);
            EXPECT_EQ(DAT_GetSwitchingTime(set, TimeProgram::Heating, day, 3, PhaseEdge::Off),
                      TP_UNUSED);
        }
}

} // namespace
