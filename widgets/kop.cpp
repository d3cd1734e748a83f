#include "widgets/kop.h"

#include <array>

#include "data/datapool.h"
#include "display/lcd.h"
#include "pictures.h"
#include "widgets/status_texts.h"

namespace {

constexpr uint16_t KEY_LEFT_BRACKET = 0x266C;  // "♬"
constexpr uint16_t KEY_RIGHT_BRACKET = 0x266D; // "♭"
constexpr int16_t ICON_GAP = 2;
constexpr int16_t SELECTOR_BOX_TOP = 3;
constexpr int16_t SELECTOR_BOX_BOTTOM = 23;
constexpr int16_t SELECTOR_PADDING = 2;

GFX_Rect headerFrom(int16_t x0, int16_t x1 = KOP_TEXT_RECT.x1)
{
    return {x0, KOP_TEXT_RECT.y0, x1, KOP_TEXT_RECT.y1};
}

// Draws the selector ending at the right edge; returns its left x.
int16_t drawSelector(uint8_t circuit)
{
    const int16_t right = KOP_TEXT_RECT.x1;
    char label[24];
    TXT_GetInto(circuit == 2 ? TXT_HK2 : TXT_HK1, label, sizeof label);
    const int16_t labelWidth = GFX_TextWidth(label);
    const int16_t boxX1 = static_cast<int16_t>(right - GFX_CharWidth(KEY_RIGHT_BRACKET));
    const int16_t boxX0 = static_cast<int16_t>(boxX1 - labelWidth - 2 * SELECTOR_PADDING + 1);
    const int16_t leftX = static_cast<int16_t>(boxX0 - GFX_CharWidth(KEY_LEFT_BRACKET));
    const int16_t glyphTop =
        static_cast<int16_t>((KOP_AREA.y1 + 1 - (GFX_GetFont() ? GFX_GetFont()->height : 0)) / 2);
    GFX_CharAt(KEY_LEFT_BRACKET, leftX, glyphTop);
    const GFX_Rect box{boxX0, SELECTOR_BOX_TOP, boxX1, SELECTOR_BOX_BOTTOM};
    GFX_FillRect(box);
    const uint8_t mode = GFX_SetTextMode(GFX_TEXT_REVERSE);
    GFX_TextInRect(label, box, GFX_ALIGN_CENTER);
    GFX_SetTextMode(mode);
    GFX_CharAt(KEY_RIGHT_BRACKET, static_cast<int16_t>(boxX1 + 1), glyphTop);
    return leftX;
}

struct HeaderIcon {
    const GFX_Bitmap* on;
    const GFX_Bitmap* off;
    int16_t x, y;
};
// Icons of the header by KopIcon.
constexpr std::array<HeaderIcon, 1> ICONS{{{&PIC_FlueGasOn, &PIC_FlueGasOff, 216, 3}}};

} // namespace

void KOP_DrawLine() { GFX_DrawHLine(KOP_SEPARATOR_Y, 0, GFX_WIDTH - 1); }

void KOP_DrawCentered(const char* text)
{
    GFX_ClearRect(KOP_AREA);
    GFX_TextInRect(text, KOP_TEXT_RECT, GFX_ALIGN_CENTER);
}
void KOP_DrawCentered(TextId id) { KOP_DrawCentered(TXT_Get(id)); }

void KOP_DrawLeft(const char* text)
{
    GFX_ClearRect(KOP_AREA);
    GFX_TextInRect(text, KOP_TEXT_RECT, GFX_ALIGN_LEFT_CENTER);
}
void KOP_DrawLeft(TextId id) { KOP_DrawLeft(TXT_Get(id)); }

void KOP_DrawRight(const char* text)
{
    GFX_TextInRect(text, KOP_TEXT_RECT, GFX_ALIGN_RIGHT_CENTER);
}
void KOP_DrawRight(TextId id) { KOP_DrawRight(TXT_Get(id)); }

void KOP_DrawLeftRight(TextId left, TextId right)
{
    KOP_DrawLeft(left);
    KOP_DrawRight(right);
}

void KOP_DrawIconText(const GFX_Bitmap& icon, TextId id)
{
    GFX_ClearRect(KOP_AREA);
    GFX_DrawBitmap(icon, 1, 0);
    GFX_TextInRect(TXT_Get(id), headerFrom(static_cast<int16_t>(1 + icon.width + ICON_GAP)),
                   GFX_ALIGN_LEFT_CENTER);
}

void KOP_DrawIconTextRight(const GFX_Bitmap& icon, TextId left, TextId right)
{
    KOP_DrawIconText(icon, left);
    KOP_DrawRight(right);
}

void KOP_DrawIconCentered(const GFX_Bitmap& icon, TextId id)
{
    GFX_ClearRect(KOP_AREA);
    const char* text = TXT_Get(id);
    const int16_t group = static_cast<int16_t>(icon.width + ICON_GAP + GFX_TextWidth(text));
    const int16_t x = static_cast<int16_t>(KOP_TEXT_RECT.x0 +
                                           (KOP_TEXT_RECT.x1 - KOP_TEXT_RECT.x0 + 1 - group) / 2);
    GFX_DrawBitmap(icon, x, 0);
    GFX_TextInRect(text, headerFrom(static_cast<int16_t>(x + icon.width + ICON_GAP)),
                   GFX_ALIGN_LEFT_CENTER);
}

void KOP_DrawCircuitSelector(uint8_t circuit) { drawSelector(circuit); }

void KOP_DrawCircuitHeading(TextId id)
{
    KOP_DrawLeft(id);
    drawSelector(DAT_GetSelectedCircuit());
}

void KOP_DrawCircuitName()
{
    KOP_DrawLeft(TXT_CircuitName());
    drawSelector(DAT_GetSelectedCircuit());
}

void KOP_DrawTitleWithCircuit(TextId title, TextId text)
{
    KOP_DrawLeft(title);
    const int16_t titleEnd = static_cast<int16_t>(KOP_TEXT_RECT.x0 + GFX_TextWidth(TXT_Get(title)));
    const TextId label = TXT_CircuitLabel();
    int16_t right = KOP_TEXT_RECT.x1;
    if (label != TXT_NONE) {
        const char* labelText = TXT_Get(label);
        right = static_cast<int16_t>(right - GFX_TextWidth(labelText) - 1);
        KOP_DrawRight(labelText);
    }
    GFX_TextInRect(TXT_Get(text), headerFrom(titleEnd, right),
                   label != TXT_NONE ? GFX_ALIGN_CENTER : GFX_ALIGN_RIGHT_CENTER);
}

void KOP_DrawCircuitTitle(TextId title)
{
    KOP_DrawLeft(title);
    if (DAT_CircuitCount() >= 2) KOP_DrawRight(DAT_GetSelectedCircuit() == 2 ? TXT_HK2 : TXT_HK1);
}

void KOP_Refresh() { lcd_refreshRect({0, 0, GFX_WIDTH - 1, KOP_SEPARATOR_Y}); }

void KOP_DrawIcon(KopIcon icon, bool on)
{
    const HeaderIcon& i = ICONS[static_cast<size_t>(icon)];
    GFX_DrawBitmap(on ? *i.on : *i.off, i.x, i.y);
}
