// The four CPU ticks of the target (1, 10, 20 and 100 ms) with their enable counters. A tick
// handler runs only while its counter is non-zero; unbalanced enables and disables are
// reported as fatal errors on the debug output and processing continues.
#pragma once

#include <cstdint>

void CPU_TimerInit();

void tim_enableTimer1ms();
void tim_enableTimer10ms();
void tim_enableTimer20ms();
void tim_enableTimer100ms();
void tim_disableTimer1ms();
void tim_disableTimer10ms();
void tim_disableTimer20ms();
void tim_disableTimer100ms();
void tim_enableAll();  // 100, 20, 10, 1 ms
void tim_disableAll(); // 100, 20, 10, 1 ms

// Read-out for tests and the host: the enable counter of a tick (0 = not called).
int32_t tim_enableCount(uint8_t tick);
