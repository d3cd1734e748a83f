#include "display/flash.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/utf8.h"
#include "display/lcd.h"

// Built into the program by the text generator from texts/*.txt.
extern uint8_t FLS_BuiltInImage[];
extern const uint32_t FLS_BuiltInImageSize;

namespace {

constexpr uint32_t directoryOffsetAt = 16;
constexpr uint32_t paramBaseAt = 20;
constexpr uint32_t markerAt = 24;
constexpr uint32_t headerSize = 28;
constexpr uint32_t marker = 0x49BA6CD6;
constexpr uint32_t paramAreaSize = 44;
constexpr uint32_t directoryHeaderSize = 8;
// A lookup names its language in 8 bits and its text in 16, so entries past these are never
// read.
constexpr uint32_t addressableLanguages = 256;
constexpr uint32_t addressableEntries = 65536 + 1;

struct DigitField {
    uint32_t offset; // in the parameter area
    uint16_t size;
};
// Indexed by FlsDigitField.
constexpr std::array<DigitField, 3> digitFields{{{4, 16}, {20, 7}, {27, 7}}};

// What the check of the image found; the offsets are used only when it is valid, and then
// every read through them stays inside the image.
struct Layout {
    bool valid;
    uint32_t directory;
    uint32_t languages;
    uint32_t texts;
};

uint8_t* image = FLS_BuiltInImage;
uint32_t imageSize = FLS_BuiltInImageSize;
bool checked = false;
Layout layout{};

bool fits(uint64_t offset, uint64_t length) { return offset + length <= imageSize; }

// Only for offsets that fit.
uint32_t read32(uint32_t at)
{
    return static_cast<uint32_t>(image[at]) | static_cast<uint32_t>(image[at + 1]) << 8 |
           static_cast<uint32_t>(image[at + 2]) << 16 | static_cast<uint32_t>(image[at + 3]) << 24;
}

bool tableFits(uint32_t table, uint32_t texts)
{
    if (!fits(table, 4ull * (texts + 1ull))) return false;
    const uint64_t entries = std::min<uint64_t>(texts + 1ull, addressableEntries);
    for (uint64_t i = 0; i < entries; ++i)
        if (read32(static_cast<uint32_t>(table + 4 * i)) > imageSize) return false;
    return true;
}

Layout check()
{
    Layout l{};
    if (image == nullptr || !fits(0, headerSize) || read32(markerAt) != marker) return l;
    if (!fits(read32(paramBaseAt), paramAreaSize)) return l;
    l.directory = read32(directoryOffsetAt);
    if (!fits(l.directory, directoryHeaderSize)) return l;
    l.languages = read32(l.directory);
    l.texts = read32(l.directory + 4);
    if (!fits(l.directory + directoryHeaderSize, 4ull * l.languages)) return l;
    const uint32_t tables = std::min(l.languages, addressableLanguages);
    for (uint32_t language = 0; language < tables; ++language)
        if (!tableFits(read32(l.directory + directoryHeaderSize + 4 * language), l.texts)) return l;
    l.valid = true;
    return l;
}

const Layout& current()
{
    if (!checked) {
        layout = check();
        checked = true;
    }
    return layout;
}

// Parameter offsets of a damaged header may point anywhere; past the end reads nothing.
uint32_t paramAddress(uint32_t field)
{
    const uint64_t at = static_cast<uint64_t>(FLS_ParamBase()) + field;
    return static_cast<uint32_t>(std::min<uint64_t>(at, UINT32_MAX));
}

uint8_t setting(FlsParam param, uint8_t fallback)
{
    return FLS_IsValid() ? FLS_GetParam(param) : fallback;
}

} // namespace

uint16_t FLS_Read(uint32_t offset, void* buffer, uint16_t length)
{
    if (image == nullptr || offset >= imageSize) return 0;
    const auto n = static_cast<uint16_t>(std::min<uint32_t>(length, imageSize - offset));
    std::memcpy(buffer, image + offset, n);
    return n;
}

uint16_t FLS_Write(const void* buffer, uint32_t offset, uint16_t length)
{
    if (image == nullptr || offset >= imageSize) return 0;
    const auto n = static_cast<uint16_t>(std::min<uint32_t>(length, imageSize - offset));
    std::memcpy(image + offset, buffer, n);
    // The factory may have written a header or directory field: check again at the next use.
    checked = false;
    return n;
}

bool FLS_IsValid() { return current().valid; }

uint32_t FLS_ParamBase() { return fits(paramBaseAt, 4) ? read32(paramBaseAt) : 0; }

uint8_t FLS_GetParam(FlsParam param)
{
    uint8_t value = 0;
    FLS_Read(paramAddress(static_cast<uint32_t>(param)), &value, 1);
    return value;
}

void FLS_SetParam(FlsParam param, uint8_t value)
{
    FLS_Write(&value, paramAddress(static_cast<uint32_t>(param)), 1);
}

uint16_t FLS_ReadDigits(FlsDigitField field, char* buffer, uint16_t length)
{
    const DigitField& f = digitFields[static_cast<size_t>(field)];
    return FLS_Read(paramAddress(f.offset), buffer, std::min(length, f.size));
}

uint16_t FLS_WriteDigits(FlsDigitField field, const char* digits, uint16_t length)
{
    const DigitField& f = digitFields[static_cast<size_t>(field)];
    return FLS_Write(digits, paramAddress(f.offset), std::min(length, f.size));
}

uint8_t FLS_GetContrastSetting() { return setting(FlsParam::Contrast, lcd_getDefaultContrast()); }
uint8_t FLS_GetOperatingBacklight() { return setting(FlsParam::OperatingBacklight, 168); }
uint8_t FLS_GetIdleBacklight() { return setting(FlsParam::IdleBacklight, 24); }
uint8_t FLS_GetMaxOperatingBacklight() { return setting(FlsParam::MaxOperatingBacklight, 216); }
uint8_t FLS_GetMinOperatingBacklight() { return setting(FlsParam::MinOperatingBacklight, 48); }
uint8_t FLS_GetMaxIdleBacklight() { return setting(FlsParam::MaxIdleBacklight, 36); }
uint8_t FLS_GetMinIdleBacklight() { return setting(FlsParam::MinIdleBacklight, 1); }

uint16_t FLS_ReadText(uint8_t language, uint16_t textId, char* buffer, uint16_t size)
{
    if (size == 0) return 0;
    buffer[0] = 0;
    const Layout& l = current();
    if (!l.valid || language >= l.languages || textId >= l.texts) return 0;
    const uint32_t table = read32(l.directory + directoryHeaderSize + 4u * language);
    const uint32_t start = read32(table + 4u * textId);
    const uint32_t end = read32(table + 4u * textId + 4);
    if (start >= end) return 0;
    const char* text = reinterpret_cast<const char*>(image + start);
    uint32_t n = end - start;
    if (n > size - 1u) n = GFX_Utf8Prefix(text, static_cast<uint16_t>(size - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = 0;
    return static_cast<uint16_t>(n);
}

void FLS_UseImage(uint8_t* bytes, uint32_t size)
{
    image = bytes;
    imageSize = bytes == nullptr ? 0 : size;
    checked = false;
}

void FLS_UseBuiltInImage() { FLS_UseImage(FLS_BuiltInImage, FLS_BuiltInImageSize); }
