// panelsim: the operator panel of the heating controller on the desktop.
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/host/headless.h"
#include "sim/host/script.h"
#if PANELSIM_WINDOW
#include "sim/host/window.h"
#endif

namespace {

constexpr const char* usage = R"(usage:
  panelsim [--uart0 DEVICE] [--no-dialogs] [--controller] [--fresh] [--state FILE]
        the simulator window: the device picture with its display and keys, and the log.
        --uart0 DEVICE  serial channel 0 (the factory test) on a serial device; by default a
                        pseudo terminal, whose name is shown in the log
        --no-dialogs    host errors are written to SimError.log and the log only
        --controller    start with the controller emulator on the bus (F7 or its button
                        switches it on and off)
        --fresh         the emulator starts from the built-in values, not its state file
        --state FILE    the emulator's state file (default
                        $XDG_STATE_HOME/panelsim/controller.state, or
                        ~/.local/state/panelsim/controller.state)
  panelsim --headless --script FILE [--realtime [--uart0 DEVICE]]
        the panel on virtual time, driven by a script (FILE "-" reads standard input);
        standard output is the panel's debug log, byte for byte, with the runner's own lines
        starting with "@ ". Exit status 0 when the script ran through, 1 when an expectation
        failed, 2 for a usage or script error.
        --realtime      the same on the panel's real threads, paced to the wall clock
        --uart0 DEVICE  with --realtime: serial channel 0 on a serial device (for example one
                        end of a pseudo-terminal pair) instead of the runner's own line

)";

int usageError(const char* message)
{
    fprintf(stderr, "panelsim: %s\n%s%s", message, usage, SCRIPT_Help().c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    HeadlessOptions headless;
    bool isHeadless = false;
#if PANELSIM_WINDOW
    WindowOptions window;
#endif
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) return nullptr;
            (void)name;
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            fputs(usage, stdout);
            fputs(SCRIPT_Help().c_str(), stdout);
            return 0;
        } else if (arg == "--headless") {
            isHeadless = true;
        } else if (arg == "--script") {
            const char* v = value("--script");
            if (!v) return usageError("--script needs a file");
            headless.scriptPath = v;
        } else if (arg == "--realtime") {
            headless.realtime = true;
        } else if (arg == "--uart0") {
            const char* v = value("--uart0");
            if (!v) return usageError("--uart0 needs a device");
            headless.uart0 = v;
#if PANELSIM_WINDOW
            window.uart0 = v;
#endif
#if PANELSIM_WINDOW
        } else if (arg == "--no-dialogs") {
            window.dialogs = false;
        } else if (arg == "--controller") {
            window.controller = true;
        } else if (arg == "--fresh") {
            window.fresh = true;
        } else if (arg == "--state") {
            const char* v = value("--state");
            if (!v) return usageError("--state needs a file");
            window.stateFile = v;
        } else if (arg == "--quit-after") {
            const char* v = value("--quit-after");
            if (!v) return usageError("--quit-after needs milliseconds");
            window.quitAfterMs = atoll(v);
        } else if (arg == "--screenshot") {
            const char* v = value("--screenshot");
            if (!v) return usageError("--screenshot needs a file");
            window.screenshot = v;
        } else if (arg == "--click") {
            const char* v = value("--click");
            if (!v) return usageError("--click needs a hardkey number");
            window.clickHardkeys.push_back(atoi(v));
#endif
        } else {
            return usageError(("unknown option " + arg).c_str());
        }
    }
    if (isHeadless) {
        if (headless.scriptPath.empty()) return usageError("--headless needs --script FILE");
        if (!headless.uart0.empty() && !headless.realtime)
            return usageError("--uart0 with --headless needs --realtime (virtual time has its "
                              "own line)");
        return HEADLESS_Run(headless);
    }
    if (!headless.scriptPath.empty() || headless.realtime)
        return usageError("--script and --realtime belong to --headless");
#if PANELSIM_WINDOW
    return WINDOW_Run(window);
#else
    return usageError("this build has no window host; use --headless");
#endif
}
