#include "screens/bcpm.h"

#include <array>

#include "data/datapool.h"
#include "link/dis.h"
#include "screens/bcp.h"
#include "screens/bsvm.h"
#include "spine/ui_spine.h"
#include "widgets/abf.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/screen.h"

namespace {

bool dhwShown() { return DAT_GetDhwPresent(); }
// The controller offers the solar codings only with the solar module's counter lines.
bool solarShown() { return DAT_GetSolarPresent() && DAT_SolarCountersShown(); }
bool circuit1Shown() { return DAT_CircuitPresent(1); }
bool circuit2Shown() { return DAT_CircuitPresent(2); }

struct Group {
    TextId title;
    uint8_t number;
};

// The groups of the group menus, by menu line: title and the controller's group number.
constexpr std::array<Group, 6> GROUPS{{
    {TXT_ALLGEMEIN, BCPM_GROUP_GENERAL},
    {TXT_KESSEL, BCPM_GROUP_BOILER},
    {TXT_WARMWASSER, BCPM_GROUP_DHW},
    {TXT_SOLAR, BCPM_GROUP_SOLAR},
    {TXT_HEIZKREIS_1, BCPM_GROUP_CIRCUIT_1},
    {TXT_HEIZKREIS_2, BCPM_GROUP_CIRCUIT_2},
}};

// With two circuits the line says which one it is, as the circuit menus do.
void circuitMark(uint8_t row, const GFX_Rect& r)
{
    if (DAT_CircuitCount() < 2) return;
    GFX_TextInRect(TXT_Get(GROUPS[row].number == BCPM_GROUP_CIRCUIT_2 ? TXT_HK2 : TXT_HK1), r,
                   GFX_ALIGN_RIGHT_CENTER);
}

// The same seven lines in both levels; only the browser they open differs.
constexpr std::array<MEN_Row, 7> rowsFor(StateHandler browser)
{
    return {{
        {.text = GROUPS[0].title, .target = browser},
        {.text = GROUPS[1].title, .target = browser},
        {.text = GROUPS[2].title, .target = browser, .shown = dhwShown},
        {.text = GROUPS[3].title, .target = browser, .shown = solarShown},
        {.text = GROUPS[4].title, .target = browser, .shown = circuit1Shown, .draw = circuitMark},
        {.text = GROUPS[5].title, .target = browser, .shown = circuit2Shown, .draw = circuitMark},
        {.text = TXT_GRUNDEINSTELLUNG, .target = &BCPM_Grundeinstellung},
    }};
}
constexpr auto ROWS_1 = rowsFor(&BCP_Codierung_1);
constexpr auto ROWS_2 = rowsFor(&BCP_Codierung_2);

MEN_Memory memory; // one position for both levels
constexpr MEN_Screen MENU_1{.self = &BCPM_Codierung_1_Menue,
                            .rows = ROWS_1,
                            .memory = &memory,
                            .title = TXT_CODIEREBENE_1,
                            .back = &BSVM_Servicemenue,
                            .restore = MEN_Restore::Reposition};
constexpr MEN_Screen MENU_2{.self = &BCPM_Codierung_2_Menue,
                            .rows = ROWS_2,
                            .memory = &memory,
                            .title = TXT_CODIEREBENE_2,
                            .back = &BSVM_Servicemenue,
                            .restore = MEN_Restore::Reposition};

StateHandler groupMenu(const MEN_Screen& menu, uint8_t level, Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_OK: {
        DAT_SetCodingLevel(level);
        const uint8_t line = MEN_GetCursor();
        if (line < GROUPS.size()) DAT_SetCodingGroup(GROUPS[line].number);
        MEN_OpenCursorRow(menu, me);
        return nullptr;
    }
    case SIG_HELP_REQUEST: return &BMM_Menuemonitor; // no help of their own: the general help
    }
    return MEN_Handle(menu, me, e) ? nullptr : &BMM_Menuemonitor;
}

StateHandler codierung1Menue(Hsm& me, const Event& e) { return groupMenu(MENU_1, 1, me, e); }
StateHandler codierung2Menue(Hsm& me, const Event& e) { return groupMenu(MENU_2, 2, me, e); }

// --- factory setting ---------------------------------------------------------------------------

void drawDialogHeader()
{
    KOP_DrawLeftRight(TXT_GRUNDEINSTELLUNG, DAT_GetCodingLevel() == 2 ? TXT_COD_2 : TXT_COD_1);
    KOP_DrawLine();
}

void backToGroups(Hsm& me) { UI_Back(me, BCPM_GroupMenu(DAT_GetCodingLevel()), PAR_BACK); }

void resetCodings(Hsm& me)
{
    DIS_SendCodingFactorySetting();
    UI_Continue(me, &BCPM_Feedback);
}

constexpr ABF_Question QUESTION{.header = drawDialogHeader,
                                .question = TXT_AKTIVIEREN_FRAGE,
                                .yes = resetCodings,
                                .no = backToGroups,
                                .back = backToGroups};

StateHandler grundeinstellung(Hsm& me, const Event& e)
{
    return ABF_HandleQuestion(QUESTION, me, e) ? nullptr : &BMM_Menuemonitor;
}

constexpr ABF_Feedback FEEDBACK{.draw = [] { ABF_DrawQuestion(QUESTION, false); },
                                .done = backToGroups};

StateHandler feedback(Hsm& me, const Event& e)
{
    return ABF_HandleFeedback(FEEDBACK, me, e) ? nullptr : &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BCPM_Codierung_1_Menue, codierung1Menue);
HSM_STATE(BCPM_Codierung_2_Menue, codierung2Menue);
HSM_STATE(BCPM_Grundeinstellung, grundeinstellung);
HSM_STATE(BCPM_Feedback, feedback);

TextId BCPM_GroupTitle(uint32_t group)
{
    for (const Group& g : GROUPS)
        if (g.number == group) return g.title;
    return TXT_NONE;
}

StateHandler BCPM_GroupMenu(uint8_t level)
{
    return level == 2 ? &BCPM_Codierung_2_Menue : &BCPM_Codierung_1_Menue;
}

void BCPM_Reset() { MEN_ResetMemory(memory); }
