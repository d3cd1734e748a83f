// The help display: a title and a help text for every help code, paged when the text is longer
// than the screen; for the records of the fault list and the fault history the fault's code,
// date and time and its own help text.
#pragma once

#include "kernel/hsm.h"
#include "widgets/help_codes.h"

// Opened with a help code (widgets/help_codes.h) as the SIG_INIT parameter.
extern const State BHA_Hilfeanzeige;
