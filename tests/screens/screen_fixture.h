// The whole panel with its real user interface on virtual time, brought to the basic display
// menu, with the keys of the device and a look at what the display shows.
#pragma once

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "gfx/gfx.h"
#include "kernel/evt.h"
#include "support/display_probe.h"
#include "support/log_capture.h"
#include "support/panel_harness.h"

class ScreenTest : public ::testing::Test {
  protected:
    static constexpr uint32_t STARTUP_MS = 11000;

    void SetUp() override
    {
        APP_SetUserInterface(nullptr); // the system monitor, not the harness's recorder
        APP_Persistent().startMagic = 0;
        panel.start();
    }

    void startToBasicDisplay()
    {
        panel.run(STARTUP_MS);
        ASSERT_EQ(state(), "BGA_GrundanzeigeMenue");
    }

    void run(uint32_t ms) { panel.run(ms); }

    void tap(int hardkey, uint32_t holdMs = 100)
    {
        SIM_HardkeyEvent(hardkey, true);
        panel.run(holdMs);
        SIM_HardkeyEvent(hardkey, false);
        panel.run(100);
    }

    static std::string state() { return EVT_CurrentState(PRIO_UI)->name; }

    static bool shows(const char* text)
    {
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
            if (std::strstr(GFX_GetVisibleText(i).text, text) != nullptr) return true;
        return false;
    }

    static std::string visibleTexts()
    {
        std::string all;
        for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
            all += std::string("\"") + GFX_GetVisibleText(i).text + "\" ";
        return all;
    }

    // What the controller would report: a status change reaches the screens as
    // SIG_DATA_CHANGED.
    static void dataChanged()
    {
        EVT_Post(PRIO_UI, SIG_DATA_CHANGED);
        EVT_Run();
    }

    PanelHarness panel;
    LogCapture log;
};
