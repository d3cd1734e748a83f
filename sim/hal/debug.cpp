#include "sim/hal/debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

void stdoutSink(const char* text, size_t length)
{
    fwrite(text, 1, length, stdout);
    fflush(stdout);
}

std::mutex sinkLock; // the tick thread reports timer and lock misuse too
SIM_DebugSink sink = stdoutSink;

} // namespace

SIM_DebugSink SIM_SetDebugSink(SIM_DebugSink next)
{
    std::lock_guard guard(sinkLock);
    SIM_DebugSink previous = sink;
    sink = next ? next : stdoutSink;
    return previous;
}

void OutputDebugStringA(const char* text)
{
    std::lock_guard guard(sinkLock);
    sink(text, strlen(text));
}

void DBG_Printf(const char* format, ...)
{
    if (format == nullptr) return;
    char buffer[256];
    va_list args;
    va_start(args, format);
    // vsnprintf never writes past the buffer and always terminates it; longer lines are cut.
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    OutputDebugStringA(buffer);
}
