#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/flash.h"
#include "display/lcd.h"

namespace {

constexpr uint32_t marker = 0x49BA6CD6;
constexpr uint32_t paramBase = 28;
constexpr uint32_t directory = 1056;
constexpr uint32_t tableSize = 396 * 4;

// Language index -> source code and name (text 394).
constexpr struct {
    const char* code;
    const char* name;
} languages[] = {
    {"de", "Deutsch"},    {"cs", "Česky"},    {"da", "Dansk"},     {"en", "English"},
    {"es", "Español"},    {"et", "Estnisch"}, {"fr", "Français"},  {"hr", "Hrvatski"},
    {"it", "Italiano"},   {"lv", "Lettisch"}, {"lt", "Litauisch"}, {"hu", "magyar"},
    {"nl", "Nederlands"}, {"pl", "Polski"},   {"ru", "Русский"},   {"ro", "Română"},
    {"sl", "Slovensko"},  {"sv", "Svenska"},  {"tr", "Türkçe"},
};

std::vector<uint8_t> builtInImage()
{
    FLS_UseBuiltInImage();
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    for (;;) {
        const uint16_t n = FLS_Read(static_cast<uint32_t>(bytes.size()), chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk) return bytes;
    }
}

uint32_t get32(const std::vector<uint8_t>& b, uint32_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

void set32(std::vector<uint8_t>& b, uint32_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

std::string readText(uint8_t language, uint16_t id, uint16_t size = 1212)
{
    std::vector<char> buffer(size, '#');
    const uint16_t n = FLS_ReadText(language, id, buffer.data(), size);
    EXPECT_EQ(buffer[n], 0);
    return std::string(buffer.data(), n);
}

// Works on a copy of the built-in image, so writes stay inside the test.
class Flash : public ::testing::Test {
  protected:
    void SetUp() override
    {
        image = builtInImage();
        use(image);
    }
    void TearDown() override { FLS_UseBuiltInImage(); }
    static void use(std::vector<uint8_t>& bytes)
    {
        FLS_UseImage(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    void write32(uint32_t at, uint32_t v)
    {
        uint8_t bytes[4];
        for (int k = 0; k < 4; ++k)
            bytes[k] = static_cast<uint8_t>(v >> (8 * k));
        ASSERT_EQ(FLS_Write(bytes, at, 4), 4);
    }
    uint32_t table(uint8_t language) const { return get32(image, directory + 8 + 4 * language); }

    std::vector<uint8_t> image;
};

TEST_F(Flash, BuiltInImageHoldsHeaderAndParameterArea)
{
    EXPECT_EQ(std::string(image.begin(), image.begin() + 16),
              std::string("Flash20090313\0\0\0", 16));
    EXPECT_EQ(get32(image, 16), directory);
    EXPECT_EQ(get32(image, 20), paramBase);
    EXPECT_EQ(get32(image, 24), marker);
    EXPECT_TRUE(FLS_IsValid());
    EXPECT_EQ(FLS_ParamBase(), paramBase);

    EXPECT_EQ(get32(image, paramBase), 0x400u);
    const std::string serial(image.begin() + paramBase + 4, image.begin() + paramBase + 20);
    EXPECT_TRUE(std::all_of(serial.begin(), serial.end(), ::isdigit)) << serial;
    EXPECT_EQ(std::string(image.begin() + paramBase + 20, image.begin() + paramBase + 34),
              "00000000000000");

    const struct {
        FlsParam param;
        uint8_t value;
    } params[] = {{FlsParam::FactoryByte, 5},
                  {FlsParam::Contrast, 46},
                  {FlsParam::MinOperatingBacklight, 30},
                  {FlsParam::MaxOperatingBacklight, 200},
                  {FlsParam::OperatingBacklight, 120},
                  {FlsParam::MinIdleBacklight, 2},
                  {FlsParam::MaxIdleBacklight, 20},
                  {FlsParam::IdleBacklight, 10}};
    for (const auto& p : params) {
        EXPECT_EQ(FLS_GetParam(p.param), p.value) << int(p.param);
        EXPECT_EQ(image[paramBase + static_cast<uint32_t>(p.param)], p.value) << int(p.param);
    }
}

TEST_F(Flash, LanguageSectionPacksEveryLanguageBehindItsTable)
{
    EXPECT_EQ(get32(image, directory), 19u);
    EXPECT_EQ(get32(image, directory + 4), 395u);
    EXPECT_EQ(table(0), table(1));
    EXPECT_EQ(table(1), directory + 8 + 19 * 4);
    for (uint8_t language = 1; language < 19; ++language) {
        SCOPED_TRACE(languages[language].code);
        const uint32_t t = table(language);
        // The texts follow their table, and the next table follows the texts.
        EXPECT_EQ(get32(image, t), t + tableSize);
        const uint32_t end = get32(image, t + 395 * 4);
        EXPECT_EQ(end, language == 18 ? image.size() : table(language + 1));
        for (uint32_t id = 0; id < 395; ++id)
            ASSERT_LE(get32(image, t + 4 * id), get32(image, t + 4 * id + 4)) << id;
        EXPECT_EQ(readText(language, 394), languages[language].name);
    }
}

TEST_F(Flash, EnglishTextsComeFromTheSection)
{
    EXPECT_EQ(readText(3, 9), "Leaving date:");
    EXPECT_EQ(readText(3, 393), "GB");
    EXPECT_EQ(readText(3, 9, 8), "Leaving");
    EXPECT_EQ(readText(3, 395), "");
    EXPECT_EQ(readText(19, 9), "");
}

TEST_F(Flash, SettingsFallBackToTheirDefaultsWithoutTheMarker)
{
    const struct {
        uint8_t (*get)();
        uint8_t stored;
        uint8_t fallback;
    } settings[] = {
        {FLS_GetContrastSetting, 46, lcd_getDefaultContrast()},
        {FLS_GetOperatingBacklight, 120, 168},
        {FLS_GetIdleBacklight, 10, 24},
        {FLS_GetMaxOperatingBacklight, 200, 216},
        {FLS_GetMinOperatingBacklight, 30, 48},
        {FLS_GetMaxIdleBacklight, 20, 36},
        {FLS_GetMinIdleBacklight, 2, 1},
    };
    for (const auto& s : settings)
        EXPECT_EQ(s.get(), s.stored);
    write32(24, 0);
    EXPECT_FALSE(FLS_IsValid());
    for (const auto& s : settings)
        EXPECT_EQ(s.get(), s.fallback);
    EXPECT_EQ(readText(3, 394), "");
    write32(24, marker);
    EXPECT_TRUE(FLS_IsValid());
    EXPECT_EQ(FLS_GetOperatingBacklight(), 120);
}

TEST_F(Flash, ParameterSettersWriteTheParameterArea)
{
    FLS_SetParam(FlsParam::Contrast, 60);
    FLS_SetParam(FlsParam::IdleBacklight, 7);
    EXPECT_EQ(image[paramBase + 37], 60);
    EXPECT_EQ(image[paramBase + 43], 7);
    EXPECT_EQ(FLS_GetContrastSetting(), 60);
    EXPECT_EQ(FLS_GetIdleBacklight(), 7);
    EXPECT_EQ(image[paramBase + 42], 20); // the neighbours are untouched
}

TEST_F(Flash, DigitFieldsCopyAtMostTheirSize)
{
    const struct {
        FlsDigitField field;
        uint32_t offset;
        uint16_t size;
    } fields[] = {{FlsDigitField::SerialNumber, 4, 16},
                  {FlsDigitField::Field20, 20, 7},
                  {FlsDigitField::Field27, 27, 7}};
    const char digits[] = "98765432109876543210";
    for (const auto& f : fields) {
        SCOPED_TRACE(f.offset);
        char buffer[20];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(FLS_ReadDigits(f.field, buffer, 20), f.size);
        EXPECT_EQ(std::memcmp(buffer, image.data() + paramBase + f.offset, f.size), 0);
        EXPECT_EQ(buffer[f.size], '#');
        EXPECT_EQ(FLS_ReadDigits(f.field, buffer, 3), 3);

        const std::vector<uint8_t> before = image;
        EXPECT_EQ(FLS_WriteDigits(f.field, digits, 20), f.size);
        for (uint32_t i = 0; i < image.size(); ++i) {
            const bool inField = i >= paramBase + f.offset && i < paramBase + f.offset + f.size;
            ASSERT_EQ(image[i], inField ? digits[i - paramBase - f.offset] : before[i]) << i;
        }
    }
}

TEST(FlashClipping, ReadAndWriteStopAtTheEndOfTheImage)
{
    // Guard bytes behind the image must survive every write.
    std::vector<uint8_t> bytes(40, 0xAA);
    FLS_UseImage(bytes.data(), 32);
    const uint8_t data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    uint8_t out[10] = {};
    EXPECT_EQ(FLS_Write(data, 29, 10), 3);
    EXPECT_EQ(FLS_Write(data, 32, 10), 0);
    EXPECT_EQ(FLS_Write(data, 0xFFFFFFFF, 10), 0);
    EXPECT_EQ(FLS_Read(29, out, 10), 3);
    EXPECT_EQ(out[2], 3);
    EXPECT_EQ(FLS_Read(32, out, 10), 0);
    EXPECT_EQ(FLS_Read(0, out, 0), 0);
    for (size_t i = 32; i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i], 0xAA) << i;
    FLS_UseBuiltInImage();
}

TEST(FlashClipping, NoImageRunsOnDefaults)
{
    FLS_UseImage(nullptr, 1000);
    uint8_t out[4] = {};
    EXPECT_FALSE(FLS_IsValid());
    EXPECT_EQ(FLS_Read(0, out, 4), 0);
    EXPECT_EQ(FLS_Write(out, 0, 4), 0);
    EXPECT_EQ(FLS_ParamBase(), 0u);
    EXPECT_EQ(FLS_GetOperatingBacklight(), 168);
    EXPECT_EQ(FLS_GetContrastSetting(), lcd_getDefaultContrast());
    EXPECT_EQ(readText(3, 9), "");
    FLS_UseBuiltInImage();
    EXPECT_TRUE(FLS_IsValid());
}

// Each damage points one offset outside the image; the whole image then counts as invalid.
TEST_F(Flash, AnOffsetOutsideTheImageMakesItInvalid)
{
    const auto size = static_cast<uint32_t>(image.size());
    const struct {
        const char* what;
        uint32_t at;
        uint32_t value;
    } damages[] = {
        {"parameter area past the end", 20, size - 43},
        {"parameter base wrapping around", 20, 0xFFFFFFF0},
        {"directory past the end", 16, size - 4},
        {"language count larger than the directory", directory, 0x40000000},
        {"text count larger than the tables", directory + 4, 0x10000000},
        {"offset table past the end", directory + 8 + 4 * 7, size - 100},
        {"text entry past the end", table(5) + 4 * 200, size + 1},
        {"last entry past the end", table(18) + 4 * 395, size + 1},
        {"unused language 0 past the end", directory + 8, size},
    };
    for (const auto& d : damages) {
        SCOPED_TRACE(d.what);
        std::vector<uint8_t> copy = image;
        use(copy);
        ASSERT_TRUE(FLS_IsValid());
        write32(d.at, d.value); // a write is checked again at the next use
        EXPECT_FALSE(FLS_IsValid());
        EXPECT_EQ(FLS_GetOperatingBacklight(), 168);
        EXPECT_EQ(readText(5, 200), "");
        EXPECT_EQ(readText(3, 394), "");
    }
    // Cut anywhere inside the section, the image is invalid as well.
    for (const uint32_t cut : {27u, 60u, directory + 4, table(1) + 10, size - 1}) {
        std::vector<uint8_t> truncated(image.begin(), image.begin() + cut);
        use(truncated);
        EXPECT_FALSE(FLS_IsValid()) << cut;
    }
}

TEST_F(Flash, TextsTheSectionDoesNotHoldAreEmpty)
{
    write32(directory, 4);      // languages 0..3 only
    write32(directory + 4, 10); // texts 0..9 only
    EXPECT_TRUE(FLS_IsValid());
    EXPECT_EQ(readText(3, 9), "Leaving date:");
    EXPECT_EQ(readText(3, 10), "");
    EXPECT_EQ(readText(4, 9), "");
    // A start that is not below its end is an empty text.
    write32(table(3) + 4 * 9, get32(image, table(3) + 4 * 10));
    EXPECT_EQ(readText(3, 9), "");
    write32(table(3) + 4 * 9, get32(image, table(3) + 4 * 10) + 5);
    EXPECT_EQ(readText(3, 9), "");
}

// A small image of the same layout with one language: text 0 is the given bytes.
std::vector<uint8_t> oneTextImage(const std::string& text)
{
    std::vector<uint8_t> b(72 + 8 + 8 + 8 + text.size(), 0);
    set32(b, 16, 72);
    set32(b, 20, paramBase);
    set32(b, 24, marker);
    set32(b, 72, 2); // languages 0 and 1
    set32(b, 76, 1); // one text
    set32(b, 80, 88);
    set32(b, 84, 88);
    set32(b, 88, 96);
    set32(b, 92, static_cast<uint32_t>(96 + text.size()));
    std::memcpy(b.data() + 96, text.data(), text.size());
    return b;
}

TEST(FlashText, LongTextsAreCutAtACharacterBoundary)
{
    std::vector<uint8_t> bytes = oneTextImage("a\xC3\xA4\xE2\x99\xAF"
                                              "b"); // "aä♯b"
    FLS_UseImage(bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_TRUE(FLS_IsValid());
    const struct {
        uint16_t size;
        const char* expected;
    } cases[] = {{1, ""},
                 {2, "a"},
                 {3, "a"},
                 {4, "a\xC3\xA4"},
                 {5, "a\xC3\xA4"},
                 {6, "a\xC3\xA4"},
                 {7, "a\xC3\xA4\xE2\x99\xAF"},
                 {8, "a\xC3\xA4\xE2\x99\xAF"
                     "b"},
                 {100, "a\xC3\xA4\xE2\x99\xAF"
                       "b"}};
    for (const auto& c : cases)
        EXPECT_EQ(readText(1, 0, c.size), c.expected) << c.size;
    char untouched = '#';
    EXPECT_EQ(FLS_ReadText(1, 0, &untouched, 0), 0);
    EXPECT_EQ(untouched, '#');
    FLS_UseBuiltInImage();
}

// Random and truncated images: every call must stay inside the bytes it was given, which the
// sanitizer build checks (each image is its own allocation of exactly its size). focus is a
// text whose entry was changed; it is read in every language besides the usual ones.
void exercise(std::vector<uint8_t> bytes, uint16_t focus = 0)
{
    FLS_UseImage(bytes.data(), static_cast<uint32_t>(bytes.size()));
    const bool valid = FLS_IsValid();
    for (auto get : {FLS_GetContrastSetting, FLS_GetOperatingBacklight, FLS_GetIdleBacklight,
                     FLS_GetMaxOperatingBacklight, FLS_GetMinOperatingBacklight,
                     FLS_GetMaxIdleBacklight, FLS_GetMinIdleBacklight})
        get();
    char digits[20];
    FLS_ReadDigits(FlsDigitField::SerialNumber, digits, sizeof digits);
    FLS_ReadDigits(FlsDigitField::Field27, digits, sizeof digits);
    char text[1212];
    const uint16_t ids[] = {
        0,    9, 116, 313, 394, 395, 65534, 65535, static_cast<uint16_t>(focus > 0 ? focus - 1 : 0),
        focus};
    for (uint8_t language = 0; language <= 19; ++language)
        for (uint16_t id : ids) {
            const uint16_t n = FLS_ReadText(language, id, text, sizeof text);
            ASSERT_LT(n, sizeof text);
            ASSERT_EQ(text[n], 0);
            if (!valid) {
                ASSERT_EQ(n, 0);
            }
        }
    FLS_SetParam(FlsParam::Contrast, 1);
    FLS_IsValid();
}

TEST(FlashFuzz, RandomAndTruncatedImagesNeverReadOutside)
{
    const std::vector<uint8_t> good = builtInImage();
    const auto size = static_cast<uint32_t>(good.size());
    std::mt19937 random(20090313);
    // Truncated copies, with the cut on and around the section's structure.
    for (uint32_t cut = 0; cut < 1300; cut += 3)
        exercise({good.begin(), good.begin() + cut});
    for (uint32_t cut = 1300; cut < size; cut += 4099)
        exercise({good.begin(), good.begin() + cut});
    // Random bytes in the header and directory of a good image.
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = good;
        for (int k = 0; k < 4; ++k) {
            const uint32_t at = random() % (directory + 8 + 19 * 4 + tableSize);
            bytes[at] = static_cast<uint8_t>(random());
        }
        exercise(bytes);
    }
    // One entry of an offset table anywhere, or just around the end of the image.
    for (int round = 0; round < 600; ++round) {
        std::vector<uint8_t> bytes = good;
        const uint32_t table = get32(bytes, directory + 8 + 4 * (1 + random() % 18));
        const auto id = static_cast<uint16_t>(random() % 396);
        const uint32_t values[] = {static_cast<uint32_t>(random() % (size + 64)),
                                   static_cast<uint32_t>(size - random() % 32),
                                   static_cast<uint32_t>(size + 1 + random() % 64)};
        set32(bytes, table + 4 * id, values[round % 3]);
        exercise(bytes, id);
    }
    // Noise behind a header that names a parameter area and a directory.
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bytes(random() % 2048);
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random());
        if (bytes.size() >= 28) {
            set32(bytes, 24, marker);
            set32(bytes, 20, random() % 64);
            set32(bytes, 16, static_cast<uint32_t>(random() % bytes.size()));
        }
        exercise(bytes);
    }
    FLS_UseBuiltInImage();
}

} // namespace
