#include "display/text.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/utf8.h"
#include "display/flash.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "kernel/signals.h"

// Built into the program from texts/de.txt by the text generator.
extern const std::array<const char*, TXT_COUNT> TXT_GermanTexts;

namespace {

// Decimal separator of each language, by language index.
constexpr std::array<char, TXT_LANGUAGE_COUNT> decimalSeparator{
    ',', ',', '.', '.', '.', ',', '.', '.', '.', '.', '.', '.', '.', '.', '.', '.', '.', '.', '.'};

std::array<char, TXT_BUFFER_SIZE> shared{};
uint8_t language = 0;
TXT_LabelSource labelSource = nullptr;

uint16_t copyGerman(TextId id, char* buffer, uint16_t size)
{
    const char* text = TXT_GermanTexts[id];
    const size_t length = std::strlen(text);
    const uint16_t n = length < size ? static_cast<uint16_t>(length)
                                     : GFX_Utf8Prefix(text, static_cast<uint16_t>(size - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = 0;
    return n;
}

} // namespace

void TXT_Init()
{
    shared.fill(0);
    language = 0;
}

void TXT_SetLabelSource(TXT_LabelSource source) { labelSource = source; }

void TXT_SetLanguage(uint8_t index) { language = index < TXT_LANGUAGE_COUNT ? index : 0; }
uint8_t TXT_GetLanguage() { return language; }

uint16_t TXT_GetInto(TextId id, char* buffer, uint16_t size)
{
    if (id >= TXT_COUNT && id != TXT_NONE) EVT_Post(PRIO_UI, SIG_BED_ERROR_RESET, RESET_TEXT_ID);
    if (size == 0) return 0;
    buffer[0] = 0;
    if (id >= TXT_COUNT) return 0;
    // A circuit label replaces "Heizkreis 1" and "Heizkreis 2".
    if ((id == TXT_HEIZKREIS_1 || id == TXT_HEIZKREIS_2) && labelSource != nullptr) {
        const uint16_t n = labelSource(id, buffer, size);
        if (n > 0) return n;
    }
    // Once the translations are there, a text they lack stays empty rather than German.
    if (language != 0 && FLS_IsValid()) return FLS_ReadText(language, id, buffer, size);
    return copyGerman(id, buffer, size);
}

const char* TXT_Get(TextId id)
{
    TXT_GetInto(id, shared.data(), TXT_BUFFER_SIZE);
    return shared.data();
}

char TXT_GetDecimalSeparator() { return decimalSeparator[language]; }
