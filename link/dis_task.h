// The link task (priority 5): starts communication with the boiler controller, requests its
// messages cyclically and supervises the bus.
#pragma once

#include "kernel/hsm.h"
#include "link/dis.h"

extern const State DIS_I2C_Task;
extern const State DIS_StartCommunication;
extern const State DIS_Run;

// Read-outs of the task's flags; the bus driver arms the supervision (DIS_SetBusActive).
bool DIS_PollingEnabled();
bool DIS_BusActive();
