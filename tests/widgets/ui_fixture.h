// The widgets' tests: German texts, the normal font, a cleared display and a data pool as at
// a cold start.
#pragma once

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "display/fonts.h"
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
