// The data-flash image as the factory writes it: header, parameter area and the language
// section with the translations. All numbers little-endian.
#include <cstring>

#include "textgen.h"

namespace {

constexpr char imageName[] = "Flash20090313";
constexpr uint32_t nameSize = 16;
constexpr uint32_t directoryOffset = 0x420;
constexpr uint32_t paramOffset = 0x1C;
constexpr uint32_t marker = 0x49BA6CD6;
constexpr uint32_t paramWord = 0x400;
constexpr char serialNumber[] = "2009031300000001";
constexpr char digitField[] = "0000000";

// The one-byte parameters by their offset in the parameter area.
constexpr struct {
    uint32_t offset;
    uint8_t value;
} paramBytes[] = {
    {34, 5},   // factory byte
    {37, 46},  // display contrast
    {38, 30},  // lowest operating backlight level
    {39, 200}, // highest operating backlight level
    {40, 120}, // operating backlight level
    {41, 2},   // lowest idle backlight level
    {42, 20},  // highest idle backlight level
    {43, 10},  // idle backlight level
};

void put32(std::vector<uint8_t>& image, uint32_t at, uint32_t value)
{
    if (image.size() < at + 4) image.resize(at + 4);
    for (int k = 0; k < 4; ++k)
        image[at + k] = static_cast<uint8_t>(value >> (8 * k));
}

void putBytes(std::vector<uint8_t>& image, uint32_t at, const void* bytes, size_t size)
{
    if (image.size() < at + size) image.resize(at + size);
    std::memcpy(image.data() + at, bytes, size);
}

static_assert(sizeof serialNumber - 1 == 16 && sizeof digitField - 1 == 7);

} // namespace

std::vector<uint8_t> TG_BuildImage(const std::array<std::optional<Texts>, TG_LANGUAGE_COUNT>& texts)
{
    std::vector<uint8_t> image(directoryOffset, 0);
    putBytes(image, 0, imageName, sizeof imageName); // the rest of the 16 bytes stays zero
    static_assert(sizeof imageName <= nameSize);
    put32(image, 16, directoryOffset);
    put32(image, 20, paramOffset);
    put32(image, 24, marker);

    put32(image, paramOffset, paramWord);
    putBytes(image, paramOffset + 4, serialNumber, 16);
    putBytes(image, paramOffset + 20, digitField, 7);
    putBytes(image, paramOffset + 27, digitField, 7);
    for (const auto& p : paramBytes)
        image[paramOffset + p.offset] = p.value;

    put32(image, directoryOffset, TG_LANGUAGE_COUNT);
    put32(image, directoryOffset + 4, TG_TEXT_COUNT);
    const auto entry = [](uint32_t language) { return directoryOffset + 8 + 4 * language; };
    uint32_t at = entry(TG_LANGUAGE_COUNT);
    // Language 0 is built into the program; its entry repeats language 1's so that a lookup
    // through it still finds a well-formed table.
    for (uint32_t language = 1; language < TG_LANGUAGE_COUNT; ++language) {
        const uint32_t table = at;
        put32(image, entry(language), table);
        if (language == 1) put32(image, entry(0), table);
        at = table + 4 * (TG_TEXT_COUNT + 1);
        for (uint32_t id = 0; id <= TG_TEXT_COUNT; ++id) {
            put32(image, table + 4 * id, at);
            if (id < TG_TEXT_COUNT && texts[language]) {
                const std::string& text = (*texts[language])[id];
                putBytes(image, at, text.data(), text.size());
                at += static_cast<uint32_t>(text.size());
            }
        }
    }
    return image;
}
