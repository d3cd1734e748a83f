// The footer: one operating hint centred below the footer separator.
#pragma once

#include <array>
#include <cstdint>

#include "base/tables.h"
#include "display/text.h"
#include "gfx/gfx.h"

inline constexpr GFX_Rect FUS_AREA{0, 132, 239, 159};
inline constexpr GFX_Rect FUS_TEXT_RECT{1, 133, 238, 159};
inline constexpr int16_t FUS_SEPARATOR_Y = 132;

// The hints by number. Screens name a hint by its number's name; the number is what they keep
// to redraw the hint shown last.
inline constexpr uint8_t FUS_HINT_SELECT = 0;
inline constexpr uint8_t FUS_HINT_SELECT_LEFT_RIGHT = 1;
inline constexpr uint8_t FUS_HINT_CHANGE = 2;
inline constexpr uint8_t FUS_HINT_CHANGE_LEFT_RIGHT = 3;
inline constexpr uint8_t FUS_HINT_CHANGE_ARROWS = 4;
inline constexpr uint8_t FUS_HINT_CONTINUE_OK = 5;
inline constexpr uint8_t FUS_HINT_END_OK = 6;
inline constexpr uint8_t FUS_HINT_TAKEN = 7;
inline constexpr uint8_t FUS_HINT_NOT_TAKEN = 8;
inline constexpr uint8_t FUS_HINT_TAKE_OK = 9;
inline constexpr uint8_t FUS_HINT_IS_SET = 10;
inline constexpr uint8_t FUS_HINT_SEE_REMOTE_CONTROL = 11;
inline constexpr uint8_t FUS_HINT_CIRCUIT_CHANGED = 12;
inline constexpr uint8_t FUS_HINT_CHOSEN = 13;
inline constexpr uint8_t FUS_HINT_UNLOCK_RESET = 14;
inline constexpr uint8_t FUS_HINT_WAIT = 15;
inline constexpr uint8_t FUS_HINT_BACK = 16;
inline constexpr uint8_t FUS_HINT_ACKNOWLEDGE_OK = 17;
inline constexpr uint8_t FUS_HINT_CONTINUE_DOWN = 18;
// Shows the empty text: the footer keeps only its separator.
inline constexpr uint8_t FUS_HINT_NONE = 19;

struct FusHint {
    uint8_t hint;
    TextId text;
};
// The text of each hint.
inline constexpr std::array<FusHint, FUS_HINT_NONE> FUS_HINTS{{
    {FUS_HINT_SELECT, TXT_WAEHLEN_MIT_AUF_AB},
    {FUS_HINT_SELECT_LEFT_RIGHT, TXT_WAEHLEN_MIT_LINKS_RECHTS},
    {FUS_HINT_CHANGE, TXT_AENDERN_MIT_AUF_AB},
    {FUS_HINT_CHANGE_LEFT_RIGHT, TXT_AENDERN_MIT_LINKS_RECHTS},
    {FUS_HINT_CHANGE_ARROWS, TXT_AENDERN_MIT_PFEILTASTEN},
    {FUS_HINT_CONTINUE_OK, TXT_WEITER_MIT_OK},
    {FUS_HINT_END_OK, TXT_BEENDEN_MIT_OK},
    {FUS_HINT_TAKEN, TXT_UEBERNOMMEN},
    {FUS_HINT_NOT_TAKEN, TXT_NICHT_UEBERNOMMEN},
    {FUS_HINT_TAKE_OK, TXT_UEBERNEHMEN_MIT_OK},
    {FUS_HINT_IS_SET, TXT_IST_EINGESTELLT},
    {FUS_HINT_SEE_REMOTE_CONTROL, TXT_SIEHE_FERNBEDIENUNG},
    {FUS_HINT_CIRCUIT_CHANGED, TXT_HEIZKREIS_GEWECHSELT},
    {FUS_HINT_CHOSEN, TXT_WURDE_GEWAEHLT},
    {FUS_HINT_UNLOCK_RESET, TXT_ENTRIEGELN_MIT_RESET},
    {FUS_HINT_WAIT, TXT_BITTE_WARTEN},
    {FUS_HINT_BACK, TXT_ZURUECK_MIT_ZURUECKTASTE},
    {FUS_HINT_ACKNOWLEDGE_OK, TXT_QUITTIEREN_MIT_OK},
    {FUS_HINT_CONTINUE_DOWN, TXT_WEITER_MIT_AUF_AB},
}};
static_assert(TBL_KeysDenseFrom(FUS_HINTS, &FusHint::hint, 0), "the hints by number, from 0");

// "Weiter mit OK" stays 4 s after the last move, then the selection hint returns.
inline constexpr uint16_t FUS_HINT_TICKS = 40;

inline constexpr TextId FUS_HintText(uint8_t number)
{
    return number < FUS_HINTS.size() ? FUS_HINTS[number].text : TXT_NONE;
}

// Clears the footer, draws the hint centred and the footer separator.
void FUS_DrawHint(uint8_t number);
void FUS_Refresh();
