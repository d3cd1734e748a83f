// Every test program starts as the panel does: the layers connected, and the panel's debug
// output kept to itself (a test that checks log lines captures them with LogCapture).
#include "sim/hal/debug.h"
#include "startup/startup.h"

namespace {
struct TestStart {
    TestStart()
    {
        SIM_SetDebugSink([](const char*, size_t) {});
        APP_ConnectLayers();
    }
} testStart;
} // namespace
