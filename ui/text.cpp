#include "ui/text.h"

#include <array>

namespace {
std::array<char, TXT_BUFFER_SIZE> buffer{};
uint8_t language = 0;
} // namespace

void TXT_Init()
{
    buffer.fill(0);
    language = 0;
}
