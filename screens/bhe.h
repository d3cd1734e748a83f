// The manufacturer's end-of-line check: the display's two halves, the keys with their codes and
// the checksum, stepped through with Up and Down. Opened by Menu+Down in the first seconds
// after power-up; Back or a minute without a key ends it with a cold start.
#pragma once

#include "kernel/hsm.h"

extern const State BHE_HerstellerEndkontrolle;
extern const State BHE_Displaytest_1;
extern const State BHE_Displaytest_2;
extern const State BHE_Keyboardtest;
extern const State BHE_RomChecksum;
