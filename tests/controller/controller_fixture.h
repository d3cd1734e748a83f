// The whole panel with its real user interface on virtual time and the controller emulator on
// its bus from the first moment, as `panelsim --controller` starts.
#pragma once

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "gfx/gfx.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "link/dis_task.h"
#include "sim/controller/controller.h"
#include "support/log_capture.h"
#include "support/panel_harness.h"

inline constexpr int64_t CONTROLLER_CLOCK = 1767607200; // 2026-01-05 10:00:00

class ControllerPanel : public ::testing::Test {
  protected:
    static constexpr uint32_t STARTUP_MS = 11000;

    void SetUp() override { reports().clear(); }
    void TearDown() override { CTL_Destroy(); }

    // The emulator (with a state file, when given) switched on, then the panel's cold start.
    void start(const std::string& stateFile = "")
    {
        CTL_Create({CONTROLLER_CLOCK, stateFile, false}, &record);
        CTL_SetOn(true);
        APP_SetUserInterface(nullptr); // the system monitor, not the harness's recorder
        APP_Persistent().startMagic = 0;
        panel.start();
    }

    void startToBasicDisplay(const std::string& stateFile = "")
    {
        start(stateFile);
        panel.run(STARTUP_MS);
        ASSERT_EQ(state(), "BGA_GrundanzeigeMenue");
        ASSERT_EQ(EVT_CurrentState(PRIO_LINK), &DIS_Run) << "communication has started";
    }

    // A restart of the panel as the main task makes it, the controller running on.
    void restartPanel()
    {
        EVT_Post(PRIO_LINK, SIG_LINK_STOP);
        EVT_Run();
        panel.start();
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

    // The lines the emulator reported, in order.
    static std::vector<std::string>& reports()
    {
        static std::vector<std::string> lines;
        return lines;
    }
    static void record(const std::string& line) { reports().push_back(line); }
    static bool reported(const std::string& part)
    {
        for (const std::string& l : reports())
            if (l.find(part) != std::string::npos) return true;
        return false;
    }
    static std::string allReports()
    {
        std::string all;
        for (const std::string& l : reports())
            all += "\n  " + l;
        return all;
    }

    // No request slot waits for an answer and nothing is queued.
    static bool linkQuiet()
    {
        for (uint8_t s = 0; s < DIS_SLOTS; ++s)
            if (DIS_SlotState(s) != SLOT_IDLE) return false;
        return DIS_QueueCount() == 0;
    }

    PanelHarness panel;
    LogCapture log;
};

// A folder of its own for state files, removed afterwards.
class StateFolder {
  public:
    StateFolder()
    {
        char name[] = "/tmp/panelsim-state-XXXXXX";
        path_ = mkdtemp(name) != nullptr ? name : "/tmp";
    }
    ~StateFolder() { std::filesystem::remove_all(path_); }
    std::string file(const char* name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};
