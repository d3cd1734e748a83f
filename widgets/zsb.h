// The time bar of the time programs: 24 hours on 216 pixels with the switching phases.
#pragma once

#include <array>
#include <cstdint>

// Starts of phases 1-4, then their ends, in 10-minute units from midnight (0..144).
using ZSB_Phases = std::array<uint8_t, 8>;
inline constexpr uint8_t ZSB_UNUSED = 255;

// Bar 16 pixels below top, scale and hour labels in the small font below it. Used phases are
// dotted; the phase that contains the time of day is solid.
void ZSB_Draw(int16_t top, const ZSB_Phases& phases);
// x of a time in 10-minute units.
constexpr int16_t ZSB_X(uint8_t t) { return static_cast<int16_t>(10 + t * 216 / 144); }
