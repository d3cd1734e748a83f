// Command builders: each makes its local change in the data pool, then builds its command in
// the TxBuilder and queues it.
#include <algorithm>
#include <cstring>

#include "base/utf8.h"
#include "data/datapool.h"
#include "display/text.h"
#include "kernel/evt.h"
#include "link/link_state.h"

namespace {

LinkState& link = linkState;

uint8_t nextSequence()
{
    link.txSequence = link.txSequence >= 7 ? 1 : static_cast<uint8_t>(link.txSequence + 1);
    return link.txSequence;
}

// Circuit messages go to the selected circuit, the others carry circuit 0.
uint8_t circuitFor(uint8_t message)
{
    return DIS_IsCircuitMessage(message) || DIS_IsTimeProgramMessage(message)
               ? DAT_GetSelectedCircuit()
               : 0;
}

// Starts a command in the TxBuilder; the parameters from byte 4 are zero until set.
uint8_t* begin(uint8_t message, uint8_t circuit, uint8_t code)
{
    link.txBuilder.fill(0);
    link.txBuilder[0] = DIS_OWN_BLOCK;
    link.txBuilder[1] = DIS_Header(message, nextSequence());
    link.txBuilder[2] = circuit;
    link.txBuilder[3] = code;
    return &link.txBuilder[4];
}

uint8_t* begin(uint8_t message, uint8_t code) { return begin(message, circuitFor(message), code); }

void send() { DIS_Queue(link.txBuilder); }

void sendPlain(uint8_t message, uint8_t code)
{
    begin(message, code);
    send();
}

void sendByte(uint8_t message, uint8_t code, uint8_t value)
{
    begin(message, code)[0] = value;
    send();
}

void store32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void send32(uint8_t message, uint8_t code, uint32_t value)
{
    store32(begin(message, code), value);
    send();
}

// Local counters behind the solar counter resets, by counter code.
struct SolarCounter {
    uint8_t code;
    DatBlock block;
    uint8_t offset;
    uint8_t width;
};
constexpr SolarCounter SOLAR_COUNTERS[] = {
    {7, DatBlock::Solar, 4, 2},       {8, DatBlock::Solar, 0, 4},
    {11, DatBlock::Solar, 17, 4},     {12, DatBlock::Solar, 21, 4},
    {13, DatBlock::SolarStats, 0, 4}, {14, DatBlock::SolarStats, 4, 4}};

// Statistics counters behind the counter resets, by command code.
struct StatisticsField {
    StatisticsCounter code;
    uint8_t offset;
    uint8_t width;
};
constexpr StatisticsField STATISTICS_FIELDS[] = {{StatisticsCounter::FuelConsumption, 2, 4},
                                                 {StatisticsCounter::HoursStage1, 6, 4},
                                                 {StatisticsCounter::HoursStage2, 10, 4},
                                                 {StatisticsCounter::BurnerStarts, 14, 4},
                                                 {StatisticsCounter::Offset1, 1, 1}};

// The panel's own flag of a test or special function, set with the function (off: cleared).
struct FunctionFlag {
    uint8_t function;
    DatFlag flag;
};
constexpr FunctionFlag FUNCTION_FLAGS[] = {{FN_FLUE_GAS, DatFlag::FlueGasTestActive},
                                           {FN_COMMISSIONING, DatFlag::CommissioningRequired},
                                           {FN_FILLING, DatFlag::FillingActive},
                                           {FN_VENTING, DatFlag::VentingActive}};

void zero(DatBlock block, uint8_t offset, uint8_t width)
{
    std::fill_n(DAT_Block(block).begin() + offset, width, 0);
}

} // namespace

void DIS_QueueDataRequest(uint8_t message, uint8_t circuit, uint8_t part)
{
    begin(message, circuit, 231)[0] = part;
    send();
}

void DIS_SendDataRequest(uint8_t message, uint8_t part)
{
    if (DIS_IsCircuitMessage(message)) {
        for (uint8_t c = 1; c <= 2; ++c)
            if (DAT_CircuitPresent(c)) DIS_QueueDataRequest(message, c, 0);
    } else if (DIS_IsTimeProgramMessage(message)) {
        DIS_QueueDataRequest(message, DAT_FirstCircuit(), 0);
    } else if (message == DIS_MSG_LABEL) {
        DIS_QueueDataRequest(message, DAT_CircuitPresent(1) ? 1 : 2, part);
    } else {
        DIS_QueueDataRequest(message, 0, part);
    }
}

void DIS_SendOperatingProgram(OperatingProgram program)
{
    DAT_SetOperatingProgram(static_cast<uint8_t>(program));
    DAT_SetFlag(DatFlag::ExternalProgram, false);
    const uint8_t code = program == OperatingProgram::Standby        ? 200
                         : program == OperatingProgram::OnlyHotWater ? 201
                                                                     : 202;
    sendPlain(DIS_MSG_CIRCUIT, code);
    DIS_SendEconomyMode(false);
}

void DIS_SendPartyMode(bool on)
{
    DAT_SetPartyMode(on);
    sendPlain(DIS_MSG_CIRCUIT, on ? 203 : 204);
    if (on) DIS_SendEconomyMode(false);
}

void DIS_SendEconomyMode(bool on)
{
    DAT_SetEconomyMode(on);
    sendPlain(DIS_MSG_CIRCUIT, on ? 220 : 221);
    if (on) DIS_SendPartyMode(false);
}

void DIS_SendRoomSetTemp(uint8_t c)
{
    DAT_SetRoomSetTemp(c);
    sendByte(DIS_MSG_CIRCUIT, 205, c);
}

void DIS_SendRoomSetTempReduced(uint8_t c)
{
    DAT_SetRoomSetTempReduced(c);
    sendByte(DIS_MSG_CIRCUIT, 206, c);
}

void DIS_SendPartySetTemp(uint8_t c)
{
    DAT_SetPartySetTemp(c);
    sendByte(DIS_MSG_CIRCUIT, 207, c);
}

void DIS_SendDhwSetTemp(uint8_t c)
{
    DAT_SetDhwSetTemp(c);
    sendByte(DIS_MSG_CIRCUIT, 208, c);
}

void DIS_SendSettingsValue(uint8_t value)
{
    DAT_Block(DatBlock::Settings)[0] = value;
    sendByte(DIS_MSG_CIRCUIT, 209, value);
}

void DIS_SendHeatingCurveSlope(uint8_t tenths)
{
    DAT_SetHeatingCurveSlope(tenths);
    sendByte(DIS_MSG_CIRCUIT, 210, tenths);
}

void DIS_SendHeatingCurveLevel(int8_t level)
{
    DAT_SetHeatingCurveLevel(level);
    sendByte(DIS_MSG_CIRCUIT, 211, static_cast<uint8_t>(level));
}

void DIS_SendDhwTimeProgramAuto(bool automatic)
{
    DAT_SetFlag(DatFlag::DhwTimeProgramAuto, automatic);
    sendPlain(DIS_MSG_CIRCUIT, automatic ? 215 : 237);
}

void DIS_SendCirculationTimeProgramAuto(bool automatic)
{
    DAT_SetFlag(DatFlag::CirculationTimeProgramAuto, automatic);
    sendPlain(DIS_MSG_CIRCUIT, automatic ? 216 : 238);
}

void DIS_SendHolidayStart(uint32_t seconds)
{
    DAT_SetHolidayStart(seconds);
    send32(DIS_MSG_CIRCUIT, 217, seconds);
}

void DIS_SendHolidayEnd(uint32_t seconds)
{
    DAT_SetHolidayEnd(seconds);
    send32(DIS_MSG_CIRCUIT, 218, seconds);
}

void DIS_SendHolidayDelete()
{
    DAT_ClearHoliday();
    sendPlain(DIS_MSG_CIRCUIT, 219);
}

void DIS_SendCircuitBasicSetting() { sendByte(DIS_MSG_CIRCUIT, 229, 1); }

void DIS_SendCodingFactorySetting()
{
    sendByte(DIS_MSG_CIRCUIT, 229, DIS_BASIC_SETTING_CODINGS);
    EVT_Post(PRIO_LINK, SIG_LINK_POLL_NOW);
}

void DIS_SendTimeProgramBasicSetting(uint8_t circuit, TimeProgram program, uint8_t controllerPeriod)
{
    uint8_t* p = begin(DIS_MSG_CIRCUIT, circuit, 229);
    p[0] = static_cast<uint8_t>(3 + static_cast<uint8_t>(program));
    p[1] = controllerPeriod;
    send();
}

void DIS_AnnounceTimeProgramReset(uint8_t circuit, TimeProgram program, uint8_t controllerPeriod)
{
    DIS_SendTimeProgramBasicSetting(circuit, program, controllerPeriod);
    for (uint8_t day = 0; day < TP_DAYS; ++day)
        DIS_Request(DIS_MSG_TP_DAY1 + day);
}

void DIS_SendSolarCounterReset(uint8_t counter)
{
    for (const SolarCounter& s : SOLAR_COUNTERS)
        if (s.code == counter) zero(s.block, s.offset, s.width);
    sendByte(DIS_MSG_SOLAR, 229, counter);
}

void DIS_SendBrightness(BrightnessKind kind, uint8_t level)
{
    if (kind == BrightnessKind::Operation)
        DAT_SetBrightnessOperation(level);
    else
        DAT_SetBrightnessIdle(level);
    uint8_t* p = begin(DIS_MSG_CIRCUIT, 252);
    p[0] = static_cast<uint8_t>(kind);
    p[1] = level;
    send();
}

void DIS_SendTime(uint32_t seconds)
{
    DAT_SetClockSeconds(seconds);
    DAT_SetFlag(DatFlag::ClockMustBeSet, false);
    send32(DIS_MSG_SYSTEM, 212, seconds);
}

void DIS_SendDate(uint32_t seconds)
{
    DAT_SetClockSeconds(seconds);
    DAT_SetFlag(DatFlag::ClockMustBeSet, false);
    send32(DIS_MSG_SYSTEM, 213, seconds);
}

void DIS_SendFanSpeed(uint8_t stage, FanMode mode, uint8_t value)
{
    DAT_SetFanSpeed(stage, value);
    uint8_t* p = begin(DIS_MSG_SYSTEM, 250);
    p[0] = stage;
    p[1] = static_cast<uint8_t>(mode);
    p[2] = value;
    send();
}

void DIS_SendCounterReset(StatisticsCounter counter)
{
    for (const StatisticsField& f : STATISTICS_FIELDS)
        if (f.code == counter) zero(DatBlock::Statistics, f.offset, f.width);
    sendPlain(DIS_MSG_STATISTICS, static_cast<uint8_t>(counter));
}

void DIS_SendDampedOutsideTempReset() { sendPlain(DIS_MSG_STATISTICS, 232); }

void DIS_SendFaultAck(uint8_t parameter)
{
    DAT_SetFaultPresent(false);
    sendByte(DIS_MSG_STATISTICS, 235, parameter);
}

void DIS_SendMaintenanceAck(uint8_t parameter)
{
    DAT_SetMaintenanceDue(false);
    if (parameter == DIS_MAINTENANCE_RESET) {
        DAT_SetFlag(DatFlag::MaintenanceByHours, false);
        DAT_SetFlag(DatFlag::MaintenanceByInterval, false);
    }
    sendByte(DIS_MSG_STATISTICS, 242, parameter);
}

void DIS_SendClearFaultHistory() { sendPlain(DIS_MSG_HISTORY, 239); }

void DIS_SendAnnouncement(uint16_t value, uint8_t panelValue, uint8_t configValue)
{
    uint8_t* p = begin(DIS_MSG_CONFIG, 240);
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = panelValue;
    p[3] = configValue;
    send();
}

void DIS_SendDisplaySettings()
{
    uint8_t* p = begin(DIS_MSG_BOILER, 234);
    p[0] = 3;
    p[1] = DAT_GetDisplayContrast();
    p[2] = TXT_GetLanguage();
    p[3] = DAT_GetFlag(DatFlag::DisplaySettingsMarker) ? 170 : 85;
    send();
}

void DIS_SendTestFunction(uint8_t function, bool on)
{
    for (const FunctionFlag& f : FUNCTION_FLAGS)
        if (f.function == function) DAT_SetFlag(f.flag, on);
    if (function == FN_CELSIUS || function == FN_FAHRENHEIT)
        DAT_SetTempUnitFahrenheit(function == FN_FAHRENHEIT);
    uint8_t* p = begin(DIS_MSG_BOILER, 247);
    p[0] = function;
    p[1] = on ? 255 : 0;
    send();
}

void DIS_SendServicePin() { sendPlain(DIS_MSG_BOILER, 245); }

void DIS_SendHeatOutput(HeatOutputMode mode, uint8_t value)
{
    if (mode == HeatOutputMode::Store) DAT_SetHeatOutput(value);
    uint8_t* p = begin(DIS_MSG_BOILER, 248);
    p[0] = value;
    p[1] = static_cast<uint8_t>(mode);
    send();
}

void DIS_SendParticipantCommand(ParticipantCommand code, uint32_t mode, uint8_t address)
{
    uint8_t* p = begin(DIS_MSG_PARTICIPANT, static_cast<uint8_t>(code));
    store32(p, mode);
    p[4] = address;
    send();
}

void DIS_SendActuatorTest(uint8_t actuator) { sendByte(DIS_MSG_ACTUATOR, 222, actuator); }

namespace {

void coding(uint8_t code, uint8_t group, uint8_t level, uint8_t address, int16_t value,
            uint8_t direction)
{
    uint8_t* p = begin(DIS_MSG_CODING, code);
    p[0] = static_cast<uint8_t>(group << 4 | (level & 0x0F));
    p[1] = address;
    p[2] = static_cast<uint8_t>(value);
    p[3] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
    p[4] = direction != 0 ? 1 : 0xFF; // +1 or -1
    send();
}

} // namespace

void DIS_SendCodingWrite(uint8_t group, uint8_t level, uint8_t address, int16_t value,
                         uint8_t direction)
{
    DAT_SetCodingRequest({address, group, direction});
    DAT_SetCodingEntryValue(value);
    coding(228, group, level, address, value, direction);
}

void DIS_SendCodingRead(uint8_t group, uint8_t level, uint8_t address, uint8_t direction)
{
    DAT_SetCodingRequest({address, group, direction});
    coding(230, group, level, address, 0, direction);
}

void DIS_SendSwitchingTime(PhaseEdge edge, uint8_t phase, uint8_t periodCode, TimeProgram program,
                           uint8_t value)
{
    if (periodCode >= TP_PERIOD_CODES) return;
    const TimePeriod& period = TP_PERIODS[periodCode];
    uint8_t* p = begin(static_cast<uint8_t>(DIS_MSG_TP_DAY1 + period.firstDay), 214);
    p[0] = static_cast<uint8_t>(edge);
    p[1] = phase;
    p[2] = period.controllerCode;
    store32(p + 4, static_cast<uint8_t>(program));
    p[8] = TP_PackTime(value);
    // The time byte lies beyond the nine bytes a short transfer carries: the command travels
    // whole, as a long entry through block 35.
    LinkBytes<DIS_LONG_SIZE> entry{};
    std::copy(link.txBuilder.begin(), link.txBuilder.end(), entry.begin());
    entry[0] = DIS_LONG_BLOCK;
    DIS_Queue(entry);
}

void DIS_SendCircuitLabel(uint8_t circuit, const char* utf8)
{
    if ((circuit != 1 && circuit != 2) || utf8 == nullptr) return;
    DAT_SetCircuitLabel(circuit == 1 ? TXT_HEIZKREIS_1 : TXT_HEIZKREIS_2, utf8);
    std::array<uint16_t, DAT_LABEL_CHARS> chars{};
    const size_t bytes = std::strlen(utf8);
    const uint16_t length =
        GFX_Utf8ToUcs2(utf8, static_cast<uint16_t>(std::min<size_t>(bytes, 0xFFFF)), chars.data(),
                       DAT_LABEL_CHARS);
    constexpr uint16_t HALF = DAT_LABEL_CHARS / 2;
    for (uint8_t part = 0; part < 2; ++part) {
        LinkBytes<DIS_LONG_SIZE> entry{};
        entry[0] = DIS_LONG_BLOCK;
        entry[1] = DIS_Header(DIS_MSG_LABEL, nextSequence());
        entry[2] = circuit;
        entry[3] = static_cast<uint8_t>(2 + part);
        entry[4] = static_cast<uint8_t>(part == 0 ? std::min(length, HALF)
                                                  : (length > HALF ? length - HALF : 0));
        for (uint16_t k = 0; k < HALF; ++k) {
            entry[5 + 2 * k] = static_cast<uint8_t>(chars[part * HALF + k]);
            entry[6 + 2 * k] = static_cast<uint8_t>(chars[part * HALF + k] >> 8);
        }
        entry[29] = TXT_GetLanguage();
        DIS_Queue(entry);
    }
}
