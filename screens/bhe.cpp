#include "screens/bhe.h"

#include <cstdio>

#include "display/fonts.h"
#include "display/lcd.h"
#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "screens/bhq.h"
#include "spine/ui_spine.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/screen.h"

namespace {

constexpr uint16_t CHECK_TIMEOUT_TICKS = 600; // 60 s without a key end the check
constexpr uint16_t DISPLAY_TEST_TICKS = 100;  // the halves change every 10 s by themselves
constexpr GFX_Rect UPPER_HALF{0, 0, 239, 79};
constexpr GFX_Rect LOWER_HALF{0, 79, 239, 159};
constexpr GFX_Rect BOX{74, 54, 164, 104};
constexpr uint16_t RESET_INFO_SEEN = 0x1234;

// The pages of the check in their ring, as Up and Down step through them, and where a page
// goes when its time is up (none: it stays).
struct Page {
    StateHandler up;
    StateHandler down;
    StateHandler afterTime;
    void (*draw)();
};

void next(Hsm& me, StateHandler page) { HSM_Tran(me, &BHE_HerstellerEndkontrolle, page); }

void drawHalf(const GFX_Rect& half)
{
    GFX_Clear();
    GFX_InvertRect(half.x0, half.y0, half.x1, half.y1);
    lcd_refresh();
    UI_StartScreenTimer(DISPLAY_TEST_TICKS);
}

void drawTitled(TextId title)
{
    GFX_Clear();
    KOP_DrawLeft(title);
    KOP_DrawLine();
    FUS_DrawHint(FUS_HINT_SELECT);
}

// The text in the large font, centred in the box, the box inverted.
void drawInBox(const char* text)
{
    GFX_ClearRect(BOX);
    const GFX_Font* font = FNT_SetLarge();
    GFX_TextInRect(text, BOX, GFX_ALIGN_CENTER);
    GFX_SetFont(font);
    GFX_InvertRect(BOX.x0, BOX.y0, BOX.x1, BOX.y1);
}

void drawKeyboardTest()
{
    drawTitled(TXT_TASTE);
    GFX_InvertRect(BOX.x0, BOX.y0, BOX.x1, BOX.y1);
    lcd_refresh();
}

void showKeyCode(uint8_t code)
{
    char text[4];
    snprintf(text, sizeof text, "%02X", code);
    drawInBox(text);
    lcd_refreshRect(BOX);
}

// Shows the reset information, then marks it as seen: the first visit after a start shows
// FFFF, every later one 1234.
void drawChecksum()
{
    drawTitled(TXT_CHECKSUMME);
    char text[8];
    snprintf(text, sizeof text, "0x%04X", APP_Persistent().resetInfo);
    drawInBox(text);
    APP_Persistent().resetInfo = RESET_INFO_SEEN;
    lcd_refresh();
}

constexpr Page DISPLAY_TEST_1{&BHE_RomChecksum, &BHE_Displaytest_2, &BHE_Displaytest_2,
                              [] { drawHalf(UPPER_HALF); }};
constexpr Page DISPLAY_TEST_2{&BHE_Displaytest_1, &BHE_Keyboardtest, &BHE_Displaytest_1,
                              [] { drawHalf(LOWER_HALF); }};
constexpr Page KEYBOARD_TEST{&BHE_Displaytest_2, &BHE_RomChecksum, nullptr, drawKeyboardTest};
constexpr Page ROM_CHECKSUM{&BHE_Keyboardtest, &BHE_Displaytest_1, nullptr, drawChecksum};

template <const Page& P> StateHandler page(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: P.draw(); return nullptr;
    case SIG_INIT: return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_UP: next(me, P.up); return nullptr;
    case SIG_KEY_DOWN: next(me, P.down); return nullptr;
    case UI_SCREEN_TIMEOUT:
        if (P.afterTime != nullptr) next(me, P.afterTime);
        return nullptr;
    }
    return &BHE_HerstellerEndkontrolle;
}

// Every key but Up and Down shows its code; Back too, which elsewhere ends the check.
StateHandler keyboardtest(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case SIG_KEY_MENU:
    case SIG_KEY_HELP: showKeyCode(BHQ_KeyCode(e.sig)); return nullptr;
    }
    return page<KEYBOARD_TEST>(me, e);
}

void restartCheckTimeout() { EVT_Post(PRIO_TIMER, SIG_TMR_MENU, CHECK_TIMEOUT_TICKS); }

StateHandler herstellerEndkontrolle(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: restartCheckTimeout(); return nullptr;
    case SIG_INIT: HSM_Start(me, &BHE_Displaytest_1); return nullptr;
    case SIG_EXIT: EVT_Post(PRIO_TIMER, SIG_TMR_MENU, 0); return nullptr;
    case SIG_KEY_ANY: restartCheckTimeout(); return nullptr;
    case SIG_KEY_BACK:
    case SIG_MENU_TIMEOUT: BSM_ColdRestart(me); return nullptr;
    case SIG_KEY_OK_UP: lcd_contrastUp(); return nullptr;
    case SIG_KEY_OK_DOWN: lcd_contrastDown(); return nullptr;
    }
    return &BSM_Systemmonitor;
}

} // namespace

HSM_STATE(BHE_HerstellerEndkontrolle, herstellerEndkontrolle);
HSM_STATE(BHE_Displaytest_1, page<DISPLAY_TEST_1>);
HSM_STATE(BHE_Displaytest_2, page<DISPLAY_TEST_2>);
HSM_STATE(BHE_Keyboardtest, keyboardtest);
HSM_STATE(BHE_RomChecksum, page<ROM_CHECKSUM>);
