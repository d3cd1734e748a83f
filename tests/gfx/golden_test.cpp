#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/lcd.h"
#include "gfx/gfx_fixture.h"
#include "sim/host/golden.h"
#include "sim/host/lcd_view.h"
#include "support/golden_check.h"

namespace {

namespace fs = std::filesystem;

::testing::AssertionResult matchesGolden(const std::string& name)
{
    return MatchesGolden("gfx", name);
}

class GoldenFiles : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir = fs::path(PANELSIM_BINARY_DIR) / "golden_test" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        // These tests set the switch themselves; the run's own setting is kept for the
        // pictures below.
        const char* update = std::getenv("PANELSIM_UPDATE_GOLDEN");
        if (update != nullptr) savedUpdate = update;
        unsetenv("PANELSIM_UPDATE_GOLDEN");
    }
    void TearDown() override
    {
        if (savedUpdate.empty())
            unsetenv("PANELSIM_UPDATE_GOLDEN");
        else
            setenv("PANELSIM_UPDATE_GOLDEN", savedUpdate.c_str(), 1);
    }
    fs::path dir;
    std::string savedUpdate;
    std::vector<uint8_t> black = std::vector<uint8_t>(240 * 160 * 3, 0);
};

TEST_F(GoldenFiles, ADifferenceWritesTheActualAndADifferencePicture)
{
    const std::string golden = (dir / "picture.png").string();
    ASSERT_TRUE(PNG_WriteRgb(golden, black.data(), 240, 160));
    std::string report;
    EXPECT_TRUE(GOLDEN_Compare(black.data(), 240, 160, golden, report));
    EXPECT_FALSE(fs::exists(dir / "picture.actual.png"));

    std::vector<uint8_t> changed = black;
    for (int i : {0, 5, 240 * 160 - 1})
        changed[3 * i + 1] = 0x80;
    EXPECT_FALSE(GOLDEN_Compare(changed.data(), 240, 160, golden, report));
    EXPECT_NE(report.find("3 pixels differ"), std::string::npos) << report;

    std::vector<uint8_t> actual, diff;
    int w = 0, h = 0;
    ASSERT_TRUE(PNG_ReadRgb((dir / "picture.actual.png").string(), actual, w, h));
    EXPECT_EQ(actual, changed);
    ASSERT_TRUE(PNG_ReadRgb((dir / "picture.diff.png").string(), diff, w, h));
    EXPECT_EQ(diff[3 * 5], 255); // red where the pictures differ
    EXPECT_EQ(diff[3 * 5 + 1], 0);
    EXPECT_EQ(diff[3 * 6], 0); // dark elsewhere
}

TEST_F(GoldenFiles, AMissingGoldenFailsAndTheUpdateSwitchWritesIt)
{
    const std::string golden = (dir / "new.png").string();
    std::string report;
    EXPECT_FALSE(GOLDEN_Compare(black.data(), 240, 160, golden, report));
    EXPECT_NE(report.find("missing"), std::string::npos) << report;
    EXPECT_TRUE(fs::exists(dir / "new.actual.png"));

    setenv("PANELSIM_UPDATE_GOLDEN", "1", 1);
    EXPECT_TRUE(GOLDEN_Compare(black.data(), 240, 160, golden, report));
    unsetenv("PANELSIM_UPDATE_GOLDEN");
    EXPECT_TRUE(GOLDEN_Compare(black.data(), 240, 160, golden, report)) << report;
}

TEST_F(GoldenFiles, ASizeMismatchIsReported)
{
    const std::string golden = (dir / "small.png").string();
    ASSERT_TRUE(PNG_WriteRgb(golden, black.data(), 10, 10));
    std::string report;
    EXPECT_FALSE(GOLDEN_Compare(black.data(), 240, 160, golden, report));
    EXPECT_NE(report.find("10 x 10"), std::string::npos) << report;
}

using GoldenPictures = GfxTest;

// One frame of the idle animation: two quarter arcs, pen 7, radius 30.
TEST_F(GoldenPictures, IdleAnimationArcs)
{
    GFX_SetPenSize(7);
    GFX_DrawArc(119, 79, 30, 30, 30, 120);
    GFX_DrawArc(119, 79, 30, 30, 210, 300);
    GFX_SetPenSize(1);
    GFX_DrawArc(40, 40, 30, 15, 0, 270);
    GFX_DrawArc(200, 120, 20, 30, 90, 360);
    EXPECT_TRUE(matchesGolden("arcs.png"));
}

TEST_F(GoldenPictures, TextAlignmentsAndLines)
{
    GFX_DrawFrame(0, 0, 119, 49);
    GFX_TextInRect("AAAA\nAA", {1, 1, 118, 48}, GFX_ALIGN_LEFT_CENTER);
    GFX_DrawFrame(120, 0, 239, 49);
    GFX_TextInRect("AAAA\nAA", {121, 1, 238, 48}, GFX_ALIGN_CENTER);
    GFX_DrawFrame(0, 50, 119, 99);
    GFX_TextInRect("AAAA\nAA", {1, 51, 118, 98}, GFX_ALIGN_RIGHT_CENTER);
    GFX_DrawFrame(120, 50, 179, 99);
    GFX_TextInRectWrap("AA AAA AA A AAAA", {121, 51, 178, 98}, GFX_ALIGN_CENTER, GFX_WRAP_WORDS);
    GFX_FillRect(180, 50, 239, 99);
    GFX_SetTextMode(GFX_TEXT_REVERSE);
    GFX_TextInRect("AW A", {180, 50, 239, 99}, GFX_ALIGN_CENTER);
    GFX_SetTextMode(GFX_TEXT_NORMAL);
    GFX_SetLineStyle(GFX_LINE_DOTTED);
    GFX_DrawLine(0, 159, 239, 100);
    GFX_SetLineStyle(GFX_LINE_SOLID);
    GFX_SetPenSize(3);
    GFX_DrawLine(0, 100, 239, 159);
    GFX_SetPenSize(1);
    GFX_InvertRect(100, 120, 139, 139);
    EXPECT_TRUE(matchesGolden("text_and_lines.png"));
}

} // namespace
