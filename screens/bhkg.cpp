#include "screens/bhkg.h"

#include "data/datapool.h"
#include "data/timeprog.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "screens/bhkw.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/status_texts.h"

namespace {

// The circuit's basic setting, as the controller has it after command 229.
constexpr uint8_t BASIC_SLOPE = 14; // 1,4
constexpr int8_t BASIC_LEVEL = 0;
constexpr uint8_t BASIC_ROOM_SET_TEMP = 20;
constexpr uint8_t BASIC_ROOM_SET_TEMP_REDUCED = 3;

// The controller resets the circuit itself; the panel resets its own copy in the same order,
// each change with the command that tells it, so what the panel shows agrees before the
// controller's new values arrive. The hot-water and circulation programs stay.
void resetCircuit()
{
    DIS_SendCircuitBasicSetting();
    EVT_Post(PRIO_LINK, SIG_LINK_POLL_NOW);
    DAT_ResetTimeProgram(static_cast<uint8_t>(DAT_GetSelectedCircuit() - 1), TimeProgram::Heating,
                         TP_PERIOD_ALL_DAYS,
                         TP_DEFAULT_PHASES[static_cast<uint8_t>(TimeProgram::Heating)]);
    DIS_SendHolidayDelete();
    DIS_SendHeatingCurveSlope(BASIC_SLOPE);
    DIS_SendHeatingCurveLevel(BASIC_LEVEL);
    DIS_SendOperatingProgram(OperatingProgram::HeatingAndHotWater);
    DIS_SendRoomSetTemp(BASIC_ROOM_SET_TEMP);
    DIS_SendRoomSetTempReduced(BASIC_ROOM_SET_TEMP_REDUCED);
    DIS_SendPartyMode(false);
    DIS_SendEconomyMode(false);
}

void drawTitle()
{
    KOP_DrawCircuitTitle(TXT_CircuitName());
    KOP_DrawLine();
}

void toSelection(Hsm& me) { UI_Back(me, &BHKW_HKWahl, PAR_BACK); }

void yes(Hsm& me)
{
    resetCircuit();
    UI_Continue(me, &BHKG_Feedback);
}

constexpr ABF_Question QUESTION{.header = drawTitle,
                                .question = TXT_GRUNDEINSTELLUNG,
                                .yes = yes,
                                .no = toSelection,
                                .back = toSelection,
                                .help = HLP_BEM_GRUNDEINSTELLUNG};

constexpr ABF_Feedback FEEDBACK{
    .draw = [] { ABF_DrawQuestion(QUESTION, false); }, .done = toSelection, .again = toSelection};

StateHandler grundeinstellung(Hsm& me, const Event& e)
{
    return ABF_HandleQuestion(QUESTION, me, e) ? nullptr : &BMM_Menuemonitor;
}

StateHandler feedback(Hsm& me, const Event& e)
{
    return ABF_HandleFeedback(FEEDBACK, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BHKG_HKGrundeinstellung, grundeinstellung);
HSM_STATE(BHKG_Feedback, feedback);
