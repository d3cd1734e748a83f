#include "data/timeprog.h"

#include "data/datapool.h"

namespace {

DAT_TimeProgramResetSink resetSink = nullptr;

std::array<uint8_t, TP_TABLE_SIZE> table{};
TimeProgramSelection selection{TimeProgram::Heating, TP_PERIOD_ALL_DAYS};

bool inTable(uint8_t set, TimeProgram program, uint8_t day, uint8_t phase)
{
    return set < TP_CIRCUIT_SETS && static_cast<uint8_t>(program) < TP_PROGRAMS && day < TP_DAYS &&
           phase < TP_PHASES;
}

TimePhases readDay(uint8_t set, TimeProgram program, uint8_t day)
{
    TimePhases phases{};
    for (uint8_t k = 0; k < TP_PHASES; ++k)
        phases[k] = {DAT_GetSwitchingTime(set, program, day, k, PhaseEdge::On),
                     DAT_GetSwitchingTime(set, program, day, k, PhaseEdge::Off)};
    return phases;
}

void writeDays(uint8_t set, TimeProgram program, uint8_t days, const TimePhases& phases)
{
    for (uint8_t d = 0; d < TP_DAYS; ++d) {
        if (!(days >> d & 1)) continue;
        for (uint8_t k = 0; k < TP_PHASES; ++k) {
            DAT_SetSwitchingTime(set, program, d, k, PhaseEdge::On, phases[k].on);
            DAT_SetSwitchingTime(set, program, d, k, PhaseEdge::Off, phases[k].off);
        }
    }
}

bool daysEqual(uint8_t set, TimeProgram program, uint8_t first, uint8_t last)
{
    const TimePhases reference = readDay(set, program, first);
    for (uint8_t d = first + 1; d <= last; ++d)
        if (readDay(set, program, d) != reference) return false;
    return true;
}

} // namespace

uint8_t DAT_GetSwitchingTime(uint8_t set, TimeProgram program, uint8_t day, uint8_t phase,
                             PhaseEdge edge)
{
    return inTable(set, program, day, phase) ? table[TP_Index(set, program, day, phase, edge)]
                                             : TP_UNUSED;
}

void DAT_SetSwitchingTime(uint8_t set, TimeProgram program, uint8_t day, uint8_t phase,
                          PhaseEdge edge, uint8_t value)
{
    if (inTable(set, program, day, phase)) table[TP_Index(set, program, day, phase, edge)] = value;
}

void DAT_SelectTimeProgram(TimeProgram program)
{
    if (static_cast<uint8_t>(program) < TP_PROGRAMS) selection.program = program;
}

TimeProgram DAT_GetSelectedTimeProgram() { return selection.program; }

void DAT_SelectTimePeriod(uint8_t periodCode)
{
    if (periodCode < TP_PERIOD_CODES) selection.period = periodCode;
}

uint8_t DAT_GetSelectedTimePeriod() { return selection.period; }
TimeProgramSelection DAT_GetTimeProgramSelection() { return selection; }

void DAT_SetTimeProgramSelection(const TimeProgramSelection& s)
{
    DAT_SelectTimeProgram(s.program);
    DAT_SelectTimePeriod(s.period);
}

uint8_t DAT_SelectedTimeProgramSet() { return DAT_GetSelectedCircuit() == 2 ? 1 : 0; }

TimePhases DAT_ReadPeriodPhases()
{
    return readDay(DAT_SelectedTimeProgramSet(), selection.program,
                   TP_PERIODS[selection.period].firstDay);
}

void DAT_WritePeriodPhases(const TimePhases& phases)
{
    writeDays(DAT_SelectedTimeProgramSet(), selection.program, TP_PERIODS[selection.period].days,
              phases);
}

bool DAT_TimeGroupUniform(uint8_t periodCode)
{
    const uint8_t set = DAT_SelectedTimeProgramSet();
    switch (periodCode) {
    case TP_PERIOD_ALL_DAYS: return daysEqual(set, selection.program, 0, 6);
    case TP_PERIOD_WORKDAYS: return daysEqual(set, selection.program, 0, 4);
    case TP_PERIOD_WEEKEND: return daysEqual(set, selection.program, 5, 6);
    default: return false;
    }
}

void DAT_SetTimeProgramResetSink(DAT_TimeProgramResetSink sink) { resetSink = sink; }

void DAT_ResetTimeProgram(uint8_t set, TimeProgram program, uint8_t periodCode,
                          TimePhase defaultPhase)
{
    if (set >= TP_CIRCUIT_SETS || periodCode >= TP_PERIOD_CODES) return;
    TimePhases phases{};
    phases.fill(TP_UNUSED_PHASE);
    phases[0] = defaultPhase;
    if (resetSink != nullptr)
        resetSink(static_cast<uint8_t>(set + 1), program, TP_PERIODS[periodCode].controllerCode);
    writeDays(set, program, TP_PERIODS[periodCode].days, phases);
}

void DAT_ResetSelectedTimeProgram(TimePhase defaultPhase)
{
    DAT_ResetTimeProgram(DAT_SelectedTimeProgramSet(), selection.program, selection.period,
                         defaultPhase);
}
