// The hardware quality check: a test station on serial channel 0 reads and writes the display
// memory and the factory parameters, triggers display patterns and reads the keys pressed.
// Opened by the byte 5 in the first seconds after power-up; ends with a cold start.
#pragma once

#include <cstdint>

#include "kernel/hsm.h"

extern const State BHQ_HardwareQualityCheck;
extern const State BHQ_WaitingForCommand;
extern const State BHQ_HWQCStop;
extern const State BHQ_HWQCTestStart;
extern const State BHQ_WriteLCDCache;
extern const State BHQ_WriteLCDCacheAcknowledge;
extern const State BHQ_ReadLCDCache;
extern const State BHQ_InvokeReadLCDCache;
extern const State BHQ_SpecialFunctions;
extern const State BHQ_ServeSpecialFunctions;
extern const State BHQ_WriteVirtual;
extern const State BHQ_WriteVirtualAcknowledge;
extern const State BHQ_ReadVirtual;
extern const State BHQ_InvokeReadVirtual;

// The key codes both factory tests report: Back 1, Up 2, Left 3, OK 4, Right 5, Down 6,
// Help 7, Menu 8; 0 for any other signal.
uint8_t BHQ_KeyCode(Signal sig);
