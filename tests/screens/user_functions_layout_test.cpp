// Every screen of the user functions in every language: no text runs past the display or
// into another one (a title into the circuit's short name, a row into its radio glyph, a
// wrapped programme name into the footer).
#include <string>
#include <vector>

#include "screens/bbe.h"
#include "screens/bga.h"
#include "screens/bhkg.h"
#include "screens/bhkh.h"
#include "screens/bhkm.h"
#include "screens/bhkw.h"
#include "screens/bpb.h"
#include "screens/brn.h"
#include "screens/brt.h"
#include "screens/bsp.h"
#include "screens/bww.h"
#include "screens/bwwm.h"
#include "screens/screen_fixture.h"
#include "sim/hal/keys.h"
#include "widgets/screen.h"

namespace {

constexpr uint8_t LANGUAGES = 19;

struct Visit {
    const char* what;
    void (*setUp)(); // the plant for this screen
    const State* open;
    int downs; // keys after opening
    int oks;
};

void plain() {}
void externalSwitchOver() { DAT_SetFlag(DatFlag::ExternalSwitchOver, true); }
void externalProgramme() { DAT_SetFlag(DatFlag::ExternalProgram, true); }
void noHeating() { DAT_SetOperatingProgram(5); }
void partyOn() { DAT_SetPartyMode(true); }
void remoteControl()
{
    DAT_Block(DatBlock::Config)[17] = 1;
    DAT_Block(DatBlock::Config)[24] &= static_cast<uint8_t>(~(1u << 4));
}

const Visit VISITS[] = {
    {"heating-circuit menu", plain, &BHKM_HKMenue, 7, 0},
    {"hot-water menu", plain, &BWWM_WWMenue, 0, 0},
    {"programme list", plain, &BetriebsartEinstellen, 0, 0},
    {"programme feedback", plain, &BetriebsartEinstellen, 0, 1},
    {"external switch-over", externalSwitchOver, &BetriebsartEinstellen, 0, 0},
    {"external programme", externalProgramme, &BetriebsartEinstellen, 0, 0},
    {"room temperature", plain, &BRT_RaumtemperaturTag, 0, 0},
    {"room temperature remote", remoteControl, &BRT_RaumtemperaturTag, 0, 0},
    {"reduced room temperature", plain, &BRN_RaumtemperaturNacht, 0, 1},
    {"hot water", plain, &BWW_Warmwasser, 0, 1},
    {"hot water remote", remoteControl, &BWW_Warmwasser, 0, 0},
    {"party", plain, &BPB_Partybetrieb, 0, 0},
    {"party off", partyOn, &BPB_Partybetrieb, 0, 0},
    {"economy", plain, &BSP_SparbetriebFeedback, 0, 0},
    {"economy not possible", noHeating, &BSP_SparbetriebFeedback, 0, 0},
    {"heating curve menu", plain, &BHKH_NeigungNiveauMenue, 0, 0},
    {"slope", plain, &BHKH_NeigungNiveauMenue, 0, 1},
    {"level", plain, &BHKH_NeigungNiveauMenue, 1, 1},
};

class UserFunctionLayout : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    static void language(uint8_t n)
    {
        DAT_SetLanguageIndex(n);
        DAT_ApplyDisplaySettings();
    }
    // Pairs of visible texts that share pixels, and texts beyond the display's frame columns.
    static std::vector<std::string> clashes()
    {
        std::vector<std::string> out;
        const uint16_t n = GFX_VisibleTextCount();
        for (uint16_t i = 0; i < n; ++i) {
            const GFX_VisibleText& a = GFX_GetVisibleText(i);
            if (a.rect.x0 < 1 || a.rect.x1 > 238) out.push_back(std::string("edge: ") + a.text);
            for (uint16_t j = static_cast<uint16_t>(i + 1); j < n; ++j) {
                const GFX_VisibleText& b = GFX_GetVisibleText(j);
                if (a.rect.x0 <= b.rect.x1 && b.rect.x0 <= a.rect.x1 && a.rect.y0 <= b.rect.y1 &&
                    b.rect.y0 <= a.rect.y1)
                    out.push_back(std::string(a.text) + " / " + b.text);
            }
        }
        return out;
    }
};

TEST_F(UserFunctionLayout, NoTextOverlapsAnotherOrTheDisplayEdgeInAnyLanguage)
{
    for (uint8_t lang = 0; lang < LANGUAGES; ++lang) {
        for (const Visit& v : VISITS) {
            SCOPED_TRACE(std::to_string(lang) + " " + v.what);
            UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
            DAT_ClearAll(1);
            language(lang);
            v.setUp();
            UI_Open(machine(), &BHKM_HKMenue);
            UI_Open(machine(), v.open);
            for (int i = 0; i < v.downs; ++i)
                tap(HARDKEY_DOWN);
            for (int i = 0; i < v.oks; ++i)
                tap(HARDKEY_OK);
            EXPECT_EQ(clashes(), std::vector<std::string>{}) << state();
        }
        // The reset question through the circuit selection.
        SCOPED_TRACE(std::to_string(lang) + " reset");
        UI_Open(machine(), &BHKW_HKWahl);
        EVT_Send(&machine(), SIG_SET_NEXT_STATE, HSM_StateToPar(&BHKG_HKGrundeinstellung));
        EXPECT_EQ(clashes(), std::vector<std::string>{}) << state();
        tap(HARDKEY_OK);
        EXPECT_EQ(clashes(), std::vector<std::string>{}) << state();
    }
}

} // namespace
