// The footer: one operating hint centred below the footer separator.
#pragma once

#include <array>
#include <cstdint>

#include "display/text.h"
#include "gfx/gfx.h"

inline constexpr GFX_Rect FUS_AREA{0, 132, 239, 159};
inline constexpr GFX_Rect FUS_TEXT_RECT{1, 133, 238, 159};
inline constexpr int16_t FUS_SEPARATOR_Y = 132;

// The hints by number; 19 and above show the empty text.
inline constexpr std::array<TextId, 19> FUS_HINTS{
    284, // 0 "Wählen mit ♯"
    283, // 1 "Wählen mit ♮"
    18,  // 2 "Ändern mit ♯"
    17,  // 3 "Ändern mit ♮"
    16,  // 4 "Ändern mit ♰"
    295, // 5 "Weiter mit OK"
    35,  // 6 "Beenden mit OK"
    270, // 7 "Übernommen"
    189, // 8 "Nicht übernommen"
    269, // 9 "Übernehmen mit OK"
    140, // 10 "Ist eingestellt"
    233, // 11 "Siehe Fernbedienung"
    118, // 12 "Heizkreis gewechselt"
    299, // 13 "Wurde gewählt"
    83,  // 14 "Entriegeln mit Reset"
    49,  // 15 "Bitte warten"
    311, // 16 "Zurück mit ♳"
    207, // 17 "Quittieren mit OK"
    296, // 18 "Weiter mit ♯"
};
inline constexpr uint8_t FUS_HINT_SELECT = 0;
inline constexpr uint8_t FUS_HINT_CONTINUE_OK = 5;
// "Weiter mit OK" stays 4 s after the last move, then the selection hint returns.
inline constexpr uint16_t FUS_HINT_TICKS = 40;

inline constexpr TextId FUS_HintText(uint8_t number)
{
    return number < FUS_HINTS.size() ? FUS_HINTS[number] : TXT_NONE;
}

// Clears the footer, draws the hint centred and the footer separator.
void FUS_DrawHint(uint8_t number);
void FUS_Refresh();
