#include <functional>
#include <string>
#include <vector>

#include "data/pool_fixture.h"
#include "display/lcd.h"
#include "display/text.h"

namespace {

struct Cmd {
    uint8_t message;
    uint8_t circuit;
    uint8_t code;
    std::vector<uint8_t> params; // bytes 4.., the rest up to byte 12 is 0
};

struct Case {
    const char* name;
    std::function<void()> act;
    std::vector<Cmd> queued;
    std::function<bool()> localChange;
};

constexpr uint32_t DEPARTURE = 20649u * 86400 + 86399; // 15 July 2026 23:59:59
constexpr uint32_t RETURN_DAY = 20660u * 86400;        // 26 July 2026 00:00:00

bool Always() { return true; }

const std::vector<Case>& Cases()
{
    static const std::vector<Case> cases{
        {"data request, circuit message",
         [] { DIS_SendDataRequest(0); },
         {{0, 1, 231, {0}}, {0, 2, 231, {0}}},
         Always},
        {"data request, day", [] { DIS_SendDataRequest(5); }, {{5, 1, 231, {0}}}, Always},
        {"data request, fault part",
         [] { DIS_SendDataRequest(22, 3); },
         {{22, 0, 231, {3}}},
         Always},
        {"data request, label part",
         [] { DIS_SendDataRequest(25, 2); },
         {{25, 1, 231, {2}}},
         Always},
        {"standby",
         [] {
             DAT_SetFlag(DatFlag::ExternalProgram, true);
             DAT_SetEconomyMode(true);
             DIS_SendOperatingProgram(OperatingProgram::Standby);
         },
         {{1, 1, 200, {}}, {1, 1, 221, {}}},
         [] {
             return DAT_GetOperatingProgram() == 5 && !DAT_GetFlag(DatFlag::ExternalProgram) &&
                    !DAT_GetEconomyMode() && (DAT_ReadByte(DatBlock::Status, 11) & 2) == 0;
         }},
        {"only hot water",
         [] { DIS_SendOperatingProgram(OperatingProgram::OnlyHotWater); },
         {{1, 1, 201, {}}, {1, 1, 221, {}}},
         [] { return DAT_GetOperatingProgram() == 0; }},
        {"heating and hot water",
         [] { DIS_SendOperatingProgram(OperatingProgram::HeatingAndHotWater); },
         {{1, 1, 202, {}}, {1, 1, 221, {}}},
         [] {
             return DAT_GetOperatingProgram() == 3 &&
                    (DAT_ReadU16(DatBlock::Circuit1, 3) & ~7) == 0x0FC0;
         }},
        {"party on",
         [] {
             DAT_SetEconomyMode(true);
             DIS_SendPartyMode(true);
         },
         {{1, 1, 203, {}}, {1, 1, 221, {}}},
         [] { return DAT_GetPartyMode() && !DAT_GetEconomyMode(); }},
        {"party off",
         [] {
             DAT_SetPartyMode(true);
             DIS_SendPartyMode(false);
         },
         {{1, 1, 204, {}}},
         [] { return !DAT_GetPartyMode(); }},
        {"economy on",
         [] {
             DAT_SetPartyMode(true);
             DIS_SendEconomyMode(true);
         },
         {{1, 1, 220, {}}, {1, 1, 204, {}}},
         [] { return DAT_GetEconomyMode() && !DAT_GetPartyMode(); }},
        {"economy off",
         [] {
             DAT_SetEconomyMode(true);
             DIS_SendEconomyMode(false);
         },
         {{1, 1, 221, {}}},
         [] { return !DAT_GetEconomyMode(); }},
        {"room set temperature",
         [] { DIS_SendRoomSetTemp(22); },
         {{1, 1, 205, {22}}},
         [] { return DAT_GetRoomSetTemp() == 22 && DAT_ReadByte(DatBlock::Circuit1, 9) == 22; }},
        {"reduced room set temperature",
         [] { DIS_SendRoomSetTempReduced(15); },
         {{1, 1, 206, {15}}},
         [] { return DAT_GetRoomSetTempReduced() == 15; }},
        {"party set temperature",
         [] { DIS_SendPartySetTemp(24); },
         {{1, 1, 207, {24}}},
         [] { return DAT_GetPartySetTemp() == 24; }},
        {"hot-water set temperature",
         [] { DIS_SendDhwSetTemp(55); },
         {{1, 1, 208, {55}}},
         [] { return DAT_GetDhwSetTemp() == 55; }},
        {"settings byte 0",
         [] { DIS_SendSettingsValue(7); },
         {{1, 1, 209, {7}}},
         [] { return DAT_ReadByte(DatBlock::Settings, 0) == 7; }},
        {"heating-curve slope",
         [] { DIS_SendHeatingCurveSlope(12); },
         {{1, 1, 210, {12}}},
         [] { return DAT_GetHeatingCurveSlope() == 12; }},
        {"heating-curve level",
         [] { DIS_SendHeatingCurveLevel(-5); },
         {{1, 1, 211, {0xFB}}},
         [] { return DAT_GetHeatingCurveLevel() == -5; }},
        {"hot-water program automatic",
         [] { DIS_SendDhwTimeProgramAuto(true); },
         {{1, 1, 215, {}}},
         [] { return DAT_GetFlag(DatFlag::DhwTimeProgramAuto); }},
        {"hot-water program individual",
         [] { DIS_SendDhwTimeProgramAuto(false); },
         {{1, 1, 237, {}}},
         [] { return !DAT_GetFlag(DatFlag::DhwTimeProgramAuto); }},
        {"circulation program automatic",
         [] { DIS_SendCirculationTimeProgramAuto(true); },
         {{1, 1, 216, {}}},
         [] { return DAT_GetFlag(DatFlag::CirculationTimeProgramAuto); }},
        {"circulation program individual",
         [] { DIS_SendCirculationTimeProgramAuto(false); },
         {{1, 1, 238, {}}},
         [] { return !DAT_GetFlag(DatFlag::CirculationTimeProgramAuto); }},
        {"holiday start",
         [] { DIS_SendHolidayStart(DEPARTURE); },
         {{1, 1, 217, {0xFF, 0x1E, 0x58, 0x6A}}},
         [] {
             return DAT_GetHolidayStart() == DEPARTURE &&
                    DAT_ReadU32(DatBlock::Circuit1, 14) == 0x0F0707EA;
         }},
        {"holiday end",
         [] { DIS_SendHolidayEnd(RETURN_DAY); },
         {{1, 1, 218, {0x00, 0x4E, 0x65, 0x6A}}},
         [] {
             return DAT_GetHolidayEnd() == RETURN_DAY && DAT_GetHolidayEndPacked() == 0x1A0707EA;
         }},
        {"holiday delete",
         [] {
             DAT_SetHolidayStart(DEPARTURE);
             DAT_SetFlag(DatFlag::HolidayActive, true);
             DIS_SendHolidayDelete();
         },
         {{1, 1, 219, {}}},
         [] {
             return DAT_GetHolidayStartPacked() == DAT_NO_DATE &&
                    DAT_GetHolidayEndPacked() == DAT_NO_DATE && DAT_GetHolidayStart() == 0 &&
                    !DAT_GetFlag(DatFlag::HolidayActive);
         }},
        {"circuit basic setting",
         [] { DIS_SendCircuitBasicSetting(); },
         {{1, 1, 229, {1}}},
         Always},
        {"factory setting of the codings",
         [] { DIS_SendCodingFactorySetting(); },
         {{1, 1, 229, {2}}},
         Always},
        {"time-program basic setting",
         [] { DIS_SendTimeProgramBasicSetting(2, TimeProgram::Circulation, 0x15); },
         {{1, 2, 229, {5, 0x15}}},
         Always},
        {"solar energy reset",
         [] { DIS_SendSolarCounterReset(8); },
         {{17, 0, 229, {8}}},
         [] { return DAT_GetSolarEnergy() == 0 && DAT_GetSolarPumpHours() == 600; }},
        {"solar pump hours reset",
         [] { DIS_SendSolarCounterReset(7); },
         {{17, 0, 229, {7}}},
         [] { return DAT_GetSolarPumpHours() == 0 && DAT_GetSolarEnergy() == 1260; }},
        {"solar pump starts reset",
         [] { DIS_SendSolarCounterReset(12); },
         {{17, 0, 229, {12}}},
         [] { return DAT_GetSolarPumpStarts() == 0; }},
        {"night circulation reset",
         [] {
             DAT_Block(DatBlock::SolarStats)[0] = 9;
             DIS_SendSolarCounterReset(13);
         },
         {{17, 0, 229, {13}}},
         [] { return DAT_GetNightCirculationCount() == 0; }},
        {"operating brightness",
         [] { DIS_SendBrightness(BrightnessKind::Operation, 150); },
         {{1, 1, 252, {1, 150}}},
         [] { return DAT_GetBrightnessOperation() == 150; }},
        {"idle brightness",
         [] { DIS_SendBrightness(BrightnessKind::Idle, 9); },
         {{1, 1, 252, {0, 9}}},
         [] { return DAT_GetBrightnessIdle() == 9; }},
        {"time",
         [] {
             DAT_SetFlag(DatFlag::ClockMustBeSet, true);
             DIS_SendTime(0x6A000000);
         },
         {{2, 1, 212, {0, 0, 0, 0x6A}}},
         [] {
             return DAT_GetClockSeconds() == 0x6A000000 && !DAT_GetFlag(DatFlag::ClockMustBeSet);
         }},
        {"date",
         [] { DIS_SendDate(0x6A000001); },
         {{2, 1, 213, {1, 0, 0, 0x6A}}},
         [] { return DAT_GetClockSeconds() == 0x6A000001; }},
        {"fan speed",
         [] { DIS_SendFanSpeed(2, FanMode::Preview, 70); },
         {{2, 1, 250, {2, 85, 70}}},
         [] { return DAT_GetFanSpeed(2) == 70 && DAT_GetFanSpeed(1) == 0x20; }},
        {"burner starts reset",
         [] { DIS_SendCounterReset(StatisticsCounter::BurnerStarts); },
         {{0, 1, 226, {}}},
         [] { return DAT_GetBurnerStarts() == 0 && DAT_GetOperatingHoursStage1() == 900; }},
        {"fuel reset",
         [] { DIS_SendCounterReset(StatisticsCounter::FuelConsumption); },
         {{0, 1, 223, {}}},
         [] { return DAT_GetFuelConsumption() == 0; }},
        {"hours stage 1 reset",
         [] { DIS_SendCounterReset(StatisticsCounter::HoursStage1); },
         {{0, 1, 224, {}}},
         [] { return DAT_GetOperatingHoursStage1() == 0; }},
        {"hours stage 2 reset",
         [] { DIS_SendCounterReset(StatisticsCounter::HoursStage2); },
         {{0, 1, 225, {}}},
         [] { return DAT_GetOperatingHoursStage2() == 0; }},
        {"statistics byte 1 reset",
         [] { DIS_SendCounterReset(StatisticsCounter::Offset1); },
         {{0, 1, 227, {}}},
         [] {
             return DAT_ReadByte(DatBlock::Statistics, 1) == 0 && DAT_GetFuelConsumption() == 3248;
         }},
        {"damped outside temperature reset",
         [] { DIS_SendDampedOutsideTempReset(); },
         {{0, 1, 232, {}}},
         Always},
        {"fault acknowledgement",
         [] {
             DAT_EnterPanelFault(7);
             DIS_SendFaultAck(3);
         },
         {{0, 1, 235, {3}}},
         [] { return !DAT_GetFaultPresent() && DAT_GetFaultAckHold() == 5; }},
        {"maintenance reset",
         [] {
             DAT_SetMaintenanceDue(true);
             DAT_SetFlag(DatFlag::MaintenanceByHours, true);
             DAT_SetFlag(DatFlag::MaintenanceByInterval, true);
             DIS_SendMaintenanceAck(170);
         },
         {{0, 1, 242, {170}}},
         [] {
             return !DAT_GetMaintenanceDue() && !DAT_MaintenanceFlagged() &&
                    DAT_GetMaintAckHold() == 5;
         }},
        {"maintenance acknowledgement",
         [] {
             DAT_SetMaintenanceDue(true);
             DAT_SetFlag(DatFlag::MaintenanceByHours, true);
             DIS_SendMaintenanceAck(1);
         },
         {{0, 1, 242, {1}}},
         [] { return !DAT_GetMaintenanceDue() && DAT_MaintenanceFlagged(); }},
        {"clear fault history", [] { DIS_SendClearFaultHistory(); }, {{12, 0, 239, {}}}, Always},
        {"announcement",
         [] { DIS_SendAnnouncement(0x1234, 1, 2); },
         {{10, 0, 240, {0x34, 0x12, 1, 2, 0}}},
         Always},
        {"display settings",
         [] {
             DAT_SetDisplayContrast(33);
             DIS_SendDisplaySettings();
         },
         {{15, 0, 234, {3, 33, 0, 85, 0}}},
         Always},
        {"filling on",
         [] { DIS_SendTestFunction(FN_FILLING, true); },
         {{15, 0, 247, {13, 255}}},
         [] { return DAT_GetFlag(DatFlag::FillingActive); }},
        {"venting off",
         [] {
             DAT_SetFlag(DatFlag::VentingActive, true);
             DIS_SendTestFunction(FN_VENTING, false);
         },
         {{15, 0, 247, {14, 0}}},
         [] { return !DAT_GetFlag(DatFlag::VentingActive); }},
        {"flue-gas test on",
         [] { DIS_SendTestFunction(FN_FLUE_GAS, true); },
         {{15, 0, 247, {1, 255}}},
         [] { return DAT_GetFlag(DatFlag::FlueGasTestActive); }},
        {"commissioning off",
         [] {
             DAT_SetFlag(DatFlag::CommissioningRequired, true);
             DIS_SendTestFunction(FN_COMMISSIONING, false);
         },
         {{15, 0, 247, {4, 0}}},
         [] { return !DAT_GetFlag(DatFlag::CommissioningRequired); }},
        {"Fahrenheit",
         [] { DIS_SendTestFunction(FN_FAHRENHEIT, true); },
         {{15, 0, 247, {12, 255}}},
         [] { return DAT_GetTempUnitFahrenheit(); }},
        {"service pin", [] { DIS_SendServicePin(); }, {{15, 0, 245, {}}}, Always},
        {"heat output stored",
         [] { DIS_SendHeatOutput(HeatOutputMode::Store, 60); },
         {{15, 0, 248, {60, 170}}},
         [] { return DAT_GetHeatOutput() == 60; }},
        {"heat output preview",
         [] { DIS_SendHeatOutput(HeatOutputMode::Preview, 61); },
         {{15, 0, 248, {61, 85}}},
         [] { return DAT_GetHeatOutput() == 68; }},
        {"participant check",
         [] { DIS_SendParticipantCommand(ParticipantCommand::Check, 3, 9); },
         {{16, 0, 243, {3, 0, 0, 0, 9}}},
         Always},
        {"actuator test", [] { DIS_SendActuatorTest(194); }, {{13, 0, 222, {194}}}, Always},
        {"coding write",
         [] {
             const uint8_t entry[] = {2,    0x21, 5,  0,
                                      0xF6, 0xFF, 10, 0}; // group 2, address 0x21, value 5
             std::copy(std::begin(entry), std::end(entry),
                       DAT_Block(DatBlock::Coding).begin() + 17);
             DIS_SendCodingWrite(2, 1, 0x21, -3, 0);
         },
         {{14, 0, 228, {0x21, 0x21, 0xFD, 0xFF, 0xFF}}},
         [] {
             return DAT_GetCodingEntryValue() == -3 && DAT_ReadByte(DatBlock::Coding, 19) == 0xFD;
         }},
        {"coding read",
         [] { DIS_SendCodingRead(2, 1, 0x22, 1); },
         {{14, 0, 230, {0x21, 0x22, 0, 0, 1}}},
         [] {
             return DAT_GetCodingRequest().address == 0x22 && DAT_GetCodingRequest().direction == 1;
         }},
        {"switching time, weekend",
         [] { DIS_SendSwitchingTime(PhaseEdge::Off, 1, TP_PERIOD_WEEKEND, TimeProgram::Dhw, 132); },
         {{8, 1, 214, {1, 1, 0x67, 0, 1, 0, 0, 0, 0xB0}}},
         Always},
        {"switching time, unused phase",
         [] { DIS_SendSwitchingTime(PhaseEdge::On, 3, 0, TimeProgram::Heating, 255); },
         {{3, 1, 214, {0, 3, 0, 0, 0, 0, 0, 0, 0xFF}}},
         Always},
        {"switching time, Sunday, circuit 2",
         [] {
             DAT_SelectCircuit(2);
             DIS_SendSwitchingTime(PhaseEdge::On, 0, 7, TimeProgram::Circulation, 0);
         },
         {{9, 2, 214, {0, 0, 7, 0, 2, 0, 0, 0, 0}}},
         Always},
    };
    return cases;
}

class Commands : public PoolFixture {};

TEST_F(Commands, EachBuilderChangesThePoolAndQueuesItsCommand)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        DAT_ClearAll(1);
        DIS_InitLink();
        TXT_SetLanguage(0);
        c.act();
        EXPECT_TRUE(c.localChange()) << "local change";
        ASSERT_EQ(DIS_QueueCount(), c.queued.size());
        for (size_t i = 0; i < c.queued.size(); ++i) {
            const std::span<const uint8_t> e = DIS_QueuedEntry(static_cast<uint8_t>(i));
            const Cmd& x = c.queued[i];
            // The switching time travels long, so that its time byte reaches the controller.
            EXPECT_EQ(e[0], x.code == 214 ? DIS_LONG_BLOCK : DIS_OWN_BLOCK);
            EXPECT_EQ(e[1] >> 3, x.message) << "entry " << i;
            EXPECT_EQ(e[2], x.circuit) << "entry " << i;
            EXPECT_EQ(e[3], x.code) << "entry " << i;
            std::vector<uint8_t> params(e.begin() + 4, e.begin() + DIS_TX_BUILDER_SIZE);
            std::vector<uint8_t> expected = x.params;
            expected.resize(DIS_TX_BUILDER_SIZE - 4, 0);
            EXPECT_EQ(params, expected) << "entry " << i;
        }
    }
}

TEST_F(Commands, ACommandMarksItsSlotAndItsCircuitSlot)
{
    DAT_SelectCircuit(2);
    DIS_SendRoomSetTemp(21);
    EXPECT_EQ(DIS_SlotState(DIS_CircuitSlot(1, 2)), SLOT_QUEUED);
    EXPECT_EQ(DIS_SlotState(1), SLOT_QUEUED) << "the base slot mirrors the selected circuit";
    EXPECT_EQ(DIS_SlotState(DIS_CircuitSlot(1, 1)), SLOT_IDLE);
    DIS_SendNext();
    EXPECT_EQ(DIS_SlotState(DIS_CircuitSlot(1, 2)), SLOT_WAITING);
    EXPECT_EQ(DIS_RequestBuffer()[3], 205);
    EXPECT_EQ(DIS_RequestBuffer()[4], 21);
}

TEST_F(Commands, TheNextCommandWaitsForTheAnswerToTheStandingOne)
{
    DIS_SendRoomSetTemp(21);
    DIS_SendDhwSetTemp(45);
    DIS_SendNext();
    DIS_SendNext();
    EXPECT_EQ(DIS_RequestBuffer()[3], 205) << "not answered yet";
    EXPECT_EQ(DIS_QueueCount(), 1);
    Answer(1, std::vector<uint8_t>(28, 1));
    DIS_SendNext();
    EXPECT_EQ(DIS_RequestBuffer()[3], 208);
}

TEST_F(Commands, ALabelTravelsInTwoLongEntries)
{
    TXT_SetLanguage(4);
    DIS_SendCircuitLabel(2, "Wintergarten Süd");
    char text[61];
    EXPECT_GT(DAT_GetCircuitLabel(117, text, sizeof text), 0) << "stored locally first";
    EXPECT_STREQ(text, "Wintergarten Süd");
    ASSERT_EQ(DIS_QueueCount(), 2);
    const std::span<const uint8_t> a = DIS_QueuedEntry(0);
    const std::span<const uint8_t> b = DIS_QueuedEntry(1);
    EXPECT_EQ(a[0], 35);
    EXPECT_EQ(a[1], 25 << 3 | 2);
    EXPECT_EQ(b[1], 25 << 3 | 3) << "each entry takes the next sequence number";
    EXPECT_EQ(a[2], 2);
    EXPECT_EQ(a[3], 2);
    EXPECT_EQ(b[3], 3);
    EXPECT_EQ(a[4], 10);
    EXPECT_EQ(b[4], 6);
    EXPECT_EQ(a[5], 'W');
    EXPECT_EQ(a[6], 0);
    EXPECT_EQ(b[5], 'e');
    EXPECT_EQ(b[5 + 2 * 4], 0xFC) << "ü in UTF-16";
    EXPECT_EQ(b[5 + 2 * 6], 0);
    EXPECT_EQ(a[29], 4);
    EXPECT_EQ(b[29], 4);
    EXPECT_EQ(DIS_SlotState(25), SLOT_QUEUED + 1);

    DIS_SendNext();
    EXPECT_EQ(DIS_LongBuffer()[0], 35);
    EXPECT_EQ(DIS_LongBuffer()[5], 'W');
    EXPECT_EQ(DIS_RequestBuffer()[1], 25 << 3 | 2)
        << "header and circuit copied for the controller";
    EXPECT_EQ(DIS_RequestBuffer()[2], 2);
    const std::vector<uint8_t> read = BUS_ReadBytes(0x00, 32);
    EXPECT_EQ(read[0], 30) << "block 35 is armed";
    EXPECT_EQ(read[1], 35);
    TXT_SetLanguage(0);
}

} // namespace
