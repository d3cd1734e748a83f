// The link task (priority 5): starts communication with the boiler controller, requests its
// messages cyclically and supervises the bus.
#pragma once

#include "kernel/hsm.h"

extern const State DIS_I2C_Task;
extern const State DIS_StartCommunication;
extern const State DIS_Run;

// Read-outs of the task's flags.
bool DIS_PollingEnabled();
bool DIS_BusActive();
// Arms the bus supervision; the bus driver calls it when a transfer sequence starts.
void DIS_SetBusActive(bool active);
