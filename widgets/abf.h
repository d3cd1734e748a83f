// The yes/no question ("Ja" or "Nein" in an answer field) and the feedback screen that follows
// a change, as shells: a question or feedback state is a descriptor and a one-line handler.
//
//   void acknowledge(Hsm& me) { DIS_SendFaultAck(FAULT_ACK); UI_Continue(me, &BSD_Feedback); }
//   void backToList(Hsm& me) { UI_Back(me, &BSD_Stoerungsdialog, PAR_BACK); }
//   constexpr ABF_Question QUESTION{.title = TXT_STOERUNG, .question = TXT_QUITTIEREN_FRAGE,
//                                   .yes = acknowledge, .no = backToList, .back = backToList,
//                                   .help = HLP_BSD_QUITTIEREN};
//   StateHandler abfrage(Hsm& me, const Event& e)
//   {
//       return ABF_HandleQuestion(QUESTION, me, e) ? nullptr : &BMM_Menuemonitor;
//   }
//   constexpr ABF_Feedback FEEDBACK{.draw = [] { ABF_DrawQuestion(QUESTION, false); },
//                                   .done = backToList};
//
// The question: reason 3 starts on "Nein"; the field is inverted while the question is open;
// every arrow key toggles the answer ("Weiter mit OK" for 4 s, then "Wählen mit ♯" again); OK
// runs yes or no, Back runs back; help opens the help code. The feedback: its drawing, the hint
// ("Übernommen") for 4 s; OK, Back and the end of the time run done, the arrow keys again.
// Either handler returns false for what it does not handle (and for a null action).
#pragma once

#include <cstdint>

#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/hsm.h"
#include "widgets/fus.h"
#include "widgets/help_codes.h"

inline constexpr GFX_Rect ABF_QUESTION_RECT{1, 29, 238, 52};
inline constexpr GFX_Rect ABF_ANSWER_RECT{74, 67, 164, 117};

struct ABF_Question {
    TextId title = TXT_NONE;         // left in the header, with the separator
    void (*header)() = nullptr;      // draws the header instead of the title
    TextId question = TXT_NONE;      // left in ABF_QUESTION_RECT
    void (*yes)(Hsm& me) = nullptr;  // OK on "Ja"
    void (*no)(Hsm& me) = nullptr;   // OK on "Nein"
    void (*back)(Hsm& me) = nullptr; // Back
    HelpCode help = 0;               // 0: the help request goes on to the parent
    uint8_t toggledHint = FUS_HINT_CONTINUE_OK;
    GFX_Rect answerRect = ABF_ANSWER_RECT;
};

// One answer for the question open now; the feedback after it shows the same.
bool ABF_Yes();
void ABF_SetAnswer(bool yes);
// Clears the display and draws title, question and answer, the field inverted when selected;
// no hint, no refresh.
void ABF_DrawQuestion(const ABF_Question& q, bool selected);
bool ABF_HandleQuestion(const ABF_Question& q, Hsm& me, const Event& e);

struct ABF_Feedback {
    void (*draw)() = nullptr;         // the screen behind the hint
    void (*done)(Hsm& me) = nullptr;  // OK, Back and the end of the time
    void (*again)(Hsm& me) = nullptr; // the arrow keys (back to editing)
    uint8_t hint = FUS_HINT_TAKEN;
    uint16_t ticks = FUS_HINT_TICKS;
};

bool ABF_HandleFeedback(const ABF_Feedback& f, Hsm& me, const Event& e);

// A result said in a word or two ("Aus", "Nicht einstellbar", the name of a programme): in the
// large font, centred in its area and wrapped at word boundaries where a language needs more
// than one line, as the message screens do. The boxed form frames the area.
inline constexpr GFX_Rect ABF_STATEMENT_AREA{1, 28, 238, 131};
void ABF_DrawStatement(TextId text, const GFX_Rect& area = ABF_STATEMENT_AREA);
void ABF_DrawBoxedStatement(TextId text, const GFX_Rect& box);

// At every panel start.
void ABF_Reset();
