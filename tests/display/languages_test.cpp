// Every language of the flash image, read through the catalogue as the screens read it.
#include <string>

#include <gtest/gtest.h>

#include "display/flash.h"
#include "display/text.h"

namespace {

struct LanguageRow {
    const char* code;
    const char* name;
    bool weekdaysCapitalised; // German, English and Turkish write the day names capitalised
};

// Texts 393 and 394 of each language, by language index.
constexpr LanguageRow languages[TXT_LANGUAGE_COUNT] = {
    {"DE", "Deutsch", true},     {"CZ", "Česky", false},     {"DK", "Dansk", false},
    {"GB", "English", true},     {"ES", "Español", false},   {"EE", "Estnisch", false},
    {"FR", "Français", false},   {"HR", "Hrvatski", false},  {"IT", "Italiano", false},
    {"LV", "Lettisch", false},   {"LT", "Litauisch", false}, {"HU", "magyar", false},
    {"NL", "Nederlands", false}, {"PL", "Polski", false},    {"RU", "Русский", false},
    {"RO", "Română", false},     {"SL", "Slovensko", false}, {"SE", "Svenska", false},
    {"TR", "Türkçe", true},
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

// The code points of a UTF-8 text.
std::u32string codePoints(const std::string& utf8)
{
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? b : b & (0x3Fu >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        out += c;
        i += 1 + extra;
    }
    return out;
}

// Capital letters of the scripts the catalogue uses: Latin with its accented forms
// (Latin-1 and Latin Extended-A, where capitals and small letters alternate) and Cyrillic.
bool isCapital(char32_t c)
{
    if (c >= U'A' && c <= U'Z') return true;
    if (c >= 0xC0 && c <= 0xDE) return c != 0xD7;
    if (c >= 0x100 && c <= 0x137) return c % 2 == 0;
    if (c >= 0x139 && c <= 0x148) return c % 2 == 1;
    if (c >= 0x14A && c <= 0x177) return c % 2 == 0;
    if (c == 0x178) return true;
    if (c >= 0x179 && c <= 0x17E) return c % 2 == 1;
    return c >= 0x400 && c <= 0x42F;
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

TEST_F(Languages, WeekdayRangesFollowTheLanguagesCapitalisation)
{
    // "Montag-Freitag" in German, "Lundi-vendredi" in French: the range starts with a capital,
    // and the days after it are capitalised only where the language capitalises day names.
    constexpr TextId ranges[] = {TXT_MONTAG_FREITAG, TXT_MONTAG_SONNTAG, TXT_SAMSTAG_SONNTAG};
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        const LanguageRow& row = languages[language];
        for (TextId id : ranges) {
            const std::string text = TXT_Get(id);
            const std::u32string letters = codePoints(text);
            ASSERT_FALSE(letters.empty()) << row.name << " text " << id;
            EXPECT_TRUE(isCapital(letters[0]))
                << row.name << " text " << id << " \"" << text << "\" starts in lower case";
            for (size_t i = 1; i < letters.size(); ++i) {
                // German, English, Turkish: every day after a hyphen; elsewhere no capital
                // after the first letter.
                const bool mustBeCapital = row.weekdaysCapitalised && letters[i - 1] == U'-';
                const bool mayBeCapital = row.weekdaysCapitalised;
                const bool capital = isCapital(letters[i]);
                EXPECT_TRUE(capital ? mayBeCapital : !mustBeCapital)
                    << row.name << " text " << id << " \"" << text << "\": letter " << i;
            }
        }
    }
}

TEST_F(Languages, RoomSetTemperatureNeverReadsAsTheActualOne)
{
    // The set temperature stands directly above the actual one in the diagnosis list, and the
    // long form is the title of the set-value editor: neither may read like the actual one.
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        const std::string actual = TXT_Get(TXT_RAUM_ISTTEMP);
        EXPECT_NE(std::string(TXT_Get(TXT_RAUM_SOLLTEMP)), actual) << languages[language].name;
        EXPECT_NE(std::string(TXT_Get(TXT_RAUM_SOLLTEMPERATUR)), actual)
            << languages[language].name;
    }
}

} // namespace
