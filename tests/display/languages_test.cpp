// Every language of the flash image, read through the catalogue as the screens read it.
#include <string>

#include <gtest/gtest.h>

#include "display/flash.h"
#include "display/text.h"

namespace {

struct LanguageRow {
    const char* code;
    const char* name;
};

// Texts 393 and 394 of each language, by language index.
constexpr LanguageRow languages[TXT_LANGUAGE_COUNT] = {
    {"DE", "Deutsch"},    {"CZ", "Česky"},    {"DK", "Dansk"},     {"GB", "English"},
    {"ES", "Español"},    {"EE", "Estnisch"}, {"FR", "Français"},  {"HR", "Hrvatski"},
    {"IT", "Italiano"},   {"LV", "Lettisch"}, {"LT", "Litauisch"}, {"HU", "magyar"},
    {"NL", "Nederlands"}, {"PL", "Polski"},   {"RU", "Русский"},   {"RO", "Română"},
    {"SL", "Slovensko"},  {"SE", "Svenska"},  {"TR", "Türkçe"},
};

// The key symbols U+266C..U+2674 of a text, in order.
std::u16string keySymbols(const std::string& utf8)
{
    std::u16string out;
    for (size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
        const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
        const char16_t c =
            static_cast<char16_t>((b0 & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F));
        if (b0 == 0xE2 && c >= 0x266C && c <= 0x2674) out += c;
    }
    return out;
}

class Languages : public ::testing::Test {
  protected:
    void TearDown() override { TXT_SetLanguage(0); }
};

TEST_F(Languages, EveryLanguageHasAllTextsWithItsNameAndTheKeySymbolsOfTheGerman)
{
    ASSERT_TRUE(FLS_IsValid());
    std::string german[TXT_COUNT];
    for (TextId id = 0; id < TXT_COUNT; ++id)
        german[id] = TXT_Get(id);
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        const LanguageRow& row = languages[language];
        EXPECT_EQ(std::string(TXT_Get(393)), row.code) << int(language);
        EXPECT_EQ(std::string(TXT_Get(394)), row.name) << int(language);
        for (TextId id = 0; id < TXT_COUNT; ++id) {
            if (id == 116 || id == 117) continue; // may show a stored circuit label
            const std::string text = TXT_Get(id);
            EXPECT_EQ(text.empty(), german[id].empty()) << row.name << " text " << id;
            EXPECT_EQ(keySymbols(text), keySymbols(german[id])) << row.name << " text " << id;
        }
    }
}

TEST_F(Languages, TranslationsAreTheirOwn)
{
    // A language that showed the German texts under its own name would fail here: apart from
    // symbols, units, abbreviations and names, its texts differ from the German ones.
    TXT_SetLanguage(0);
    std::string german[TXT_COUNT];
    for (TextId id = 0; id < TXT_COUNT; ++id)
        german[id] = TXT_Get(id);
    for (uint8_t language = 1; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        int same = 0;
        for (TextId id = 0; id < TXT_COUNT; ++id)
            same += german[id] == TXT_Get(id);
        EXPECT_LT(same, TXT_COUNT / 8)
            << languages[language].name << ": " << same << " texts are the German ones";
    }
}

} // namespace
