// The display memory after a full refresh, in the window's greys, compared with a golden
// picture beside the test that owns it (tests/<folder>/golden/<name>).
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/lcd.h"
#include "sim/host/golden.h"
#include "sim/host/lcd_view.h"

inline ::testing::AssertionResult MatchesGolden(const std::string& folder, const std::string& name)
{
    LcdView view;
    view.attach();
    lcd_init();
    lcd_setLightMode(4);
    lcd_refresh();
    const std::vector<uint8_t> rgb = LcdView::toRgb(view.snapshot());
    LcdView::detach();
    std::string report;
    const std::string path =
        std::string(PANELSIM_SOURCE_DIR) + "/tests/" + folder + "/golden/" + name;
    if (GOLDEN_Compare(rgb.data(), SIM_LCD_WIDTH, SIM_LCD_HEIGHT, path, report))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << report;
}
