// The widgets' tests: German texts, the normal font, a cleared display and a data pool as at
// a cold start.
#pragma once

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "gfx/gfx.h"
#include "ui/fonts.h"
#include "ui/text.h"

class UiTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        TXT_Init();
        DAT_ClearAll(1);
        GFX_Init(&FNT_GetNormal());
    }

    using Display = std::array<uint8_t, GFX_WIDTH * GFX_HEIGHT>;
    static Display display()
    {
        Display d;
        memcpy(d.data(), GFX_Memory(), d.size());
        return d;
    }
    static bool pixel(int x, int y) { return GFX_Memory()[y * GFX_WIDTH + x] != 0; }
    static int countSet(const GFX_Rect& r)
    {
        int n = 0;
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x)
                n += pixel(x, y);
        return n;
    }
    // The visible text lines, as "text@x0,y0-x1,y1".
    static std::vector<std::string> texts()
    {
        std::vector<std::string> out;
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i) {
            const GFX_VisibleText& t = GFX_GetVisibleText(i);
            out.push_back(std::string(t.text) + "@" + std::to_string(t.rect.x0) + "," +
                          std::to_string(t.rect.y0) + "-" + std::to_string(t.rect.x1) + "," +
                          std::to_string(t.rect.y1));
        }
        return out;
    }
    static const GFX_VisibleText* findText(const std::string& text)
    {
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
            if (GFX_GetVisibleText(i).text == text) return &GFX_GetVisibleText(i);
        return nullptr;
    }
};
