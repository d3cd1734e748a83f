// Every graphics test starts on a cleared display with the test font.
#pragma once

#include <gtest/gtest.h>

#include "gfx/gfx.h"
#include "gfx/test_font.h"
#include "support/display_probe.h"

class GfxTest : public ::testing::Test {
  protected:
    void SetUp() override { GFX_Init(&testfont::FONT); }
    // What the display driver reports after a refresh of the whole display.
    static void refreshTexts() { GFX_TextsRefreshed({0, 0, GFX_WIDTH - 1, GFX_HEIGHT - 1}); }
};
