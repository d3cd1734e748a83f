#include "widgets/fus.h"

#include "display/lcd.h"

void FUS_DrawHint(uint8_t number)
{
    GFX_ClearRect(FUS_AREA);
    GFX_TextInRect(TXT_Get(FUS_HintText(number)), FUS_TEXT_RECT, GFX_ALIGN_CENTER);
    GFX_DrawHLine(FUS_SEPARATOR_Y, 0, GFX_WIDTH - 1);
}

void FUS_Refresh() { lcd_refreshRect(FUS_AREA); }
