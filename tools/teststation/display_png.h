// The panel's display memory (240 x 160 pixels, row by row, 8 pixels a byte, the leftmost in
// the most significant bit) as a PNG picture: set pixels white, clear ones black.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int DISPLAY_WIDTH = 240;
inline constexpr int DISPLAY_HEIGHT = 160;
inline constexpr int DISPLAY_ROW_BYTES = DISPLAY_WIDTH / 8;

// The whole display memory from a 240 x 160 picture of any PNG colour type: a pixel is set
// when it is light (the panel's greys and white), clear when it is dark. Throws StationError
// (status 2) for a missing, unreadable or wrongly sized file.
std::vector<uint8_t> PNG_ReadDisplay(const std::string& path);
// Writes display memory as a picture; bytes missing at the end show as black.
void PNG_WriteDisplay(const std::string& path, const std::vector<uint8_t>& memory);
