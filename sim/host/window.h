// The simulator window: the device picture with the display in it, the hardkeys under the
// mouse, keyboard shortcuts for the panel keys, the log pane and the application control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct WindowOptions {
    bool dialogs = true;            // false: host errors are only logged (tests, scripts)
    std::string uart0 = "pty";      // device of serial channel 0: a path or "pty"
    int64_t quitAfterMs = -1;       // >= 0: close the window after this time
    std::string screenshot;         // with quitAfterMs: save the window as PNG before closing
    std::vector<int> clickHardkeys; // hardkeys clicked once the panel runs (smoke tests)
    bool controller = false;        // start with the controller emulator on the bus
    bool fresh = false;             // the emulator starts from the built-in values
    std::string stateFile;          // the emulator's state file; empty: the user's default
};

// Runs the window host until the window is closed; returns the exit status.
int WINDOW_Run(const WindowOptions& options);
