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

void TXT_SetLanguage(uint8_t index) { language = index < TXT_LANGUAGE_COUNT ? index : 0; }
uint8_t TXT_GetLanguage() { return language; }
