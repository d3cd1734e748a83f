// Golden images: the visible panel (24-bit RGB in the window's greys) compared with a PNG kept
// beside the test or script that owns it. On a difference the actual picture and a picture of
// the differing pixels (red) are written next to the golden, so a reviewer can look at both.
// With PANELSIM_UPDATE_GOLDEN=1 in the environment the golden is written instead.
#pragma once

#include <cstdint>
#include <string>

// True when the picture equals the golden (or the golden was just written). Otherwise false
// with the reason in `report`: the golden is missing or unreadable, its size differs, or how
// many pixels differ and where the actual and difference pictures are.
bool GOLDEN_Compare(const uint8_t* rgb, int width, int height, const std::string& goldenPath,
                    std::string& report);

// Paths of the pictures written beside a golden on a difference.
std::string GOLDEN_ActualPath(const std::string& goldenPath);
std::string GOLDEN_DiffPath(const std::string& goldenPath);
