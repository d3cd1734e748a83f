// Debug output: the panel's log lines go to the host's debug output, which a host (window,
// headless runner, test) directs where it needs them.
#pragma once

#include <cstddef>

// printf conventions, at most 255 characters a call; messages begin with a line feed.
void DBG_Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The host's debug output; every byte DBG_Printf produced arrives here, in order.
void OutputDebugStringA(const char* text);

using SIM_DebugSink = void (*)(const char* text, size_t length);
// Replaces the sink (nullptr restores the default, standard output); returns the previous one.
SIM_DebugSink SIM_SetDebugSink(SIM_DebugSink sink);
