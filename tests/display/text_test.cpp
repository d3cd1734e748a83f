#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "display/flash.h"
#include "display/text.h"
#include "kernel/evt.h"

namespace {

// Language index -> source code, country code (text 393), name (text 394), decimal separator.
constexpr struct {
    const char* code;
    const char* country;
    const char* name;
    char separator;
} languages[] = {
    {"de", "DE", "Deutsch", ','},    {"cs", "CZ", "Česky", ','},     {"da", "DK", "Dansk", '.'},
    {"en", "GB", "English", '.'},    {"es", "ES", "Español", '.'},   {"et", "EE", "Estnisch", ','},
    {"fr", "FR", "Français", '.'},   {"hr", "HR", "Hrvatski", '.'},  {"it", "IT", "Italiano", '.'},
    {"lv", "LV", "Lettisch", '.'},   {"lt", "LT", "Litauisch", '.'}, {"hu", "HU", "magyar", '.'},
    {"nl", "NL", "Nederlands", '.'}, {"pl", "PL", "Polski", '.'},    {"ru", "RU", "Русский", '.'},
    {"ro", "RO", "Română", '.'},     {"sl", "SL", "Slovensko", '.'}, {"sv", "SE", "Svenska", '.'},
    {"tr", "TR", "Türkçe", '.'},
};
static_assert(std::size(languages) == TXT_LANGUAGE_COUNT);

std::vector<Event>& recorded()
{
    static std::vector<Event> events;
    return events;
}

StateHandler recordingHandler(Hsm&, const Event& e)
{
    if (e.sig == SIG_EMPTY) return &HSM_Top;
    recorded().push_back(e);
    return nullptr;
}
const State recorder{"TEST_Recorder", recordingHandler};

class Catalogue : public ::testing::Test {
  protected:
    void SetUp() override
    {
        FLS_UseBuiltInImage();
        for (uint8_t p = 0; p < PRIO_COUNT; ++p)
            EVT_Construct(p);
        EVT_Machine(PRIO_UI)->state = &recorder;
        recorded().clear();
        TXT_Init();
        clearLabels();
    }
    void TearDown() override
    {
        clearLabels();
        TXT_Init();
        FLS_UseBuiltInImage();
        EVT_Construct(PRIO_UI);
    }
    static void clearLabels()
    {
        DAT_ClearCircuitLabel(116);
        DAT_ClearCircuitLabel(117);
    }
    // The events the catalogue posted since the last call.
    static std::vector<Event> posted()
    {
        EVT_Run();
        std::vector<Event> events = recorded();
        recorded().clear();
        return events;
    }
    static std::string get(TextId id) { return TXT_Get(id); }
};

TEST_F(Catalogue, NoTextIsEmptyAndSilentAnUnknownIdentifierRestartsThePanel)
{
    EXPECT_EQ(get(TXT_NONE), "");
    EXPECT_TRUE(posted().empty());

    for (TextId id : {TextId{395}, TextId{1000}, TextId{65534}}) {
        SCOPED_TRACE(id);
        char buffer[8] = "xxxxxxx";
        EXPECT_EQ(TXT_GetInto(id, buffer, sizeof buffer), 0);
        EXPECT_STREQ(buffer, "");
        const std::vector<Event> events = posted();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].sig, SIG_BED_ERROR_RESET);
        EXPECT_EQ(events[0].par, 129u);
    }
    TXT_SetLanguage(3);
    EXPECT_EQ(get(395), "");
    EXPECT_EQ(posted().size(), 1u);
    EXPECT_EQ(get(TXT_NONE), "");
    EXPECT_EQ(get(394), "English");
    EXPECT_TRUE(posted().empty());
}

TEST_F(Catalogue, LanguagesAboveTheLastSelectGerman)
{
    const struct {
        uint8_t set;
        uint8_t selected;
    } cases[] = {{3, 3}, {18, 18}, {19, 0}, {200, 0}, {255, 0}, {0, 0}};
    for (const auto& c : cases) {
        TXT_SetLanguage(7);
        TXT_SetLanguage(c.set);
        EXPECT_EQ(TXT_GetLanguage(), c.selected) << int(c.set);
    }
    TXT_SetLanguage(19);
    EXPECT_EQ(get(394), "Deutsch");
    TXT_SetLanguage(5);
    TXT_Init();
    EXPECT_EQ(TXT_GetLanguage(), 0);
}

TEST_F(Catalogue, EveryLanguageNamesItself)
{
    EXPECT_EQ(get(9), "Abreisetag:");
    EXPECT_EQ(get(392), "Kessomatic 200 KX7B");
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        SCOPED_TRACE(languages[language].code);
        TXT_SetLanguage(language);
        EXPECT_EQ(get(393), languages[language].country);
        EXPECT_EQ(get(394), languages[language].name);
        // Never German words under another language's name.
        if (language != 0) {
            EXPECT_NE(get(9), "Abreisetag:");
        }
    }
}

TEST_F(Catalogue, EnglishIsReadFromTheFlashImage)
{
    TXT_SetLanguage(3);
    EXPECT_EQ(get(9), "Leaving date:");
    EXPECT_EQ(get(394), "English");
    TXT_SetLanguage(0);
    EXPECT_EQ(get(394), "Deutsch");
}

TEST_F(Catalogue, WithoutTheMarkerEveryLanguageShowsGerman)
{
    std::vector<uint8_t> image(1 << 20);
    FLS_UseBuiltInImage();
    const uint32_t size = [&] {
        uint32_t n = 0;
        while (uint16_t got = FLS_Read(n, image.data() + n, 4096))
            n += got;
        return n;
    }();
    const uint8_t zero[4] = {};
    FLS_UseImage(image.data(), size);
    FLS_Write(zero, 24, 4);
    TXT_SetLanguage(14);
    EXPECT_EQ(get(394), "Deutsch");
    EXPECT_EQ(get(9), "Abreisetag:");
    EXPECT_EQ(TXT_GetLanguage(), 14); // the setting itself is kept
    EXPECT_EQ(TXT_GetDecimalSeparator(), '.');

    FLS_UseImage(nullptr, 0); // a build without an image
    EXPECT_EQ(get(394), "Deutsch");
}

TEST_F(Catalogue, DecimalSeparatorFollowsTheLanguage)
{
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        EXPECT_EQ(TXT_GetDecimalSeparator(), languages[language].separator) << int(language);
    }
}

TEST_F(Catalogue, QuickInstructionIntoSixteenBytes)
{
    const std::string full = get(313);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(TXT_GetInto(313, buffer, sizeof buffer), 15);
    EXPECT_EQ(std::string(buffer), full.substr(0, 15));
    EXPECT_EQ(std::string(buffer), "♰\nWählen des");
}

size_t characterLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// In every language and at every buffer size the result is the longest whole-character prefix
// that fits: it ends before a lead byte, and the next character would not fit.
TEST_F(Catalogue, TruncationNeverCutsACharacter)
{
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        SCOPED_TRACE(languages[language].code);
        TXT_SetLanguage(language);
        for (TextId id : {TextId{3}, TextId{16}, TextId{313}, TextId{358}, TextId{394}}) {
            const std::string full = get(id);
            for (uint16_t size = 1; size <= 48; ++size) {
                std::vector<char> buffer(size, '#');
                const uint16_t n = TXT_GetInto(id, buffer.data(), size);
                ASSERT_LT(n, size);
                ASSERT_EQ(buffer[n], 0);
                ASSERT_EQ(std::string(buffer.data(), n), full.substr(0, n)) << id << " " << size;
                if (n < full.size()) {
                    const auto next = static_cast<unsigned char>(full[n]);
                    ASSERT_NE(next & 0xC0, 0x80) << id << " " << size;
                    ASSERT_GT(n + characterLength(next), size - 1u) << id << " " << size;
                }
            }
        }
    }
}

TEST_F(Catalogue, SharedBufferIsOverwrittenByTheNextLookupAndClearedByInit)
{
    const char* first = TXT_Get(394);
    EXPECT_STREQ(first, "Deutsch");
    const char* second = TXT_Get(116);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "Heizkreis 1");
    TXT_Init();
    EXPECT_TRUE(std::all_of(first, first + TXT_BUFFER_SIZE, [](char c) { return c == 0; }));
}

// The designation overrides "Heizkreis 1" / "Heizkreis 2" only in the language it was entered
// in, German as well as a translation.
TEST_F(Catalogue, ACircuitLabelReplacesItsTextOnlyInItsOwnLanguage)
{
    DAT_SetCircuitLabel(116, "Erdgeschoss");
    EXPECT_EQ(get(116), "Erdgeschoss");
    EXPECT_EQ(get(117), "Heizkreis 2");
    TXT_SetLanguage(3);
    EXPECT_EQ(get(116), "Heating circuit 1");
    DAT_SetCircuitLabel(117, "Upstairs");
    EXPECT_EQ(get(117), "Upstairs");
    TXT_SetLanguage(0);
    EXPECT_EQ(get(116), "Erdgeschoss");
    EXPECT_EQ(get(117), "Heizkreis 2");
    DAT_ClearCircuitLabel(116);
    EXPECT_EQ(get(116), "Heizkreis 1");
}

TEST_F(Catalogue, ACircuitLabelStaysInsideTheCallersBuffer)
{
    std::string label = "K\xC3\xBC"; // "Kü" and eighteen key symbols: 57 bytes
    for (int i = 0; i < 18; ++i)
        label += "\xE2\x99\xAF";
    DAT_SetCircuitLabel(116, label.c_str());
    EXPECT_EQ(get(116), label);
    const struct {
        uint16_t size;
        uint16_t length;
    } cases[] = {{1, 0}, {2, 1}, {3, 1}, {4, 3}, {6, 3}, {7, 6}, {16, 15}, {57, 54}, {58, 57}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        char buffer[80];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(TXT_GetInto(116, buffer, c.size), c.length);
        EXPECT_EQ(std::string(buffer), label.substr(0, c.length));
        for (size_t i = c.size; i < sizeof buffer; ++i)
            ASSERT_EQ(buffer[i], '#') << i;
    }
}

} // namespace
