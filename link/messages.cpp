// Take-over of accepted controller messages into the data pool, by message number.
#include <algorithm>

#include "data/datapool.h"
#include "data/timeprog.h"
#include "kernel/evt.h"
#include "link/link_state.h"

namespace {

using Rx = LinkBytes<DIS_RX_MESSAGE_SIZE>;

// Copies message bytes [first, first + count) to the block offset.
void copyTo(DatBlock block, size_t offset, const Rx& rx, size_t first, size_t count)
{
    const std::span<uint8_t> dest = DAT_Block(block);
    std::copy_n(rx.begin() + first, count, dest.begin() + offset);
}

bool isCircuit(uint8_t c) { return c == 1 || c == 2; }

void announce(Signal sig)
{
    EVT_Post(PRIO_LINK, sig);
    EVT_Post(PRIO_UI, sig);
}

// Each take-over returns the signal to announce, SIG_NONE while a multi-part transfer goes on.
using TakeOverFn = Signal (*)(const Rx& rx, uint8_t length);

Signal statistics(const Rx& rx, uint8_t)
{
    copyTo(DatBlock::Statistics, 0, rx, 2, DAT_STATISTICS_SIZE);
    if (isCircuit(rx[1])) {
        copyTo(DAT_CircuitRecord(rx[1]), 0, rx, 26, 3);
        DAT_LoadCircuitView(rx[1]);
    }
    return SIG_RX_MSG0;
}

Signal circuitSettings(const Rx& rx, uint8_t)
{
    if (isCircuit(rx[1])) copyTo(DAT_CircuitRecord(rx[1]), 3, rx, 2, 20);
    copyTo(DatBlock::Settings, 0, rx, 22, DAT_SETTINGS_SIZE);
    if (isCircuit(rx[1])) DAT_LoadCircuitView(rx[1]);
    DAT_SetBrightnessIdle(DAT_ReadByte(DatBlock::Settings, 5));
    DAT_SetBrightnessOperation(DAT_ReadByte(DatBlock::Settings, 6));
    return SIG_RX_MSG1;
}

Signal systemValues(const Rx& rx, uint8_t)
{
    EVT_Post(PRIO_TIMER, SIG_SET_CLOCK,
             static_cast<uint32_t>(rx[13] | rx[14] << 8 | rx[15] << 16) |
                 static_cast<uint32_t>(rx[16]) << 24);
    copyTo(DatBlock::System, 0, rx, 7, DAT_SYSTEM_SIZE);
    copyTo(DatBlock::Burner, 0, rx, 17, DAT_BURNER_SIZE);
    if (isCircuit(rx[1])) copyTo(DAT_CircuitRecord(rx[1]), 23, rx, 2, 5);
    // The language travels with the contrast; the link applies both at communication start.
    DAT_TakeDisplaySettings(DAT_ReadByte(DatBlock::System, 4), DAT_ReadByte(DatBlock::System, 5));
    if (isCircuit(rx[1])) DAT_LoadCircuitView(rx[1]);
    return SIG_RX_MSG2;
}

Signal switchingTimes(const Rx& rx, uint8_t)
{
    const uint8_t day = static_cast<uint8_t>(DIS_HeaderMessage(rx[0]) - DIS_MSG_TP_DAY1);
    const uint8_t set = rx[1] == 1 ? 0 : 1;
    for (uint8_t p = 0; p < TP_PROGRAMS; ++p)
        for (uint8_t k = 0; k < TP_PHASES; ++k) {
            const size_t at = 2 + 8 * p + 2 * k;
            DAT_SetSwitchingTime(set, static_cast<TimeProgram>(p), day, k, PhaseEdge::On,
                                 TP_UnpackTime(rx[at]));
            DAT_SetSwitchingTime(set, static_cast<TimeProgram>(p), day, k, PhaseEdge::Off,
                                 TP_UnpackTime(rx[at + 1]));
        }
    // Circuit 2's day follows circuit 1's; the day is complete only with both.
    if (DAT_CircuitCount() > 1 && rx[1] == 1) {
        DIS_QueueDataRequest(DIS_HeaderMessage(rx[0]), 2, 0);
        return SIG_NONE;
    }
    return static_cast<Signal>(SIG_RX_TP_DAY1 + day);
}

Signal configuration(const Rx& rx, uint8_t)
{
    const uint8_t before = DAT_CircuitCount();
    copyTo(DatBlock::Config, 0, rx, 2, DAT_CONFIG_SIZE);
    if (DAT_CircuitCount() != before) EVT_Post(PRIO_LINK, SIG_LINK_POLL_NOW);
    return SIG_RX_MSG10;
}

Signal codingRead(const Rx& rx, uint8_t)
{
    copyTo(DatBlock::Coding, 0, rx, 2, 25);
    return SIG_RX_MSG13;
}

Signal codingAnswer(const Rx& rx, uint8_t)
{
    copyTo(DatBlock::Coding, 0, rx, 2, DAT_CODING_SIZE);
    return SIG_RX_MSG14;
}

// Messages 15 and 16 describe blocks longer than a frame carries: take what arrived and leave
// the rest of the block as it was.
size_t carried(uint8_t length) { return length > 2 ? length - 2u : 0u; }

Signal boilerValues(const Rx& rx, uint8_t length)
{
    copyTo(DatBlock::Boiler, 0, rx, 2, carried(length));
    return SIG_RX_MSG15;
}

Signal participantValues(const Rx& rx, uint8_t length)
{
    copyTo(DatBlock::Participant, 0, rx, 2, carried(length));
    return SIG_RX_MSG16;
}

Signal solarValues(const Rx& rx, uint8_t)
{
    copyTo(DatBlock::Solar, 0, rx, 2, DAT_SOLAR_SIZE);
    return SIG_RX_MSG17;
}

Signal circuitDiagnosis(const Rx& rx, uint8_t)
{
    copyTo(DatBlock::CircuitDiag, 0, rx, 2, DAT_CIRCUIT_DIAG_SIZE);
    return SIG_RX_MSG18;
}

// Fault list and history arrive in five parts of two records each.
Signal faultRecords(const Rx& rx, DatBlock list, Signal done)
{
    constexpr uint8_t LAST_PART = DAT_FAULT_RECORDS / 2 - 1;
    const uint8_t part = rx[2];
    if (part > LAST_PART) return SIG_NONE;
    const std::span<uint8_t> records = DAT_Block(list);
    if (part == 0) std::fill(records.begin(), records.end(), 0);
    copyTo(list, DAT_FAULT_RECORD_SIZE * 2 * part, rx, 3, 2 * DAT_FAULT_RECORD_SIZE);
    if (part < LAST_PART) {
        DIS_QueueDataRequest(DIS_HeaderMessage(rx[0]), 0, static_cast<uint8_t>(part + 1));
        return SIG_NONE;
    }
    return done;
}

Signal faultList(const Rx& rx, uint8_t)
{
    return faultRecords(rx, DatBlock::FaultList, SIG_RX_MSG22);
}
Signal faultHistory(const Rx& rx, uint8_t)
{
    return faultRecords(rx, DatBlock::FaultHistory, SIG_RX_MSG23);
}

Signal extraValues(const Rx& rx, uint8_t)
{
    copyTo(DatBlock::Extra, 0, rx, 2, DAT_EXTRA_SIZE);
    return SIG_RX_MSG24;
}

// Circuit label halves: byte 2 the part, byte 3 the character count, UTF-16 from byte 4, the
// label's language in byte 24.
Signal circuitLabel(const Rx& rx, uint8_t length)
{
    constexpr size_t HALF_CHARS = DAT_LABEL_CHARS / 2;
    const uint8_t c = rx[1];
    if (!isCircuit(c)) return SIG_NONE;
    const uint8_t part = rx[2];
    const size_t received = length > 4 ? (length - 4u) / 2 : 0;
    const size_t count = std::min({size_t{rx[3]}, HALF_CHARS, received});
    const std::span<uint8_t> label = DAT_Block(c == 1 ? DatBlock::Label1 : DatBlock::Label2);
    const size_t half = part == 1 ? 0 : 2 * HALF_CHARS;
    std::fill_n(label.begin() + half, 2 * HALF_CHARS, 0);
    std::copy_n(rx.begin() + 4, 2 * count, label.begin() + half);
    DAT_SetLabelLanguage(c, rx[24]);
    if (part < 2) {
        DIS_QueueDataRequest(DIS_MSG_LABEL, c, static_cast<uint8_t>(part + 1));
        return SIG_NONE;
    }
    if (c != 2 && DAT_CircuitPresent(2)) {
        DIS_QueueDataRequest(DIS_MSG_LABEL, 2, 1);
        return SIG_NONE;
    }
    return SIG_RX_MSG25;
}

Signal solarStatistics(const Rx& rx, uint8_t)
{
    copyTo(DatBlock::SolarStats, 0, rx, 2, DAT_SOLAR_STATS_SIZE);
    return SIG_RX_MSG26;
}

// Take-over by message number; messages without one are only counted.
constexpr std::array<TakeOverFn, DIS_MESSAGES> TAKE_OVER = [] {
    std::array<TakeOverFn, DIS_MESSAGES> t{};
    t[DIS_MSG_STATISTICS] = statistics;
    t[DIS_MSG_CIRCUIT] = circuitSettings;
    t[DIS_MSG_SYSTEM] = systemValues;
    for (uint8_t m = DIS_MSG_TP_DAY1; m <= DIS_MSG_TP_DAY7; ++m)
        t[m] = switchingTimes;
    t[DIS_MSG_CONFIG] = configuration;
    t[DIS_MSG_ACTUATOR] = codingRead;
    t[DIS_MSG_CODING] = codingAnswer;
    t[DIS_MSG_BOILER] = boilerValues;
    t[DIS_MSG_PARTICIPANT] = participantValues;
    t[DIS_MSG_SOLAR] = solarValues;
    t[DIS_MSG_CIRCUIT_DIAG] = circuitDiagnosis;
    t[DIS_MSG_FAULT_LIST] = faultList;
    t[DIS_MSG_FAULT_HISTORY] = faultHistory;
    t[DIS_MSG_EXTRA] = extraValues;
    t[DIS_MSG_LABEL] = circuitLabel;
    t[DIS_MSG_SOLAR_STATS] = solarStatistics;
    return t;
}();

} // namespace

void DIS_TakeOver(const Rx& rx, uint8_t length)
{
    const uint8_t message = DIS_HeaderMessage(rx[0]);
    if (message >= DIS_MESSAGES) return;
    const TakeOverFn fn = TAKE_OVER[message];
    if (fn == nullptr) {
        ++DIS_State().unknownMessageCount;
        return;
    }
    const Signal sig = fn(rx, std::min<uint8_t>(length, DIS_RX_MESSAGE_SIZE));
    if (sig != SIG_NONE) announce(sig);
}
