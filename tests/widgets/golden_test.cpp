#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/lcd.h"
#include "sim/host/golden.h"
#include "sim/host/lcd_view.h"
#include "support/golden_check.h"
#include "ui_fixture.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/men.h"
#include "widgets/zsb.h"

namespace {

::testing::AssertionResult matchesGolden(const std::string& name)
{
    return MatchesGolden("widgets", name);
}

using Screens = UiTest;

TEST_F(Screens, HeaderWithCircuitSelectorAndFooterHint)
{
    DAT_Block(DatBlock::Config)[23] = 0x05;
    DAT_SelectCircuit(1);
    KOP_DrawCircuitHeading(TextId{209}); // "Raum-Solltemp."
    KOP_DrawLine();
    FUS_DrawHint(3); // "Ändern mit ♮"
    EXPECT_TRUE(matchesGolden("header_footer.png"));
}

void itemHeizung(const GFX_Rect& r) { MEN_DrawSubmenuItem(126, r); }    // "Heizung"
void itemWarmwasser(const GFX_Rect& r) { MEN_DrawSubmenuItem(285, r); } // "Warmwasser"
void itemCelsius(const GFX_Rect& r)
{
    GFX_TextInRect(TXT_Get(109), r, GFX_ALIGN_LEFT_CENTER); // "Grad Celsius"
    MEN_DrawOption(r, true);
}
void itemFahrenheit(const GFX_Rect& r)
{
    GFX_TextInRect(TXT_Get(110), r, GFX_ALIGN_LEFT_CENTER); // "Grad Fahrenheit"
    MEN_DrawOption(r, false);
}
void itemSprache(const GFX_Rect& r) { MEN_DrawSubmenuItem(255, r); } // "Sprache"

TEST_F(Screens, MenuWithSelectionBar)
{
    const MEN_DrawFn items[] = {itemHeizung, itemWarmwasser, itemCelsius, itemFahrenheit,
                                itemSprache};
    for (uint8_t i = 0; i < 5; ++i)
        MEN_SetItem(i, items[i]);
    MEN_SetCount(5);
    MEN_InitStandard();
    KOP_DrawLeft(TextId{79}); // "Einstellungen"
    KOP_DrawLine();
    MEN_Draw();
    MEN_Down();
    MEN_Down();
    FUS_DrawHint(5);
    EXPECT_TRUE(matchesGolden("menu.png"));
}

TEST_F(Screens, FontSampleLinesAndTimeBar)
{
    GFX_SetFont(&FNT_GetLarge());
    GFX_TextAt("21°C Äöü 0123", 2, 0);
    GFX_SetFont(&FNT_GetNormal());
    GFX_TextAt("Wählen mit ♯ ♬HK♭ ♰ ♳", 2, 34);
    GFX_TextAt("<♴> Жарко ♲ ♱ Čęść", 2, 56);
    GFX_SetFont(&FNT_GetSmall());
    GFX_TextAt("Kleine Schrift: 0123456789 ÄÖÜ äöü ß Привет", 2, 80);
    GFX_SetFont(&FNT_GetNormal());
    ZSB_Draw(88, {36, 102, 255, 255, 60, 132, 255, 255});
    EXPECT_TRUE(matchesGolden("fonts_timebar.png"));
}

} // namespace
