// The simulation commands of the device window (hardkeys 13..33, commands 0..20): restarts, the
// status bits of the test states and the service combinations, as the panel's signals.
#pragma once

// Runs on the window's (or the script's) thread with the interrupt lock released.
void APP_SimulationCommand(int command);
