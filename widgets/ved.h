// The value editor: one value with step and bounds, drawn into its field by a format function.
//
// Below it, the value editor screen shell. A set-value family is a container (it remembers
// where to return and sets the editor up), an editing dialog and a feedback, all children of
// the container; the dialog and the feedback are one descriptor and two one-line handlers:
//
//   int16_t storedRoomTemp() { return DAT_ToDisplayTemp(DAT_GetRoomSetTemp()); }
//   VED_Limits roomLimits() { return DAT_GetTempUnitFahrenheit() ? ROOM_F : ROOM_C; }
//   void sendRoomTemp(int16_t value) { ...store the value in Celsius, queue command 205... }
//   constexpr VED_Screen ROOM{.header = drawTitleWithCircuit, .get = storedRoomTemp,
//                             .limits = roomLimits, .send = sendRoomTemp,
//                             .format = FMT_DrawTemperature, .container = &BRT_Raumtemperatur,
//                             .dialog = &BRT_TemperaturDialog, .feedback = &BRT_Feedback};
//   container:  Init: VED_ScreenSetUp(ROOM), HSM_Start(me, &BRT_TemperaturDialog); Back: return
//   dialog:     return VED_HandleDialog(ROOM, me, e) ? nullptr : &BRT_Raumtemperatur;
//   feedback:   return VED_HandleFeedback(ROOM, me, e) ? nullptr : &BRT_Raumtemperatur;
//
// The dialog: entry sets the key acceleration; init draws header, the field inverted and
// "Ändern mit ♯"; Up/Right and Down/Left step the value ("Übernehmen mit OK" for 4 s, then the
// resting hint again); OK sends the value and goes to the feedback; help opens the help code.
// The feedback: the field not inverted, "Übernommen" for 4 s; the arrow keys go back to the
// dialog; OK and the end of the time send Back to the own machine, which the container turns
// into its way out. Back is the container's everywhere. Both return false for the rest.
#pragma once

#include <cstdint>

#include "display/fonts.h"
#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/hsm.h"
#include "widgets/fus.h"
#include "widgets/help_codes.h"

struct VED_Values {
    int16_t value;
    int16_t step;
    int16_t min;
    int16_t max;
};

// Draws a value into the field (already narrowed by one pixel left and right).
using VED_FormatFn = void (*)(const GFX_Rect& r, int16_t value);

// A negative step counts as positive; the value is clamped into [min, max].
void VED_Init(const VED_Values& values, VED_FormatFn format, const GFX_Rect& field,
              const GFX_Font* font);
// Reverse mode fills the field (the value being edited), the others clear it.
void VED_Draw(uint8_t textMode);
// One step up or down, stopping at the bounds without wrapping, then drawn in reverse.
void VED_Inc();
void VED_Dec();

int16_t VED_GetValue();
int16_t VED_GetStep();
int16_t VED_GetMin();
int16_t VED_GetMax();
void VED_SetRect(const GFX_Rect& field);

// --- the value editor screen shell -------------------------------------------------------

inline constexpr GFX_Rect VED_FIELD{74, 54, 164, 104};
inline constexpr uint8_t VED_KEY_ACCEL = 12;

struct VED_Limits {
    int16_t min;
    int16_t max;
    int16_t step;
};

struct VED_Screen {
    TextId title = TXT_NONE;               // left in the header, with the separator
    void (*header)() = nullptr;            // draws the header instead of the title
    int16_t (*get)() = nullptr;            // the stored value, in display units
    VED_Limits (*limits)() = nullptr;      // in display units
    void (*send)(int16_t value) = nullptr; // stores the value, sends it to the controller
    VED_FormatFn format = nullptr;         // draws the value into the field
    StateHandler container = nullptr;      // the family, parent of dialog and feedback
    StateHandler dialog = nullptr;
    StateHandler feedback = nullptr;
    HelpCode help = 0; // 0: the help request goes on to the parent
    GFX_Rect field = VED_FIELD;
    const GFX_Font& (*font)() = FNT_GetLarge;
    uint8_t restingHint = FUS_HINT_CHANGE;
    uint8_t keyAccel = VED_KEY_ACCEL;
};

// The editor from the stored value and the limits (the container's init).
void VED_ScreenSetUp(const VED_Screen& s);
// Clears the display and draws header, the field (inverted while editing) and the hint.
void VED_ScreenDraw(const VED_Screen& s, bool editing, uint8_t hint);
bool VED_HandleDialog(const VED_Screen& s, Hsm& me, const Event& e);
bool VED_HandleFeedback(const VED_Screen& s, Hsm& me, const Event& e);
