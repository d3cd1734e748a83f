#include "screens/bha.h"

#include <array>
#include <cstring>

#include "data/datapool.h"
#include "display/lcd.h"
#include "gfx/gfx.h"
#include "kernel/dtm.h"
#include "kernel/evt.h"
#include "screens/bga.h"
#include "spine/ui_spine.h"
#include "widgets/fmt.h"
#include "widgets/fus.h"
#include "widgets/kop.h"
#include "widgets/screen.h"

namespace {

struct HelpEntry {
    TextId title;
    TextId text;
};

constexpr uint32_t FIRST_CODE = 16;
// Title and help text by help code, from code 16 on.
constexpr std::array<HelpEntry, 125> HELP{{
    {129, 390}, {129, 313}, {259, 369}, {291, 365}, {126, 317}, {285, 325}, // 16..
    {237, 323}, {135, 318}, {201, 326}, {132, 390}, {259, 367}, {259, 370}, // 22..
    {143, 388}, {195, 389}, {201, 326}, {273, 351}, {291, 361}, {210, 322}, // 28..
    {40, 315},  {197, 320}, {249, 324}, {114, 316}, {193, 319}, {10, 314},  // 34..
    {210, 321}, {214, 327}, {40, 315},  {197, 320}, {249, 324}, {305, 328}, // 40..
    {95, 334},  {115, 337}, {179, 329}, {178, 330}, {225, 331}, {177, 332}, // 46..
    {68, 332},  {173, 332}, {72, 332},  {101, 332}, {224, 332}, {248, 332}, // 52..
    {126, 333}, {8, 335},   {220, 336}, {183, 338}, {190, 339}, {289, 340}, // 58..
    {306, 342}, {307, 345}, {30, 343},  {134, 344}, {179, 329}, {178, 330}, // 64..
    {225, 331}, {177, 332}, {68, 332},  {173, 332}, {72, 332},  {101, 332}, // 70..
    {224, 332}, {248, 332}, {285, 333}, {30, 346},  {134, 347}, {179, 329}, // 76..
    {178, 330}, {225, 331}, {177, 332}, {68, 332},  {173, 332}, {72, 332},  // 82..
    {101, 332}, {224, 332}, {248, 332}, {308, 333}, {259, 366}, {291, 360}, // 88..
    {126, 317}, {285, 325}, {135, 348}, {79, 350},  {227, 390}, {15, 348},  // 94..
    {116, 348}, {117, 348}, {285, 348}, {235, 348}, {64, 349},  {273, 351}, // 100..
    {255, 352}, {154, 353}, {128, 354}, {268, 357}, {119, 358}, {111, 359}, // 106..
    {32, 355},  {70, 356},  {119, 358}, {291, 362}, {291, 362}, {205, 363}, // 112..
    {218, 364}, {259, 391}, {259, 391}, {259, 391}, {259, 391}, {259, 391}, // 118..
    {259, 391}, {259, 391}, {259, 391}, {259, 391}, {259, 391}, {205, 368}, // 124..
    {259, 391}, {259, 391}, {259, 391}, {259, 391}, {259, 391}, {259, 391}, // 130..
    {259, 391}, {259, 391}, {259, 391}, {259, 391}, {160, 391},             // 136..
}};

// The help text of a fault by the help category of its record; a category beyond the table
// keeps the text of the help code.
constexpr std::array<TextId, 18> FAULT_HELP{391, 371, 372, 373, 374, 375, 376, 377, 378,
                                            379, 380, 381, 382, 383, 384, 385, 386, 387};

constexpr uint8_t FAULT_RECORDS = 10;
constexpr TextId TXT_CODE = 58;
constexpr TextId TXT_NO_TIME = 2; // "--:--"
constexpr TextId TXT_UHR = 271;
constexpr uint8_t HINT_END_OK = 6;
constexpr uint8_t HINT_NEXT_DOWN = 18;

constexpr GFX_Rect TEXT_AREA{1, 28, 238, 131};
constexpr GFX_Rect FAULT_TEXT_AREA{1, 48, 238, 131};
constexpr GFX_Rect FAULT_TIME_RECT{1, 30, 238, 50};
constexpr int16_t SLOT_TOP = 30, FAULT_SLOT_TOP = 50, SLOT_HEIGHT = 20;
constexpr uint8_t PAGE_LINES = 5, FAULT_PAGE_LINES = 4;

struct Help {
    StateHandler returnState;
    TextId text;
    uint8_t lines;
    uint8_t first;
    bool faultMode;
};
Help help{};

uint8_t pageLines() { return help.faultMode ? FAULT_PAGE_LINES : PAGE_LINES; }
bool paged() { return help.lines > pageLines(); }
const GFX_Rect& textArea() { return help.faultMode ? FAULT_TEXT_AREA : TEXT_AREA; }

uint8_t countLines(const char* text)
{
    uint8_t lines = 1;
    for (const char* p = text; *p != 0; ++p)
        lines = static_cast<uint8_t>(lines + (*p == '\n'));
    return lines;
}

// Appends a blank and the text of id; the buffer holds `size` bytes.
void appendWord(char* buffer, size_t size, TextId id)
{
    const size_t n = std::strlen(buffer);
    if (n + 2 >= size) return;
    buffer[n] = ' ';
    TXT_GetInto(id, buffer + n + 1, static_cast<uint16_t>(size - n - 1));
}

void appendTwoDigits(char*& p, uint8_t value, char separator)
{
    p += FMT_UintZero(value, p, 2);
    if (separator != 0) *p++ = separator;
    *p = 0;
}

// Date left, time with seconds right; a record without a time shows only "--:-- Uhr".
void drawFaultTime(uint32_t seconds)
{
    char text[48];
    if (seconds == 0) {
        TXT_GetInto(TXT_NO_TIME, text, sizeof text);
        appendWord(text, sizeof text, TXT_UHR);
        GFX_TextInRect(text, FAULT_TIME_RECT, GFX_ALIGN_RIGHT_CENTER);
        return;
    }
    const DateTime t = DTM_SecondsToDateTime(seconds);
    FMT_DateTime(t, FmtDateTime::DateLongYear, text, sizeof text);
    GFX_TextInRect(text, FAULT_TIME_RECT, GFX_ALIGN_LEFT_CENTER);
    char* p = text;
    appendTwoDigits(p, t.hour, ':');
    appendTwoDigits(p, t.minute, ':');
    appendTwoDigits(p, t.second, 0);
    appendWord(text, sizeof text, TXT_UHR);
    GFX_TextInRect(text, FAULT_TIME_RECT, GFX_ALIGN_RIGHT_CENTER);
}

void drawFaultCode(uint8_t code)
{
    char text[32];
    TXT_GetInto(TXT_CODE, text, sizeof text - 4);
    const size_t n = std::strlen(text);
    text[n] = ' ';
    FMT_Hex(code, text + n + 1, 2);
    KOP_DrawRight(text);
}

void drawPage()
{
    GFX_ClearRect(textArea());
    const char* p = TXT_Get(help.text);
    for (uint8_t skip = help.first; skip > 0 && *p != 0; --skip) {
        p = std::strchr(p, '\n');
        p = p != nullptr ? p + 1 : "";
    }
    const int16_t top = help.faultMode ? FAULT_SLOT_TOP : SLOT_TOP;
    for (uint8_t slot = 0; slot < pageLines() && *p != 0; ++slot) {
        const char* end = std::strchr(p, '\n');
        const size_t length = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
        char line[160];
        const size_t n = length < sizeof line ? length : sizeof line - 1;
        std::memcpy(line, p, n);
        line[n] = 0;
        const int16_t y0 = static_cast<int16_t>(top + slot * SLOT_HEIGHT);
        GFX_TextInRect(
            line, GFX_Rect{TEXT_AREA.x0, y0, TEXT_AREA.x1, static_cast<int16_t>(y0 + SLOT_HEIGHT)},
            GFX_ALIGN_LEFT_CENTER);
        p = end != nullptr ? end + 1 : p + length;
    }
}

void show(uint32_t code)
{
    const HelpEntry& entry =
        HELP[code >= FIRST_CODE && code < FIRST_CODE + HELP.size() ? code - FIRST_CODE : 0];
    help.text = entry.text;
    help.faultMode = false;
    uint8_t faultCode = 0;
    uint16_t category = 0;
    uint32_t time = 0;
    if (code >= BHA_FAULT_LIST_FIRST && code < BHA_FAULT_LIST_FIRST + FAULT_RECORDS) {
        DAT_SetFaultIndex(static_cast<uint8_t>(code - BHA_FAULT_LIST_FIRST));
        help.faultMode = true;
        faultCode = DAT_GetFaultCode();
        category = DAT_GetFaultHelpCategory();
        time = DAT_GetFaultTime();
    } else if (code >= BHA_FAULT_HISTORY_FIRST && code < BHA_FAULT_HISTORY_FIRST + FAULT_RECORDS) {
        DAT_SetHistoryIndex(static_cast<uint8_t>(code - BHA_FAULT_HISTORY_FIRST));
        help.faultMode = true;
        faultCode = DAT_GetHistoryCode();
        category = DAT_GetHistoryHelpCategory();
        time = DAT_GetHistoryTime();
    }
    if (help.faultMode && category < FAULT_HELP.size()) help.text = FAULT_HELP[category];

    GFX_Clear();
    KOP_DrawLeft(entry.title);
    if (help.faultMode) drawFaultCode(faultCode);
    KOP_DrawLine();
    if (help.faultMode) drawFaultTime(time);

    help.lines = countLines(TXT_Get(help.text));
    help.first = 0;
    if (paged()) {
        drawPage();
        FUS_DrawHint(HINT_NEXT_DOWN);
        EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, FUS_HINT_TICKS);
    } else {
        GFX_TextInRectWrap(TXT_Get(help.text), textArea(), GFX_ALIGN_LEFT_CENTER, GFX_WRAP_WORDS);
        FUS_DrawHint(HINT_END_OK);
    }
    lcd_refresh();
}

void page(bool down)
{
    if (!paged()) return;
    if (down && help.first + pageLines() < help.lines) ++help.first;
    if (!down && help.first > 0) --help.first;
    drawPage();
    lcd_refreshRect(TEXT_AREA);
    FUS_DrawHint(HINT_END_OK);
    FUS_Refresh();
    EVT_Post(PRIO_TIMER, SIG_TMR_REFRESH, FUS_HINT_TICKS);
}

StateHandler hilfeanzeige(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: help.returnState = BMM_LastMenuState(); return nullptr;
    case SIG_INIT: show(e.par); return nullptr;
    case SIG_EXIT: UI_ScreenExit(); return nullptr;
    case SIG_KEY_UP: page(false); return nullptr;
    case SIG_KEY_DOWN: page(true); return nullptr;
    case SIG_REFRESH:
        FUS_DrawHint(HINT_NEXT_DOWN);
        FUS_Refresh();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_HELP_REQUEST:
        HSM_Tran(me, &BMM_Menuemonitor,
                 help.returnState != nullptr ? help.returnState : &BGA_Grundanzeige, PAR_BACK);
        return nullptr;
    case SIG_SET_RETURN_STATE: help.returnState = HSM_ParToState(e.par); return nullptr;
    case SIG_KEY_MENU:
    case SIG_KEY_MENU_OK:
    case SIG_KEY_OK_BACK:
    case SIG_WINK: return nullptr;
    }
    return &BMM_Menuemonitor;
}

} // namespace

const State BHA_Hilfeanzeige{"BHA_Hilfeanzeige", hilfeanzeige};
