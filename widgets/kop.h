// The header: a title line above the header separator, optionally with an icon and the
// heating-circuit selector.
#pragma once

#include <cstdint>

#include "display/text.h"
#include "gfx/gfx.h"

inline constexpr GFX_Rect KOP_AREA{0, 0, 239, 26};
inline constexpr GFX_Rect KOP_TEXT_RECT{1, 0, 238, 26};
inline constexpr int16_t KOP_SEPARATOR_Y = 27;

void KOP_DrawLine();
// Clear the header and draw the text centred or left; DrawRight draws without clearing.
void KOP_DrawCentered(const char* text);
void KOP_DrawCentered(TextId id);
void KOP_DrawLeft(const char* text);
void KOP_DrawLeft(TextId id);
void KOP_DrawRight(const char* text);
void KOP_DrawRight(TextId id);
void KOP_DrawLeftRight(TextId left, TextId right);

void KOP_DrawIconText(const GFX_Bitmap& icon, TextId id);
void KOP_DrawIconTextRight(const GFX_Bitmap& icon, TextId left, TextId right);
void KOP_DrawIconCentered(const GFX_Bitmap& icon, TextId id);

// "♬", the circuit's label in a filled box, "♭" at the right edge; circuit 1 or 2.
void KOP_DrawCircuitSelector(uint8_t circuit);
void KOP_DrawCircuitHeading(TextId id);
void KOP_DrawCircuitName();
void KOP_DrawTitleWithCircuit(TextId title, TextId text);
// The title of a screen that works on the current heating circuit: left, and with two or more
// circuits the circuit's short name ("HK1", "HK2") at the right, so the user knows which one.
void KOP_DrawCircuitTitle(TextId title);

void KOP_Refresh();

// Icons with a fixed place in the header, drawn on or off.
enum class KopIcon : uint8_t { FlueGas };
void KOP_DrawIcon(KopIcon icon, bool on);
