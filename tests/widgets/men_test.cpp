#include <string>

#include <gtest/gtest.h>

#include "ui_fixture.h"
#include "widgets/men.h"

namespace {

template <int N> void drawItem(const GFX_Rect& r)
{
    const std::string text = "Item " + std::to_string(N);
    GFX_TextInRect(text.c_str(), r, GFX_ALIGN_LEFT_CENTER);
}

constexpr MEN_DrawFn ITEMS[] = {drawItem<0>, drawItem<1>, drawItem<2>, drawItem<3>,
                                drawItem<4>, drawItem<5>, drawItem<6>, drawItem<7>};

class Menu : public UiTest {
  protected:
    // count items, all visible but `hidden`, standard geometry with `lines` lines.
    void make(uint8_t count, uint8_t lines = 4, std::initializer_list<uint8_t> hidden = {})
    {
        for (uint8_t i = 0; i < count; ++i)
            MEN_SetItem(i, ITEMS[i]);
        MEN_SetCount(count);
        for (uint8_t i : hidden)
            MEN_SetItemVisible(i, false);
        MEN_Init(0, 239, 29, 24, 2, lines);
    }
    // Items shown, top to bottom.
    static std::vector<std::string> shown()
    {
        refreshAsTheScreenDoes();
        std::vector<std::string> out;
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
            out.push_back(GFX_GetVisibleText(i).text);
        return out;
    }
    static int cursorLine() { return (MEN_GetCursorRect().y0 - 29) / 26; }
};

TEST_F(Menu, SevenItemsOnFourLinesScrollKeepingOneItemAhead)
{
    make(7);
    MEN_Draw();
    EXPECT_EQ(shown(), (std::vector<std::string>{"Item 0", "Item 1", "Item 2", "Item 3"}));
    struct Step {
        uint8_t cursor, top;
        int line;
    };
    const Step steps[] = {{1, 0, 1}, {2, 0, 2}, {3, 1, 2}, {4, 2, 2}, {5, 3, 2}, {6, 3, 3}};
    for (const Step& s : steps) {
        ASSERT_TRUE(MEN_Down());
        EXPECT_EQ(MEN_GetCursor(), s.cursor);
        EXPECT_EQ(MEN_GetTop(), s.top) << "cursor " << int(s.cursor);
        EXPECT_EQ(cursorLine(), s.line) << "cursor " << int(s.cursor);
    }
    EXPECT_EQ(shown(), (std::vector<std::string>{"Item 3", "Item 4", "Item 5", "Item 6"}));
    // The selection bar inverts the whole bottom line: its left edge is set, the line above
    // is clear there.
    EXPECT_TRUE(pixel(0, 107));
    EXPECT_TRUE(pixel(239, 130));
    EXPECT_FALSE(pixel(0, 81));

    const Step up[] = {{5, 3, 2}, {4, 3, 1}, {3, 2, 1}, {2, 1, 1}, {1, 0, 1}, {0, 0, 0}};
    for (const Step& s : up) {
        ASSERT_TRUE(MEN_Up());
        EXPECT_EQ(MEN_GetCursor(), s.cursor);
        EXPECT_EQ(MEN_GetTop(), s.top) << "cursor " << int(s.cursor);
        EXPECT_EQ(cursorLine(), s.line) << "cursor " << int(s.cursor);
    }
}

TEST_F(Menu, MovingPastEitherEndReturnsFalseAndDrawsNothing)
{
    make(3);
    MEN_Draw();
    const Display first = display();
    EXPECT_FALSE(MEN_Up());
    EXPECT_EQ(display(), first);
    MEN_Down();
    MEN_Down();
    const Display last = display();
    EXPECT_FALSE(MEN_Down());
    EXPECT_EQ(display(), last);
    EXPECT_EQ(MEN_GetCursor(), 2);
}

TEST_F(Menu, HiddenItemsTakeNoLineAndAreSkipped)
{
    make(6, 4, {1, 2});
    MEN_Draw();
    EXPECT_EQ(shown(), (std::vector<std::string>{"Item 0", "Item 3", "Item 4", "Item 5"}));
    ASSERT_TRUE(MEN_Down());
    EXPECT_EQ(MEN_GetCursor(), 3);
    EXPECT_EQ(cursorLine(), 1);
    EXPECT_EQ(MEN_FirstVisible(), 0);
    EXPECT_EQ(MEN_LastVisible(), 5);
    EXPECT_EQ(MEN_NextVisible(0), 3);
    EXPECT_EQ(MEN_PrevVisible(3), 0);
    EXPECT_EQ(MEN_PrevVisible(0), 0);
    EXPECT_EQ(MEN_NextVisible(5), 5);
    EXPECT_EQ(MEN_CountVisible(0, 4), 3);
}

TEST_F(Menu, ShortListsClearTheRemainingLines)
{
    make(2);
    GFX_FillRect(0, 28, 239, 131);
    MEN_Draw();
    EXPECT_EQ(countSet({0, 81, 239, 104}), 0);
    EXPECT_EQ(countSet({0, 107, 239, 130}), 0);
    EXPECT_EQ(shown(), (std::vector<std::string>{"Item 0", "Item 1"}));
}

GFX_Rect lastItemRect;
void recordRect(const GFX_Rect& r) { lastItemRect = r; }

TEST_F(Menu, ItemsDrawIntoTheirLineNarrowedByOnePixel)
{
    MEN_SetItem(0, recordRect);
    MEN_SetItem(1, recordRect);
    MEN_SetCount(2);
    MEN_Init(0, 239, 29, 24, 2, 4);
    MEN_Draw();
    EXPECT_EQ(lastItemRect.x0, 1);
    EXPECT_EQ(lastItemRect.y0, 56);
    EXPECT_EQ(lastItemRect.x1, 238);
    EXPECT_EQ(lastItemRect.y1, 77);
    const GFX_Rect cursor = MEN_GetCursorRect();
    EXPECT_EQ(cursor.x0, 1);
    EXPECT_EQ(cursor.y0, 29);
    EXPECT_EQ(cursor.x1, 238);
    EXPECT_EQ(cursor.y1, 52);
    MEN_ShowCursor(false);
    MEN_Draw();
    EXPECT_FALSE(pixel(0, 29)); // no selection bar
}

struct VisibilityCase {
    const char* name;
    uint8_t count;
    std::vector<uint8_t> hidden;
    uint8_t top, cursor;
    uint8_t item;
    bool visible;
    uint8_t expectedTop, expectedCursor;
};

TEST_F(Menu, ShowingAndHidingKeepWindowAndCursorConsistent)
{
    const VisibilityCase cases[] = {
        {"hide the cursor: the following item", 7, {}, 0, 2, 2, false, 0, 3},
        {"hide the last item under the cursor", 7, {}, 3, 6, 6, false, 2, 5},
        {"hide the cursor on the top line", 7, {}, 2, 2, 2, false, 3, 3},
        {"hide between top and cursor", 7, {}, 1, 4, 2, false, 0, 4},
        {"hide the top", 7, {}, 2, 4, 2, false, 1, 4},
        {"hide the first item on top", 7, {}, 0, 2, 0, false, 1, 2},
        {"hide below with few left", 5, {}, 1, 1, 4, false, 0, 1},
        {"hide below with enough left", 7, {}, 1, 1, 6, false, 1, 1},
        {"hide the only item", 2, {1}, 0, 0, 0, false, 0, 0},
        {"show the only item", 3, {0, 1, 2}, 0, 0, 1, true, 1, 1},
        {"show between top and cursor", 7, {2}, 1, 4, 2, true, 2, 4},
        {"show above the top with few left", 7, {0}, 4, 6, 0, true, 3, 6},
        {"show an item already shown", 7, {}, 1, 3, 2, true, 1, 3},
    };
    for (const VisibilityCase& c : cases) {
        make(c.count, 4, {});
        for (uint8_t i : c.hidden)
            MEN_SetItemVisible(i, false);
        MEN_SetTop(c.top);
        MEN_SetCursor(c.cursor);
        MEN_SetItemVisible(c.item, c.visible);
        EXPECT_EQ(MEN_GetTop(), c.expectedTop) << c.name;
        EXPECT_EQ(MEN_GetCursor(), c.expectedCursor) << c.name;
        EXPECT_EQ(MEN_IsVisible(c.item), c.visible) << c.name;
    }
}

TEST_F(Menu, SetPositionRestoresARememberedWindow)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> hidden;
        uint8_t top, cursor;
        uint8_t expectedTop, expectedCursor;
    };
    const Case cases[] = {
        {"both visible, window full", {}, 1, 3, 1, 3},
        {"cursor hidden: first visible item", {3, 0}, 1, 3, 1, 1},
        {"too few items after the top: window filled", {}, 5, 6, 3, 6},
        {"cursor below the window: top follows", {}, 0, 6, 3, 6},
        {"top hidden: cursor on the last line", {1}, 1, 5, 2, 5},
    };
    for (const Case& c : cases) {
        make(7);
        for (uint8_t i : c.hidden)
            MEN_SetItemVisible(i, false);
        MEN_SetPosition(c.top, c.cursor);
        EXPECT_EQ(MEN_GetTop(), c.expectedTop) << c.name;
        EXPECT_EQ(MEN_GetCursor(), c.expectedCursor) << c.name;
    }
}

TEST_F(Menu, ItemPainters)
{
    const GFX_Rect r{1, 30, 238, 51};
    MEN_DrawSubmenuItem(115, r); // "Heizkennlinie"
    const ShownText* text = findText("Heizkennlinie");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->rect.x0, 1);
    const ShownText* arrow = findText("\xE2\x99\xAD");
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->rect.x1, 238);

    GFX_Clear();
    MEN_DrawOption(r, true);
    EXPECT_NE(findText("\xE2\x99\xB2"), nullptr);
    MEN_DrawOption(r, false);
    EXPECT_NE(findText("\xE2\x99\xB1"), nullptr);
    EXPECT_EQ(findText("\xE2\x99\xB2"), nullptr); // drawn over

    GFX_Clear();
    static const uint8_t square[22 * 3] = {0xFF, 0xFF, 0xFC};
    const GFX_Bitmap icon{22, 1, 3, 1, square};
    MEN_DrawTextIconItem(115, icon, r);
    EXPECT_TRUE(pixel(238 - 22, 31));
    EXPECT_TRUE(pixel(238 - 1, 31));
    EXPECT_FALSE(pixel(238, 31));
}

} // namespace
