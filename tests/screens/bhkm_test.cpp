// The heating-circuit menu and the hot-water menu where a script cannot set the plant up:
// one heating circuit, no hot water, no circulation pump, flags set by the controller.
#include <set>
#include <string>

#include "screens/bga.h"
#include "screens/bhkm.h"
#include "screens/bwwm.h"
#include "screens/screen_fixture.h"
#include "sim/hal/keys.h"
#include "widgets/screen.h"

namespace {

constexpr uint8_t CIRCUIT_CONFIG = 23;
constexpr uint8_t ONLY_CIRCUIT_1 = 0x01;

class CircuitMenus : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    static void open(const State& s) { UI_Open(machine(), &s); }
    // The rows whose radio glyph shows "on" ("♲").
    static std::set<std::string> rowsMarkedOn()
    {
        std::set<std::string> rows;
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i) {
            const GFX_VisibleText& glyph = GFX_GetVisibleText(i);
            if (std::strcmp(glyph.text, "♲") != 0) continue;
            for (uint16_t j = 0; j < GFX_VisibleTextCount(); ++j)
                if (GFX_GetVisibleText(j).rect.y0 == glyph.rect.y0 && j != i)
                    rows.insert(GFX_GetVisibleText(j).text);
        }
        return rows;
    }
};

TEST_F(CircuitMenus, WithOneCircuitLeftAndRightDoNothingAndNoSelectorShows)
{
    DAT_Block(DatBlock::Config)[CIRCUIT_CONFIG] = ONLY_CIRCUIT_1;
    open(BHKM_HKMenue);
    ASSERT_EQ(state(), "BHKM_HKMenue");
    EXPECT_TRUE(shows("Erdgeschoss"));
    EXPECT_FALSE(shows("HK1")) << visibleTexts();
    for (int key : {HARDKEY_RIGHT, HARDKEY_LEFT}) {
        tap(key);
        EXPECT_EQ(state(), "BHKM_HKMenue");
        EXPECT_EQ(DAT_GetSelectedCircuit(), 1);
    }
}

TEST_F(CircuitMenus, TheRadioGlyphsFollowPartyEconomyAndTheHolidayDate)
{
    struct Case {
        void (*set)();
        const char* row;
    };
    const Case cases[] = {
        {[] { DAT_SetPartyMode(true); }, "Partybetrieb"},
        {[] { DAT_SetEconomyMode(true); }, "Sparbetrieb"},
        {[] { DAT_SetHolidayStart(1767571200); }, "Ferienprogramm"}, // 2026-01-05
    };
    for (const Case& c : cases) {
        UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
        DAT_SetPartyMode(false);
        DAT_SetEconomyMode(false);
        DAT_ClearHoliday();
        c.set();
        open(BHKM_HKMenue);
        std::set<std::string> on = rowsMarkedOn();
        for (int i = 0; i < 7; ++i) {
            tap(HARDKEY_DOWN);
            on.merge(rowsMarkedOn());
        }
        EXPECT_EQ(on, std::set<std::string>{c.row});
    }
}

TEST_F(CircuitMenus, TheHotWaterMenuShowsOnlyWhatThePlantHas)
{
    struct Case {
        bool dhw;
        bool circulation;
        const char* shown;
    };
    const Case cases[] = {
        {true, true, "Warmwassertemperatur Zeitprogr.Warmwasser Zeitprogr.Zirkulation"},
        {true, false, "Warmwassertemperatur Zeitprogr.Warmwasser"},
        {false, true, "Zeitprogr.Zirkulation"},
        {false, false, ""},
    };
    for (const Case& c : cases) {
        UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
        DAT_SetFlag(DatFlag::DhwPresent, c.dhw);
        DAT_SetFlag(DatFlag::CirculationPumpConfigured, c.circulation);
        open(BWWM_WWMenue);
        std::string rows;
        for (const char* t :
             {"Warmwassertemperatur", "Zeitprogr.Warmwasser", "Zeitprogr.Zirkulation"})
            if (shows(t)) rows += std::string(rows.empty() ? "" : " ") + t;
        EXPECT_EQ(rows, c.shown);
        tap(HARDKEY_OK);
        if (c.shown[0] == 0) {
            EXPECT_EQ(state(), "BWWM_WWMenue") << "nothing to open";
        }
    }
}

} // namespace
