// Every command of the catalogue, sent by the panel's own command builders, applied by the
// emulator and seen in the answers that follow: the panel's local copy is spoiled after the
// command, so only the controller's next message can bring the value back.
#include <cctype>
#include <functional>

#include "controller/controller_fixture.h"
#include "data/timeprog.h"
#include "display/text.h"

namespace {

struct Case {
    const char* name;
    std::function<void()> act;     // on the panel, after communication start
    const char* report;            // part of what the emulator reports
    std::function<void()> spoil;   // the panel's local copy changed behind its back
    std::vector<uint8_t> requests; // slots asked for again after the command
    std::function<bool()> seen;    // through the data pool, once the answers are in
};

constexpr uint32_t DEPARTURE = 20649u * 86400 + 86399;      // 15 July 2026 23:59:59
constexpr uint32_t RETURN_DAY = 20660u * 86400;             // 26 July 2026 00:00:00
constexpr uint32_t NOON = 1767607200u + 2 * 3600 + 34 * 60; // 2026-01-05 12:34:00

void nothing() {}
bool always() { return true; }
void setStatistics(size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        DAT_Block(DatBlock::Statistics)[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}
std::string label(TextId id)
{
    char text[61] = {};
    DAT_GetCircuitLabel(id, text, sizeof text);
    return text;
}

const std::vector<Case>& cases()
{
    static const std::vector<Case> all{
        {"standby",
         [] { DIS_SendOperatingProgram(OperatingProgram::Standby); },
         "200 circuit 1: operating programme standby",
         [] { DAT_SetOperatingProgram(3); },
         {1},
         [] { return DAT_GetOperatingProgram() == 5; }},
        {"only hot water",
         [] { DIS_SendOperatingProgram(OperatingProgram::OnlyHotWater); },
         "201 circuit 1: operating programme only hot water",
         [] { DAT_SetOperatingProgram(3); },
         {1},
         [] { return DAT_GetOperatingProgram() == 0; }},
        {"heating and hot water",
         [] { DIS_SendOperatingProgram(OperatingProgram::HeatingAndHotWater); },
         "202 circuit 1: operating programme heating and hot water",
         [] { DAT_SetOperatingProgram(5); },
         {1},
         [] { return DAT_GetOperatingProgram() == 3 && !DAT_GetEconomyMode(); }},
        {"party mode, circuit 2",
         [] {
             DAT_SelectCircuit(2);
             DIS_SendPartyMode(true);
         },
         "203 circuit 2: party mode on",
         [] { DAT_SetPartyMode(false); },
         {1},
         [] { return DAT_GetPartyMode() && !DAT_GetEconomyMode(); }},
        {"economy mode ends party mode",
         [] {
             DIS_SendPartyMode(true);
             DIS_SendEconomyMode(true);
         },
         "220 circuit 1: economy mode on",
         [] {
             DAT_SetEconomyMode(false);
             DAT_SetPartyMode(true);
         },
         {1},
         [] { return DAT_GetEconomyMode() && !DAT_GetPartyMode(); }},
        {"room set temperature",
         [] { DIS_SendRoomSetTemp(23); },
         "205 circuit 1: room set temperature 23",
         [] { DAT_SetRoomSetTemp(5); },
         {1},
         [] { return DAT_GetRoomSetTemp() == 23; }},
        {"room set temperature beyond the limits",
         [] { DIS_SendRoomSetTemp(60); },
         "room set temperature 37 (60 is outside 3..37)",
         [] { DAT_SetRoomSetTemp(5); },
         {1},
         [] { return DAT_GetRoomSetTemp() == 37; }},
        {"reduced room set temperature",
         [] { DIS_SendRoomSetTempReduced(16); },
         "206 circuit 1: reduced room set temperature 16",
         [] { DAT_SetRoomSetTempReduced(3); },
         {1},
         [] { return DAT_GetRoomSetTempReduced() == 16; }},
        {"party room set temperature",
         [] { DIS_SendPartySetTemp(25); },
         "207 circuit 1: party room set temperature 25",
         [] { DAT_SetPartySetTemp(20); },
         {1},
         [] { return DAT_GetPartySetTemp() == 25; }},
        {"hot-water set temperature",
         [] { DIS_SendDhwSetTemp(45); },
         "208 circuit 1: hot-water set temperature 45",
         [] { DAT_SetDhwSetTemp(50); },
         {1},
         [] { return DAT_GetDhwSetTemp() == 45; }},
        {"settings value",
         [] { DIS_SendSettingsValue(7); },
         "209 circuit 1: settings value 7",
         [] { DAT_Block(DatBlock::Settings)[0] = 0; },
         {1},
         [] { return DAT_ReadByte(DatBlock::Settings, 0) == 7; }},
        {"heating-curve slope",
         [] { DIS_SendHeatingCurveSlope(22); },
         "210 circuit 1: heating-curve slope 22 tenths",
         [] { DAT_SetHeatingCurveSlope(14); },
         {1},
         [] { return DAT_GetHeatingCurveSlope() == 22; }},
        {"heating-curve level",
         [] { DIS_SendHeatingCurveLevel(-5); },
         "211 circuit 1: heating-curve level -5",
         [] { DAT_SetHeatingCurveLevel(0); },
         {1},
         [] { return DAT_GetHeatingCurveLevel() == -5; }},
        {"hot-water time program individual",
         [] { DIS_SendDhwTimeProgramAuto(false); },
         "237 circuit 1: hot-water time program individual",
         [] { DAT_SetFlag(DatFlag::DhwTimeProgramAuto, true); },
         {1},
         [] { return !DAT_GetFlag(DatFlag::DhwTimeProgramAuto); }},
        {"circulation time program automatic",
         [] {
             DIS_SendCirculationTimeProgramAuto(false);
             DIS_SendCirculationTimeProgramAuto(true);
         },
         "216 circuit 1: circulation time program automatic",
         [] { DAT_SetFlag(DatFlag::CirculationTimeProgramAuto, false); },
         {1},
         [] { return DAT_GetFlag(DatFlag::CirculationTimeProgramAuto); }},
        {"holiday programme",
         [] {
             DIS_SendHolidayStart(DEPARTURE);
             DIS_SendHolidayEnd(RETURN_DAY);
         },
         "218 circuit 1: holiday return 26.07.2026",
         [] { DAT_ClearHoliday(); },
         {1},
         [] {
             return DAT_GetHolidayStartPacked() == 0x0F0707EA &&
                    DAT_GetHolidayEndPacked() == 0x1A0707EA && DAT_GetFlag(DatFlag::HolidayActive);
         }},
        {"holiday programme deleted",
         [] {
             DIS_SendHolidayStart(DEPARTURE);
             DIS_SendHolidayDelete();
         },
         "219 circuit 1: holiday programme deleted",
         [] { DAT_SetHolidayStart(DEPARTURE); },
         {1},
         [] {
             return DAT_GetHolidayStartPacked() == DAT_NO_DATE &&
                    !DAT_GetFlag(DatFlag::HolidayActive);
         }},
        {"basic setting of a circuit",
         [] {
             DIS_SendRoomSetTemp(25);
             DIS_SendHeatingCurveSlope(30);
             DIS_SendCircuitBasicSetting();
         },
         "229 circuit 1: basic setting of the circuit",
         nothing,
         {1},
         [] { return DAT_GetRoomSetTemp() == 20 && DAT_GetHeatingCurveSlope() == 14; }},
        {"time program basic setting",
         // The change mask makes the panel fetch the seven days again by itself.
         [] {
             DAT_SetSwitchingTime(0, TimeProgram::Dhw, 4, 1, PhaseEdge::On, 100);
             DIS_SendTimeProgramBasicSetting(1, TimeProgram::Dhw, 0);
         },
         "229 circuit 1: hot-water time program basic setting Mo-So",
         nothing,
         {},
         [] {
             return DAT_GetSwitchingTime(0, TimeProgram::Dhw, 4, 1, PhaseEdge::On) == TP_UNUSED;
         }},
        {"switching time",
         [] {
             DIS_SendSwitchingTime(PhaseEdge::Off, 0, TP_PERIOD_WORKDAYS, TimeProgram::Heating,
                                   120);
         },
         "214 circuit 1: heating time program Mo-Fr phase 1 off 20:00",
         [] { DAT_SetSwitchingTime(0, TimeProgram::Heating, 3, 0, PhaseEdge::Off, 132); },
         {6},
         [] {
             return DAT_GetSwitchingTime(0, TimeProgram::Heating, 3, 0, PhaseEdge::Off) == 120 &&
                    DAT_GetSwitchingTime(0, TimeProgram::Heating, 5, 0, PhaseEdge::Off) == 132;
         }},
        {"operating brightness",
         [] { DIS_SendBrightness(BrightnessKind::Operation, 120); },
         "252 circuit 1: brightness operation 120",
         [] { DAT_SetBrightnessOperation(50); },
         {1},
         [] { return DAT_GetBrightnessOperation() == 120; }},
        {"solar counter reset",
         [] { DIS_SendSolarCounterReset(8); },
         "229: solar energy reset",
         [] {
             for (int i = 0; i < 4; ++i)
                 DAT_Block(DatBlock::Solar)[i] = 0x55;
         },
         {17},
         [] { return DAT_GetSolarEnergy() < 5; }},
        {"time",
         [] { DIS_SendTime(NOON); },
         "212 circuit 1: time set: 12:34:00 05.01.2026",
         [] { DAT_SetClockSeconds(0); },
         {2},
         [] { return DAT_GetClockSeconds() >= NOON && DAT_GetClockSeconds() < NOON + 30; }},
        {"fan speed stored",
         [] { DIS_SendFanSpeed(1, FanMode::Store, 40); },
         "250 circuit 1: fan speed stage 1 stored 40",
         [] { DAT_SetFanSpeed(1, 10); },
         {2},
         [] { return DAT_GetFanSpeed(1) == 40; }},
        {"fan speed preview cancelled",
         [] {
             DIS_SendFanSpeed(2, FanMode::Preview, 90);
             DIS_SendFanSpeed(2, FanMode::Cancel, 90);
         },
         "250 circuit 1: fan speed stage 2 cancelled, back to 77",
         nothing,
         {2},
         [] { return DAT_GetFanSpeed(2) == 77; }},
        {"burner starts reset",
         [] { DIS_SendCounterReset(StatisticsCounter::BurnerStarts); },
         "226 circuit 1: burner starts reset",
         [] { setStatistics(14, 9999); },
         {0},
         [] { return DAT_GetBurnerStarts() < 5; }},
        {"operating hours reset",
         [] { DIS_SendCounterReset(StatisticsCounter::HoursStage1); },
         "224 circuit 1: operating hours stage 1 reset",
         [] { setStatistics(6, 9999); },
         {0},
         [] { return DAT_GetOperatingHoursStage1() == 0; }},
        {"fuel consumption reset",
         [] { DIS_SendCounterReset(StatisticsCounter::FuelConsumption); },
         "223 circuit 1: fuel consumption reset",
         [] { setStatistics(2, 9999); },
         {0},
         [] { return DAT_GetFuelConsumption() < 5; }},
        {"damped outside temperature reset",
         [] { DIS_SendDampedOutsideTempReset(); },
         "232 circuit 1: damped outside temperature reset",
         nothing,
         {},
         always},
        {"fault acknowledged",
         [] {
             CTL_InjectFault(0x30);
             DIS_SendFaultAck(85);
         },
         "235 circuit 1: 1 fault(s) acknowledged (parameter 85)",
         [] { DAT_Block(DatBlock::FaultList)[0] = 0x30; },
         {22},
         [] { return DAT_ReadByte(DatBlock::FaultList, 0) == 0 && !DAT_GetFaultPresent(); }},
        {"maintenance reset",
         [] {
             CTL_InjectMaintenance();
             DIS_SendMaintenanceAck(DIS_MAINTENANCE_RESET);
         },
         "242 circuit 1: maintenance reset: 5500 burner hours, 8 months",
         [] { DAT_Block(DatBlock::Statistics)[19] = 0; },
         {0},
         [] {
             return DAT_GetMaintenanceHours() == 5500 && !DAT_GetMaintenanceDue() &&
                    !DAT_MaintenanceFlagged();
         }},
        {"fault history cleared",
         [] {
             CTL_InjectFault(0x50);
             DIS_SendClearFaultHistory();
         },
         "239: fault history cleared",
         [] { DAT_Block(DatBlock::FaultHistory)[0] = 0x50; },
         {23, 22},
         [] {
             return DAT_ReadByte(DatBlock::FaultHistory, 0) == 0 &&
                    DAT_ReadByte(DatBlock::FaultList, 0) == 0x50;
         }},
        {"display settings",
         [] {
             DAT_SetDisplayContrast(44);
             TXT_SetLanguage(2);
             DIS_SendDisplaySettings();
             TXT_SetLanguage(0);
         },
         "234: display settings: contrast 44, language 2",
         [] { DAT_TakeDisplaySettings(10, 0); },
         {2},
         [] { return DAT_GetDisplayContrast() == 44 && DAT_GetLanguageIndex() == 2; }},
        {"service pin",
         [] { DIS_SendServicePin(); },
         "245: service-pin message",
         nothing,
         {},
         always},
        {"flue-gas test",
         [] { DIS_SendTestFunction(FN_FLUE_GAS, true); },
         "247: flue-gas test on",
         [] { DAT_SetFlag(DatFlag::FlueGasTestActive, false); },
         {},
         [] { return DAT_GetFlag(DatFlag::FlueGasTestActive); }},
        {"filling",
         [] { DIS_SendTestFunction(FN_FILLING, true); },
         "247: filling on",
         [] { DAT_SetFlag(DatFlag::FillingActive, false); },
         {},
         [] { return DAT_GetFlag(DatFlag::FillingActive); }},
        {"venting on and off",
         [] {
             DIS_SendTestFunction(FN_VENTING, true);
             DIS_SendTestFunction(FN_VENTING, false);
         },
         "247: venting off",
         [] { DAT_SetFlag(DatFlag::VentingActive, true); },
         {},
         [] { return !DAT_GetFlag(DatFlag::VentingActive); }},
        {"temperature unit",
         [] { DIS_SendTestFunction(FN_FAHRENHEIT, true); },
         "247: temperature unit Fahrenheit",
         [] { DAT_SetTempUnitFahrenheit(false); },
         {},
         [] { return DAT_GetTempUnitFahrenheit(); }},
        {"commissioning finished",
         [] {
             CTL_InjectCommissioning();
             DIS_SendTestFunction(FN_COMMISSIONING, false);
         },
         "247: commissioning finished",
         [] { DAT_SetFlag(DatFlag::CommissioningRequired, true); },
         {},
         [] {
             return !DAT_GetFlag(DatFlag::CommissioningRequired) &&
                    !DAT_GetFlag(DatFlag::CommissioningPending);
         }},
        {"heat output",
         [] { DIS_SendHeatOutput(HeatOutputMode::Store, 60); },
         "248: heat output stored 60 %",
         nothing,
         {},
         always},
        {"participant list",
         [] { DIS_SendParticipantCommand(ParticipantCommand::Check, 1, 0); },
         "243: participant 1 at address 01",
         nothing,
         {},
         [] { return DAT_GetParticipantNumber() == 1 && DAT_GetParticipantAddress() == 1; }},
        {"participant list ends",
         [] { DIS_SendParticipantCommand(ParticipantCommand::Check, 3, 0x15); },
         "243: participant list complete",
         nothing,
         {},
         [] { return DAT_GetParticipantNumber() == 255; }},
        {"participant checked",
         [] {
             DIS_SendParticipantCommand(ParticipantCommand::Check, 4, 0x0A);
             DIS_SendDataRequest(15);
         },
         "243: participant at address 0A checked: answers",
         nothing,
         {},
         [] { return DAT_GetParticipantCheckResult() < 254 && DAT_GetActuatorCode(0) == 0xC2; }},
        {"participant without answer",
         [] {
             DIS_SendParticipantCommand(ParticipantCommand::Check, 4, 0x15);
             DIS_SendDataRequest(15);
         },
         "243: participant at address 15 checked: no answer",
         nothing,
         {},
         [] { return DAT_GetParticipantCheckResult() >= 254; }},
        {"actuator test",
         [] {
             DIS_SendActuatorTest(0);
             DIS_SendActuatorTest(0xC2);
         },
         "222: actuator C2 driven",
         [] { DAT_SetActuatorTestActive(false); },
         {},
         [] { return DAT_GetActuatorTestActive(); }},
        {"actuator test ended",
         [] {
             DIS_SendActuatorTest(0);
             DIS_SendActuatorTest(1);
             DIS_SendActuatorTest(0);
         },
         "222: actuator test ended",
         [] { DAT_SetActuatorTestActive(true); },
         {},
         [] { return !DAT_GetActuatorTestActive(); }},
        {"coding read skips to the next address",
         [] { DIS_SendCodingRead(3, 1, 0x81, 1); },
         "230: coding read 3/81: 8F = 0",
         nothing,
         {},
         [] { return DAT_GetCodingEntryAddress() == 0x8F && DAT_GetCodingEntryMax() == 2; }},
        {"coding write",
         [] { DIS_SendCodingWrite(3, 1, 0x8F, 1, 1); },
         "228: coding write 3/8F = 1",
         nothing,
         {},
         [] { return DAT_GetCodingEntryValue() == 1 && DAT_GetOperatingLockLevel() == 1; }},
        {"coding write beyond the limits",
         [] { DIS_SendCodingWrite(3, 1, 0x8F, 5, 1); },
         "228: coding write 3/8F = 5 refused: limits 0..2, keeps 0",
         nothing,
         {},
         [] { return DAT_GetCodingEntryValue() == 0; }},
        {"circuit label",
         [] { DIS_SendCircuitLabel(1, "Wintergarten Süd"); },
         "label circuit 1: label half 2: \"Wintergarten Süd\" (language 0)",
         [] { DAT_ClearCircuitLabel(TXT_HEIZKREIS_1); },
         {25},
         [] { return label(TXT_HEIZKREIS_1) == "Wintergarten Süd"; }},
    };
    return all;
}

class EveryCommand : public ControllerPanel, public ::testing::WithParamInterface<size_t> {};

TEST_P(EveryCommand, IsAppliedAndShowsInTheAnswersThatFollow)
{
    const Case& c = cases()[GetParam()];
    startToBasicDisplay();
    DAT_SelectCircuit(1);
    c.act();
    run(3000);
    EXPECT_TRUE(reported(c.report)) << allReports();
    c.spoil();
    for (uint8_t slot : c.requests)
        DIS_Request(slot);
    run(15000);
    EXPECT_TRUE(c.seen()) << "not seen in the answers";
    EXPECT_FALSE(log.contains("FATAL"));
}

std::string caseName(const ::testing::TestParamInfo<size_t>& info)
{
    std::string name;
    for (const char* p = cases()[info.param].name; *p != 0; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryCommand, ::testing::Range<size_t>(0, cases().size()),
                         caseName);

// Every data request is answered with its message, the messages without content too, so no
// slot is left waiting.
TEST_F(ControllerPanel, EveryDataRequestIsAnswered)
{
    startToBasicDisplay();
    const uint8_t unknownBefore = DIS_UnknownMessageCount();
    for (uint8_t m = 0; m < DIS_MESSAGES; ++m)
        DIS_SendDataRequest(m, m == 25 ? 1 : 0);
    run(20000);
    EXPECT_TRUE(linkQuiet());
    EXPECT_EQ(DIS_UnknownMessageCount() - unknownBefore, 5) << "messages 11, 12, 19, 20, 21";
}

TEST_F(ControllerPanel, AnUnknownCommandIsAnsweredAllTheSame)
{
    startToBasicDisplay();
    std::array<uint8_t, DIS_TX_BUILDER_SIZE> entry{DIS_OWN_BLOCK, 1 << 3 | 7, 1, 199};
    DIS_Queue(entry);
    DIS_SendRoomSetTemp(22);
    run(3000);
    EXPECT_TRUE(reported("199 circuit 1: unknown command on message 1, answered only"))
        << allReports();
    EXPECT_TRUE(reported("205 circuit 1: room set temperature 22")) << "the link goes on";
    EXPECT_TRUE(linkQuiet());
}

} // namespace
