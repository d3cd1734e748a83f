// Text identifiers: the index of every visible word in the text catalogue.
#pragma once

#include <cstdint>

using TextId = uint16_t;
inline constexpr TextId TXT_NONE = 65535;
inline constexpr TextId TXT_COUNT = 395;
