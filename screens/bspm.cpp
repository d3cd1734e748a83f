#include "screens/bspm.h"

#include "data/datapool.h"
#include "display/fonts.h"
#include "display/lcd.h"
#include "link/dis.h"
#include "spine/ui_spine.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/screen.h"

namespace {

constexpr GFX_Rect MESSAGE_RECT{0, 28, 239, 131};

// The service functions that opened the message. Coming back from help the menu monitor has
// recorded this screen itself, so the opener seen first is kept.
StateHandler opener = nullptr;

void show()
{
    if (BMM_LastMenuChild() != &BSPM_ServicePinMessage) opener = BMM_LastMenuChild();
    GFX_Clear();
    KOP_DrawLeft(TXT_SERVICE_MESSAGE);
    KOP_DrawLine();
    // Only a LON module can send the identification message.
    if (DAT_LonModulePresent()) {
        DIS_SendServicePin();
        const GFX_Font* font = FNT_SetLarge();
        GFX_TextInRectWrap(TXT_Get(TXT_LON_MODUL), MESSAGE_RECT, GFX_ALIGN_CENTER, GFX_WRAP_WORDS);
        GFX_SetFont(font);
    }
    FUS_DrawHint(FUS_HINT_WAIT);
    UI_StartScreenTimer(FUS_HINT_TICKS);
    lcd_refresh();
}

StateHandler servicePinMessage(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: show(); return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case UI_SCREEN_TIMEOUT: UI_Return(me, opener, PAR_BACK); return nullptr;
    }
    return &BMM_Menuemonitor;
}

} // namespace

HSM_STATE(BSPM_ServicePinMessage, servicePinMessage);

void BSPM_Reset() { opener = nullptr; }
