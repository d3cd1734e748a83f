// The widgets' tests: German texts, the normal font, a cleared display and a data pool as at
// a cold start.
#pragma once

#include <array>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "display/fonts.h"
#include "display/lcd.h"
#include "display/text.h"
#include "gfx/gfx.h"
#include "support/display_probe.h"

class UiTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        TXT_Init();
        DAT_ClearAll(1);
        GFX_Init(&FNT_GetNormal());
    }

    using Display = DisplayCopy;
    static Display display() { return copyDisplay(); }

    // Widgets draw; the screen that uses them refreshes. The text checks look at the panel as
    // after that refresh.
    static void refreshAsTheScreenDoes() { lcd_refresh(); }

    // The visible text lines, as "text@x0,y0-x1,y1".
    static std::vector<std::string> texts()
    {
        refreshAsTheScreenDoes();
        std::vector<std::string> out;
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i) {
            const GFX_VisibleText t = GFX_GetVisibleText(i);
            out.push_back(std::string(t.text) + "@" + std::to_string(t.rect.x0) + "," +
                          std::to_string(t.rect.y0) + "-" + std::to_string(t.rect.x1) + "," +
                          std::to_string(t.rect.y1));
        }
        return out;
    }

    struct ShownText {
        GFX_Rect rect;
        std::string text;
    };
    // The visible line with exactly this text, or null; kept until the test ends.
    const ShownText* findText(const std::string& text)
    {
        refreshAsTheScreenDoes();
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i) {
            const GFX_VisibleText t = GFX_GetVisibleText(i);
            if (t.text == text) return &found_.emplace_back(ShownText{t.rect, t.text});
        }
        return nullptr;
    }

  private:
    std::deque<ShownText> found_;
};
