#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kernel/dtm.h"
#include "kernel/evt.h"
#include "kernel/signals.h"
#include "ui_fixture.h"
#include "widgets/fmt.h"
#include "widgets/fus.h"
#include "widgets/hourglass.h"
#include "widgets/kop.h"
#include "widgets/screen.h"
#include "widgets/status_texts.h"
#include "widgets/ved.h"
#include "widgets/zsb.h"

namespace {

// --- footer and header ------------------------------------------------------------------

using Footer = UiTest;

TEST_F(Footer, HintNineteenClearsTheFooterAndDrawsOnlyItsSeparator)
{
    GFX_FillRect(0, 120, 239, 159);
    FUS_DrawHint(19);
    EXPECT_EQ(countSet({0, 132, 239, 132}), 240);
    EXPECT_EQ(countSet({0, 133, 239, 159}), 0);
    EXPECT_EQ(countSet({0, 120, 239, 131}), 240 * 12); // above the footer untouched
    EXPECT_EQ(GFX_VisibleTextCount(), 0);
}

TEST_F(Footer, HintsAreCentredBelowTheSeparator)
{
    FUS_DrawHint(5);
    const ShownText* hint = findText("Weiter mit OK");
    ASSERT_NE(hint, nullptr);
    const int width = GFX_TextWidth("Weiter mit OK");
    EXPECT_EQ(hint->rect.x0, 1 + (238 - width) / 2);
    EXPECT_EQ(hint->rect.y0, 133 + (27 - 20) / 2);
    FUS_DrawHint(0);
    EXPECT_NE(findText("Wählen mit ♯"), nullptr);
    EXPECT_EQ(findText("Weiter mit OK"), nullptr);
}

using Header = UiTest;

TEST_F(Header, TitleLeftCentredOrRight)
{
    KOP_DrawLeft(TextId{291}); // "Wartung"
    KOP_DrawLine();
    ASSERT_NE(findText("Wartung"), nullptr);
    EXPECT_EQ(findText("Wartung")->rect.x0, 1);
    EXPECT_EQ(countSet({0, 27, 239, 27}), 240);
    KOP_DrawCentered(TextId{291});
    EXPECT_EQ(findText("Wartung")->rect.x0, 1 + (238 - GFX_TextWidth("Wartung")) / 2);
    KOP_DrawRight(TextId{130});
    EXPECT_EQ(findText("HK1")->rect.x1, 238);
    EXPECT_NE(findText("Wartung"), nullptr); // drawing right does not clear
}

TEST_F(Header, CircuitSelectorShowsTheLabelReversedInABox)
{
    KOP_DrawCircuitSelector(2);
    const ShownText* right = findText("♭");
    const ShownText* label = findText("HK2");
    const ShownText* left = findText("♬");
    ASSERT_NE(right, nullptr);
    ASSERT_NE(label, nullptr);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(right->rect.x1, 238);
    EXPECT_LT(label->rect.x1, right->rect.x0);
    EXPECT_LT(left->rect.x1, label->rect.x0);
    // The box is filled from y 3 to 23; the label's glyphs are cut out of it.
    EXPECT_TRUE(pixel(label->rect.x0 - 1, 3));
    EXPECT_TRUE(pixel(label->rect.x0 - 1, 23));
    EXPECT_FALSE(pixel(label->rect.x0 - 1, 2));
    EXPECT_FALSE(pixel(label->rect.x0 - 1, 24));
}

TEST_F(Header, TitleWithCircuitLabelOnlyWhereCircuitsMustBeToldApart)
{
    struct Case {
        uint8_t config;
        bool labelShown;
    };
    const Case cases[] = {{0x05, true}, {0x01, false}, {0x02, true}, {0x04, false}};
    for (const Case& c : cases) {
        GFX_Clear();
        DAT_Block(DatBlock::Config)[23] = c.config;
        DAT_SelectCircuit(1);
        KOP_DrawTitleWithCircuit(TextId{115}, TextId{183}); // "Heizkennlinie", "Neigung"
        EXPECT_EQ(findText("HK1") != nullptr, c.labelShown) << int(c.config);
        const ShownText* text = findText("Neigung");
        ASSERT_NE(text, nullptr);
        if (!c.labelShown) {
            EXPECT_EQ(text->rect.x1, 238) << int(c.config);
        } else {
            EXPECT_LT(text->rect.x1, findText("HK1")->rect.x0);
            EXPECT_GT(text->rect.x0, findText("Heizkennlinie")->rect.x1);
        }
    }
}

TEST_F(Header, CircuitNameAndHeadingFollowTheCurrentCircuit)
{
    DAT_Block(DatBlock::Config)[23] = 0x05;
    DAT_SelectCircuit(2);
    EXPECT_EQ(TXT_CircuitName(), 117);
    DAT_ClearCircuitLabel(117);
    KOP_DrawCircuitName();
    EXPECT_NE(findText("Heizkreis 2"), nullptr) << ::testing::PrintToString(texts());
    EXPECT_NE(findText("HK2"), nullptr);
    DAT_SetCircuitLabel(117, "Keller"); // a label the user entered replaces the name
    KOP_DrawCircuitName();
    EXPECT_NE(findText("Keller"), nullptr);
    DAT_SelectCircuit(1);
    EXPECT_EQ(TXT_CircuitName(), 116);
    KOP_DrawCircuitHeading(TextId{123}); // "Heizkreiswahl"
    EXPECT_NE(findText("Heizkreiswahl"), nullptr);
    EXPECT_NE(findText("HK1"), nullptr);
    EXPECT_EQ(findText("HK2"), nullptr);
}

TEST_F(Header, IconsAndIconTexts)
{
    KOP_DrawIcon(KopIcon::FlueGas, true);
    const int on = countSet({216, 3, 235, 22});
    KOP_DrawIcon(KopIcon::FlueGas, false);
    const int off = countSet({216, 3, 235, 22});
    EXPECT_GT(on, off); // the flue gas is gone
    EXPECT_GT(off, 0);
    EXPECT_EQ(countSet({0, 0, 239, 159}), off);

    static const uint8_t bits[] = {0xF0, 0xF0};
    const GFX_Bitmap icon{4, 2, 1, 1, bits};
    KOP_DrawIconText(icon, TextId{291});
    EXPECT_TRUE(pixel(1, 0));
    EXPECT_EQ(findText("Wartung")->rect.x0, 1 + 4 + 2);
    KOP_DrawIconCentered(icon, TextId{291});
    const int group = 4 + 2 + GFX_TextWidth("Wartung");
    EXPECT_EQ(findText("Wartung")->rect.x0, 1 + (238 - group) / 2 + 4 + 2);
}

// --- status texts -----------------------------------------------------------------------

using StatusTexts = UiTest;

TEST_F(StatusTexts, ProgramStateNamesWhatGovernsTheCircuit)
{
    DAT_Block(DatBlock::Config)[23] = 0x05;
    DAT_SelectCircuit(2);
    DAT_Block(DatBlock::CircuitView)[4] &= 0xEC; // no screed function, no heating state
    DAT_CommitCircuitView();
    for (DatFlag f : {DatFlag::HolidayActive, DatFlag::ExternalSwitchOver, DatFlag::ExternalProgram,
                      DatFlag::PartyMode, DatFlag::EconomyMode})
        DAT_SetFlag(f, false);
    DAT_SetOperatingProgram(5);
    DAT_SelectCircuit(1);
    EXPECT_EQ(TXT_CircuitProgramState(2), 10); // "Abschaltbetrieb"
    EXPECT_EQ(DAT_GetSelectedCircuit(), 1) << "the current circuit is restored";
    DAT_SelectCircuit(2);
    DAT_SetEconomyMode(true);
    EXPECT_EQ(TXT_CircuitProgramState(2), 249);
    DAT_SetPartyMode(true);
    EXPECT_EQ(TXT_CircuitProgramState(2), 197); // party before economy
    DAT_SetPartyMode(false);
    DAT_SetEconomyMode(false);
    DAT_SetOperatingProgram(0);
    EXPECT_EQ(TXT_CircuitProgramState(2), 193);
    DAT_SetOperatingProgram(3);
    EXPECT_EQ(TXT_CircuitProgramState(2), 114);
    EXPECT_EQ(TXT_CircuitHeatingState(2), 10);

    DAT_Block(DatBlock::CircuitView)[4] |= 0x11; // screed function, normal heating
    DAT_CommitCircuitView();
    EXPECT_EQ(TXT_CircuitProgramState(2), 85);
    EXPECT_EQ(TXT_CircuitHeatingState(2), 192);
    DAT_SetFlag(DatFlag::HolidayActive, true);
    EXPECT_EQ(TXT_CircuitProgramState(2), 85); // the screed function comes first
}

TEST_F(StatusTexts, TheDemonstrationPlantHeatsNormallyWithoutScreedFunction)
{
    for (uint8_t circuit : {1, 2}) {
        EXPECT_EQ(TXT_CircuitProgramState(circuit), 114) << int(circuit);
        EXPECT_EQ(TXT_CircuitHeatingState(circuit), 192) << int(circuit);
    }
}

// --- value editor -----------------------------------------------------------------------

int16_t formatted;
GFX_Rect formattedIn;
void recordValue(const GFX_Rect& r, int16_t v)
{
    formatted = v;
    formattedIn = r;
}

using ValueEditor = UiTest;

TEST_F(ValueEditor, StepsStopAtTheBoundsWithoutWrapping)
{
    struct Case {
        VED_Values start;
        bool up;
        int16_t expected;
    };
    const Case cases[] = {
        {{5, 2, 4, 10}, false, 4}, // below the minimum: the minimum
        {{6, 2, 4, 10}, false, 4},
        {{10, 2, 4, 10}, true, 10}, // at the maximum: stays
        {{9, 2, 4, 10}, true, 10},
        {{32767, 1, 0, 32767}, true, 32767}, // no wrap to -32768
        {{32760, 100, 0, 32767}, true, 32767},
        {{-32768, 5, -32768, 0}, false, -32768},
        {{-32760, 100, -32768, 0}, false, -32768},
        {{5, -2, 0, 10}, true, 7},  // a negative step counts upwards too
        {{20, 1, 0, 10}, false, 9}, // the start value is clamped first
    };
    for (const Case& c : cases) {
        VED_Init(c.start, recordValue, {10, 40, 100, 70}, &FNT_GetLarge());
        if (c.up)
            VED_Inc();
        else
            VED_Dec();
        EXPECT_EQ(VED_GetValue(), c.expected) << c.start.value << " step " << c.start.step;
        EXPECT_EQ(formatted, c.expected);
    }
    EXPECT_EQ(VED_GetStep(), 1);
    EXPECT_EQ(VED_GetMin(), 0);
    EXPECT_EQ(VED_GetMax(), 10);
}

TEST_F(ValueEditor, DrawingFillsOrClearsTheFieldAndRestoresFontAndMode)
{
    VED_Init({21, 1, 5, 30}, recordValue, {10, 40, 100, 70}, &FNT_GetLarge());
    VED_Draw(GFX_TEXT_REVERSE);
    EXPECT_EQ(countSet({10, 40, 100, 70}), 91 * 31);
    EXPECT_EQ(formattedIn.x0, 11);
    EXPECT_EQ(formattedIn.x1, 99);
    EXPECT_EQ(formattedIn.y0, 40);
    VED_Draw(GFX_TEXT_NORMAL);
    EXPECT_EQ(countSet({10, 40, 100, 70}), 0);
    EXPECT_EQ(GFX_GetFont(), &FNT_GetNormal());
    EXPECT_EQ(GFX_SetTextMode(GFX_TEXT_NORMAL), GFX_TEXT_NORMAL);

    VED_Init({21, 1, 5, 30}, FMT_DrawTemperature, {10, 40, 100, 70}, &FNT_GetLarge());
    VED_Draw(GFX_TEXT_NORMAL);
    EXPECT_NE(findText("21°C"), nullptr);
}

// --- formatting -------------------------------------------------------------------------

TEST(Formatting, Numbers)
{
    char b[16];
    EXPECT_EQ(FMT_Int(-1234, b), 5);
    EXPECT_STREQ(b, "-1234");
    FMT_Int(INT32_MIN, b);
    EXPECT_STREQ(b, "-2147483648");
    FMT_Uint(4294967295u, b);
    EXPECT_STREQ(b, "4294967295");
    FMT_Uint(0, b);
    EXPECT_STREQ(b, "0");
    struct Zero {
        uint32_t value;
        uint8_t width;
        const char* text;
    };
    for (const Zero& z : {Zero{7, 3, "007"}, Zero{1234, 2, "34"}, Zero{7, 11, "00000000007"},
                          Zero{7, 12, ""}, Zero{7, 0, ""}}) {
        FMT_UintZero(z.value, b, z.width);
        EXPECT_STREQ(b, z.text) << z.value << " width " << int(z.width);
    }
    FMT_Hex(0x1A2B, b, 4);
    EXPECT_STREQ(b, "1A2B");
    FMT_Hex(0x1A2B, b, 2);
    EXPECT_STREQ(b, "2B");
    FMT_Hex(0xDEADBEEF, b, 8);
    EXPECT_STREQ(b, "DEADBEEF");
    FMT_Hex(0x1, b, 9);
    EXPECT_STREQ(b, "");
}

TEST(Formatting, TemperatureConversionsRoundHalfAwayFromZero)
{
    struct Case {
        int16_t celsius, fahrenheit;
    };
    for (const Case& c : {Case{-5, 23}, Case{21, 70}, Case{0, 32}, Case{-40, -40}, Case{100, 212},
                          Case{37, 99}, Case{3, 37}})
        EXPECT_EQ(FMT_CelsiusToFahrenheit(c.celsius), c.fahrenheit) << c.celsius;
    for (const Case& c : {Case{21, 70}, Case{-5, 23}, Case{0, 32}, Case{37, 99}, Case{3, 37},
                          Case{-1, 31}, Case{1, 33}})
        EXPECT_EQ(FMT_FahrenheitToCelsius(c.fahrenheit), c.celsius) << c.fahrenheit;
    EXPECT_EQ(FMT_HalfDegrees(41), 21);
    EXPECT_EQ(FMT_HalfDegrees(40), 20);
    EXPECT_EQ(FMT_HalfDegrees(-3), -2);
    EXPECT_EQ(FMT_HalfDegrees(0), 0);
}

using Texts = UiTest;

TEST_F(Texts, TemperaturesWeekdaysAndDates)
{
    char b[40];
    FMT_Temperature(b, sizeof b, -12, false);
    EXPECT_STREQ(b, "-12°C");
    FMT_Temperature(b, sizeof b, 0, true);
    EXPECT_STREQ(b, "---°C");
    DAT_SetTempUnitFahrenheit(true);
    FMT_Temperature(b, sizeof b, 70, false);
    EXPECT_STREQ(b, "70°F");
    DAT_SetTempUnitFahrenheit(false);
    EXPECT_EQ(FMT_Temperature(b, 3, 21, false), 2); // cut, always terminated
    EXPECT_STREQ(b, "21");

    FMT_Weekday(1, b, sizeof b);
    EXPECT_STREQ(b, "Mo");
    FMT_Weekday(7, b, sizeof b);
    EXPECT_STREQ(b, "So");
    FMT_Weekday(8, b, sizeof b);
    EXPECT_STREQ(b, "");
    EXPECT_EQ(FMT_DayGroupText(0), 180);
    EXPECT_EQ(FMT_DayGroupText(9), 226);

    const DateTime t{2026, 1, 5, 1, 9, 7, 0};
    struct Case {
        FmtDateTime format;
        const char* text;
    };
    const Case cases[] = {
        {FmtDateTime::WeekdayDateLongYear, "Mo 05.01.2026"},
        {FmtDateTime::WeekdayDateShortYear, "Mo 05.01.26"},
        {FmtDateTime::WeekdayDayMonth, "Mo 05.01."},
        {FmtDateTime::DateLongYear, "05.01.2026"},
        {FmtDateTime::DateShortYear, "05.01.26"},
        {FmtDateTime::Time, "09:07"},
        {FmtDateTime::TimeWithWord, "09:07 Uhr"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FMT_DateTime(t, c.format, b, sizeof b), strlen(c.text)) << c.text;
        EXPECT_STREQ(b, c.text);
    }
}

TEST_F(Texts, KeySymbolsAndTheDigitBlankInTheNormalFont)
{
    GFX_Init(&FNT_GetNormal()); // as at start-up
    EXPECT_EQ(GFX_GetFont(), &FNT_GetNormal());
    EXPECT_EQ(GFX_TextWidth("♬HK♭"), GFX_TextWidth("HK") + 16);
    // A digit replaced by 0x1B leaves the following characters where they were.
    GFX_TextAt("123", 10, 40);
    const GFX_Rect digits = findText("123")->rect;
    GFX_Clear();
    GFX_TextAt("1\x1B"
               "3",
               10, 40);
    EXPECT_EQ(findText("1\x1B"
                       "3")
                  ->rect.x1,
              digits.x1);
    EXPECT_EQ(GFX_CharWidth(0x1B), GFX_CharWidth('2'));
}

// --- time bar ---------------------------------------------------------------------------

using TimeBar = UiTest;

TEST_F(TimeBar, PhasesSpanTheirTimesAndUnusedOnesAreNotDrawn)
{
    // A phase that cannot contain the time of day, so it is dotted, not solid.
    const int minutes = static_cast<int>(DTM_GetClock() % 86400 / 60);
    const uint8_t start = minutes >= 12 * 60 ? 36 : 78;
    const uint8_t end = minutes >= 12 * 60 ? 66 : 132;
    ZSB_Draw(0, {start, 255, 10, 255, end, 20, 255, 255});
    const GFX_Rect bar{0, 16, 239, 23};
    int x0 = 240, x1 = -1;
    for (int y = bar.y0; y <= bar.y1; ++y)
        for (int x = 0; x < 240; ++x)
            if (pixel(x, y)) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
            }
    EXPECT_EQ(x0, ZSB_X(start));
    EXPECT_EQ(x1, ZSB_X(end));
    EXPECT_EQ(countSet(bar), (ZSB_X(end) - ZSB_X(start) + 1) * 8 / 2); // every second pixel
    EXPECT_EQ(ZSB_X(36), 64);
    EXPECT_EQ(ZSB_X(132), 208);
    EXPECT_EQ(countSet({10, 24, 226, 24}), 217); // base line
    EXPECT_TRUE(pixel(10, 32));                  // long tick at 0 h
    EXPECT_TRUE(pixel(19, 28));                  // short tick at 1 h
    EXPECT_FALSE(pixel(19, 29));
    EXPECT_NE(findText("24"), nullptr);
    EXPECT_EQ(findText("24")->rect.x0, 8 + 9 * 24 - 3);
    EXPECT_EQ(findText("2")->rect.x0, 8 + 9 * 2);
    EXPECT_EQ(GFX_GetFont(), &FNT_GetNormal());
}

TEST_F(TimeBar, ThePhaseOfTheTimeOfDayIsSolid)
{
    const int minutes = static_cast<int>(DTM_GetClock() % 86400 / 60);
    const uint8_t start = static_cast<uint8_t>(minutes / 10);
    const uint8_t end = static_cast<uint8_t>(start + 1);
    ZSB_Draw(0, {start, 255, 255, 255, end, 255, 255, 255});
    const int width = ZSB_X(end) - ZSB_X(start) + 1;
    EXPECT_EQ(countSet({0, 16, 239, 23}), width * 8);
}

// --- hourglass and screen exit ----------------------------------------------------------

using Hourglass = UiTest;

int setInRows(const GFX_Bitmap& b, int y0, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < b.width; ++x)
            n += (b.bits[y * b.bytesPerRow + x / 8] >> (7 - x % 8)) & 1;
    return n;
}

TEST_F(Hourglass, SandRunsFromTheTopBulbToTheBottomOne)
{
    int previousTop = 1000, previousBottom = -1;
    for (uint8_t f = 0; f < UI_HOURGLASS_FRAMES; f += 4) {
        const GFX_Bitmap b = UI_HourglassFrame(f);
        const int top = setInRows(b, 2, 16), bottom = setInRows(b, 19, 33);
        EXPECT_LE(top, previousTop) << int(f);
        EXPECT_GE(bottom, previousBottom) << int(f);
        previousTop = top;
        previousBottom = bottom;
    }
    EXPECT_GT(setInRows(UI_HourglassFrame(0), 2, 16), setInRows(UI_HourglassFrame(0), 19, 33) + 40);
    EXPECT_GT(setInRows(UI_HourglassFrame(16), 19, 33),
              setInRows(UI_HourglassFrame(16), 2, 16) + 40);
}

TEST_F(Hourglass, StepsCycleThroughSeventeenFramesInItsField)
{
    GFX_FillRect(0, 0, 239, 159);
    UI_HourglassStart(119, 79);
    UI_HourglassStep();
    const Display first = display();
    // The field is x 101..136, y 61..96; the frame sits in its middle, x 111..126.
    EXPECT_TRUE(pixel(100, 60));
    EXPECT_FALSE(pixel(101, 61));
    EXPECT_FALSE(pixel(110, 79));
    EXPECT_TRUE(pixel(111, 61)); // the top cap
    for (int i = 1; i < UI_HOURGLASS_FRAMES; ++i) {
        UI_HourglassStep();
        EXPECT_NE(display(), first) << i;
    }
    UI_HourglassStep();
    EXPECT_EQ(display(), first);
}

std::vector<std::pair<uint8_t, Event>> exitPosts;
template <uint8_t P> StateHandler recordAt(Hsm&, const Event& e)
{
    if (e.sig == SIG_EMPTY) return &HSM_Top;
    exitPosts.push_back({P, e});
    return nullptr;
}
const State keysRecorder{"TEST_Keys", &recordAt<PRIO_KEYS>};
const State timerRecorder{"TEST_Timer", &recordAt<PRIO_TIMER>};

TEST(ScreenExit, StopsTheRefreshTimerFlushesKeysAndResetsAcceleration)
{
    for (uint8_t p = 0; p < PRIO_COUNT; ++p)
        EVT_Construct(p);
    EVT_Machine(PRIO_KEYS)->state = &keysRecorder;
    EVT_Machine(PRIO_TIMER)->state = &timerRecorder;
    exitPosts.clear();
    UI_ScreenExit();
    EXPECT_EQ(EVT_Pending(PRIO_TIMER), 1);
    EXPECT_EQ(EVT_Pending(PRIO_KEYS), 2);
    EVT_Run();
    ASSERT_EQ(exitPosts.size(), 3u);
    EXPECT_EQ(exitPosts[0].first, PRIO_TIMER);
    EXPECT_EQ(exitPosts[0].second.sig, SIG_TMR_REFRESH);
    EXPECT_EQ(exitPosts[0].second.par, 0u);
    EXPECT_EQ(exitPosts[1].second.sig, SIG_KEY_FLUSH);
    EXPECT_EQ(exitPosts[2].second.sig, SIG_KEY_ACCEL);
    EXPECT_EQ(exitPosts[2].second.par, 0u);
    for (uint8_t p = 0; p < PRIO_COUNT; ++p)
        EVT_Construct(p);
}

} // namespace

namespace {

TEST(ScreenExit, StopsTheTimersTheScreenOwnsBesideTheGeneralOne)
{
    for (uint8_t p = 0; p < PRIO_COUNT; ++p)
        EVT_Construct(p);
    EVT_Machine(PRIO_KEYS)->state = &keysRecorder;
    EVT_Machine(PRIO_TIMER)->state = &timerRecorder;
    exitPosts.clear();
    UI_ScreenExit(UI_TIMER_WAIT | UI_TIMER_TEST);
    EVT_Run();
    std::vector<Signal> stopped;
    for (const auto& [priority, e] : exitPosts)
        if (priority == PRIO_TIMER && e.par == 0) stopped.push_back(e.sig);
    EXPECT_EQ(stopped, (std::vector<Signal>{UI_SCREEN_TIMER, SIG_TMR_WAIT, SIG_TMR_TEST}));
    for (uint8_t p = 0; p < PRIO_COUNT; ++p)
        EVT_Construct(p);
}

} // namespace
