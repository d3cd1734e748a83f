// Event queues and the cooperative scheduler: eight priorities, sixteen slots each, the
// highest ready priority served first after every single event.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

inline constexpr uint8_t PRIO_COUNT = 8;
inline constexpr uint8_t EVT_QUEUE_SLOTS = 16;

// Priorities of the tasks; 0, 6 and 7 have queues and no task.
inline constexpr uint8_t PRIO_UI = 1;
inline constexpr uint8_t PRIO_LIGHT = 2;
inline constexpr uint8_t PRIO_KEYS = 3;
inline constexpr uint8_t PRIO_TIMER = 4;
inline constexpr uint8_t PRIO_LINK = 5;

bool EVT_Post(uint8_t priority, Signal sig, uint32_t par = 0);
void EVT_Run();
void EVT_Purge(uint8_t priority, Signal low, Signal high);
inline void EVT_Purge(uint8_t priority, Signal sig) { EVT_Purge(priority, sig, sig); }
void EVT_Send(Hsm* machine, Signal sig, uint32_t par = 0);
void EVT_Construct(uint8_t priority);
void EVT_ClearReady();
Hsm* EVT_Machine(uint8_t priority);
StateHandler EVT_CurrentState(uint8_t priority);
uint8_t EVT_HighWater(uint8_t priority);
uint8_t EVT_QueueLength(uint8_t priority);
uint8_t EVT_Pending(uint8_t priority);

// Index of the most significant set bit of n, -1 for 0: picks the highest ready priority.
int8_t EVT_Log2(uint8_t n);
