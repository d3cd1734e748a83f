// The time-program store: for each of two circuit sets the heating, hot-water and circulation
// programs, four phases a day with an on and an off time in 10-minute steps, the program and
// period that the time-program screens work on, and the operations those screens share.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class TimeProgram : uint8_t { Heating = 0, Dhw = 1, Circulation = 2 };

inline constexpr uint8_t TP_CIRCUIT_SETS = 2; // circuit 1 = set 0, circuit 2 = set 1
inline constexpr uint8_t TP_PROGRAMS = 3;
inline constexpr uint8_t TP_DAYS = 7; // 0 Monday .. 6 Sunday
inline constexpr uint8_t TP_PHASES = 4;
inline constexpr uint8_t TP_UNUSED = 255;
inline constexpr uint8_t TP_END_OF_DAY = 144; // 24:00
inline constexpr size_t TP_TABLE_SIZE = TP_CIRCUIT_SETS * TP_PROGRAMS * TP_DAYS * TP_PHASES * 2;
static_assert(TP_TABLE_SIZE == 336);

enum class PhaseEdge : uint8_t { On = 0, Off = 1 };

constexpr size_t TP_Index(uint8_t set, TimeProgram program, uint8_t day, uint8_t phase,
                          PhaseEdge edge)
{
    return set * 168u + static_cast<uint8_t>(program) * 56u + day * 8u + phase * 2u +
           static_cast<uint8_t>(edge);
}

struct TimePhase {
    uint8_t on;
    uint8_t off;
    bool operator==(const TimePhase&) const = default;
};
using TimePhases = std::array<TimePhase, TP_PHASES>;
inline constexpr TimePhase TP_UNUSED_PHASE{TP_UNUSED, TP_UNUSED};

// The phase a program gets when nothing else suggests one: heating 06:00 to 22:00, hot water and
// circulation 05:30 to 22:00.
inline constexpr std::array<TimePhase, TP_PROGRAMS> TP_DEFAULT_PHASES{
    {{36, 132}, {33, 132}, {33, 132}}};

// Periods by period code: the day the phases are read from, the days they are written to (bit d
// = day d) and the period number the controller knows.
struct TimePeriod {
    uint8_t firstDay;
    uint8_t days;
    uint8_t controllerCode;
};
inline constexpr uint8_t TP_PERIOD_ALL_DAYS = 0;
inline constexpr uint8_t TP_PERIOD_WORKDAYS = 8;
inline constexpr uint8_t TP_PERIOD_WEEKEND = 9;
inline constexpr uint8_t TP_PERIOD_CODES = 10;
inline constexpr std::array<TimePeriod, TP_PERIOD_CODES> TP_PERIODS{{
    {0, 0x7F, 0},    // Mo-So
    {0, 0x01, 1},    // Mo
    {1, 0x02, 2},    // Di
    {2, 0x04, 3},    // Mi
    {3, 0x08, 4},    // Do
    {4, 0x10, 5},    // Fr
    {5, 0x20, 6},    // Sa
    {6, 0x40, 7},    // So
    {0, 0x1F, 0x15}, // Mo-Fr
    {5, 0x60, 0x67}, // Sa-So
}};

// Time bytes on the bus: hour in bits 3..7, ten-minute step in bits 0..2, 0xFF unused.
constexpr uint8_t TP_PackTime(uint8_t t)
{
    return t > TP_END_OF_DAY ? 0xFF : static_cast<uint8_t>(t / 6 * 8 + t % 6);
}
// A byte that is no time of day (step above 5, past 24:00) is taken as an unused phase.
constexpr uint8_t TP_UnpackTime(uint8_t b)
{
    if (b == 0xFF || (b & 7) > 5) return TP_UNUSED;
    const unsigned t = (b & 7u) + (b >> 3) * 6u;
    return t > TP_END_OF_DAY ? TP_UNUSED : static_cast<uint8_t>(t);
}

// Direct access by set, program, day and phase; indices outside the table read 255 and write
// nothing.
uint8_t DAT_GetSwitchingTime(uint8_t set, TimeProgram program, uint8_t day, uint8_t phase,
                             PhaseEdge edge);
void DAT_SetSwitchingTime(uint8_t set, TimeProgram program, uint8_t day, uint8_t phase,
                          PhaseEdge edge, uint8_t value);

// The selection the screens work on; the circuit set is that of the selected heating circuit.
struct TimeProgramSelection {
    TimeProgram program;
    uint8_t period;
};
void DAT_SelectTimeProgram(TimeProgram program);
TimeProgram DAT_GetSelectedTimeProgram();
void DAT_SelectTimePeriod(uint8_t periodCode); // codes outside 0..9 are ignored
uint8_t DAT_GetSelectedTimePeriod();
TimeProgramSelection DAT_GetTimeProgramSelection();
void DAT_SetTimeProgramSelection(const TimeProgramSelection& s);
uint8_t DAT_SelectedTimeProgramSet();

// The phases of the selected period (read from its first day) and writing them to all its days.
TimePhases DAT_ReadPeriodPhases();
void DAT_WritePeriodPhases(const TimePhases& phases);
// Whether the days of a group (0 Mo-So, 8 Mo-Fr, 9 Sa-So) of the selected program agree.
bool DAT_TimeGroupUniform(uint8_t periodCode);

// Who tells the controller of a reset: the link's basic-setting command (229) and the new
// request of the seven days, connected at start-up.
using DAT_TimeProgramResetSink = void (*)(uint8_t circuit, TimeProgram program,
                                          uint8_t controllerPeriod);
void DAT_SetTimeProgramResetSink(DAT_TimeProgramResetSink sink);

// Reset of a program for a period: all phases unused but phase 0 = defaultPhase, the reset
// sink told, the phases written to all days of the period.
void DAT_ResetTimeProgram(uint8_t set, TimeProgram program, uint8_t periodCode,
                          TimePhase defaultPhase);
// The same for the selected set, program and period.
void DAT_ResetSelectedTimeProgram(TimePhase defaultPhase);
