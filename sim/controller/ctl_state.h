// The state file of the controller emulator: what the panel sent (language, contrast, unit,
// brightness, set temperatures, programmes, holiday, time programs, labels, coding values) and
// what the controller remembers (counters, fault history), as text lines, versioned. A file is
// written whole or not at all and read all or nothing.
#pragma once

#include <string>

#include "sim/controller/ctl_plant.h"

inline constexpr int CTL_STATE_VERSION = 2;

enum class CtlStateRead { Loaded, Missing, Damaged };

struct CtlStateResult {
    CtlStateRead read;
    int version = 0;     // of the layout read
    std::string problem; // for a damaged file: what is wrong, with the line number
};

// The text of the current layout.
std::string CTL_StateText(const CtlPlant& plant);
// Takes a state text over into the plant, or leaves the plant untouched when anything in it is
// wrong; reads the current layout and the older version 1 (without labels, coding values,
// brightness, unit and counters).
CtlStateResult CTL_ParseState(const std::string& text, CtlPlant& plant);

CtlStateResult CTL_ReadStateFile(const std::string& path, CtlPlant& plant);
// Through a temporary file beside it and a rename, with mode 0600; the folders are made.
bool CTL_WriteStateFile(const std::string& path, const CtlPlant& plant, std::string& error);
