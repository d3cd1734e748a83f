// The headless runner: the panel on virtual time (or paced to the wall clock with
// --realtime), driven by a script, reporting on standard output.
#pragma once

#include <string>

struct HeadlessOptions {
    std::string scriptPath; // "-" for standard input
    bool realtime = false;
    std::string uart0; // --realtime: the device of serial channel 0; empty: a pseudo terminal
};

// Exit status: 0 the script ran through, 1 an expectation failed, 2 a usage or script error.
int HEADLESS_Run(const HeadlessOptions& options);
