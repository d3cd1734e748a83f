// Texts of every language measured where the screens draw them: menu items beside a picture or
// an icon, and the single big word of a dialog in the large font, wrapped as the screen wraps.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/fonts.h"
#include "display/text.h"
#include "gfx/gfx.h"

namespace {

enum class Font { Normal, Large };

struct Placement {
    const char* where;
    TextId id;
    Font font;
    int width;    // pixels the text may use on a line
    int maxLines; // lines the rectangle holds
};

// Where the screens put these texts (the item is drawn one pixel inside its line rectangle).
constexpr Placement placements[] = {
    // basic display menu, list x 0..158
    {"basic display item", 259, Font::Normal, 156, 1},
    {"basic display item", 291, Font::Normal, 156, 1},
    {"basic display item", 126, Font::Normal, 156, 1},
    {"basic display item", 285, Font::Normal, 156, 1},
    {"basic display item", 237, Font::Normal, 156, 1},
    {"basic display item", 135, Font::Normal, 156, 1},
    {"basic display item", 201, Font::Normal, 156, 1},
    {"basic display item", 129, Font::Normal, 156, 1},
    // end-user menu, list x 0..158
    {"end-user item", 209, Font::Normal, 156, 1},
    {"end-user item", 40, Font::Normal, 156, 1},
    {"end-user item", 197, Font::Normal, 156, 1},
    {"end-user item", 249, Font::Normal, 156, 1},
    // main menu: text from x 1, its 22-pixel icon from x 216
    {"main menu item", 259, Font::Normal, 213, 1},
    {"main menu item", 291, Font::Normal, 213, 1},
    {"main menu item", 126, Font::Normal, 213, 1},
    {"main menu item", 285, Font::Normal, 213, 1},
    {"main menu item", 135, Font::Normal, 213, 1},
    {"main menu item", 79, Font::Normal, 213, 1},
    {"main menu item", 227, Font::Normal, 213, 1},
    // message screens, large font wrapped in x 0..239, y 0..131
    {"message", 98, Font::Large, 240, 4},
    {"message", 143, Font::Large, 240, 4},
    {"message", 36, Font::Large, 240, 4},
    {"message", 81, Font::Large, 240, 4},
    {"message", 274, Font::Large, 240, 4},
    {"message", 33, Font::Large, 240, 4},
    // fault dialog: "Keine Störung" in x 0..239, y 28..131; the answer in x 74..164, y 67..117
    {"fault dialog", 146, Font::Large, 240, 3},
    {"acknowledge answer", 141, Font::Large, 91, 1},
    {"acknowledge answer", 184, Font::Large, 91, 1},
    // feedback of the circuit selection, in x 1..238, y 28..131
    {"circuit feedback", 116, Font::Large, 238, 3},
    {"circuit feedback", 117, Font::Large, 238, 3},
    // fan-speed dialog: the stage rows from x 1, their value field inverted from x 189
    {"fan-speed row", TXT_DREHZAHL_STUFE_1, Font::Normal, 187, 1},
    {"fan-speed row", TXT_DREHZAHL_STUFE_2, Font::Normal, 187, 1},
    // service menu, lines x 0..239
    {"service menu item", TXT_DIAGNOSE, Font::Normal, 236, 1},
    {"service menu item", TXT_AKTORENTEST, Font::Normal, 236, 1},
    {"service menu item", TXT_CODIEREBENE_1, Font::Normal, 236, 1},
    {"service menu item", TXT_CODIEREBENE_2, Font::Normal, 236, 1},
    {"service menu item", TXT_FEHLERHISTORIE, Font::Normal, 236, 1},
    {"service menu item", TXT_SERVICEFUNKTIONEN, Font::Normal, 236, 1},
    {"service menu item", TXT_SERVICE_BEENDEN_FRAGE, Font::Normal, 236, 1},
    // coding group menu: the group left, "HK1"/"HK2" at the right end of the line
    {"coding group", TXT_ALLGEMEIN, Font::Normal, 236, 1},
    {"coding group", TXT_KESSEL, Font::Normal, 236, 1},
    {"coding group", TXT_WARMWASSER, Font::Normal, 236, 1},
    {"coding group", TXT_SOLAR, Font::Normal, 236, 1},
    {"coding group", TXT_HEIZKREIS_1, Font::Normal, 190, 1},
    {"coding group", TXT_HEIZKREIS_2, Font::Normal, 190, 1},
    {"coding group", TXT_GRUNDEINSTELLUNG, Font::Normal, 236, 1},
    {"factory-setting question", TXT_AKTIVIEREN_FRAGE, Font::Normal, 238, 1},
    // service-pin message, large font wrapped in x 0..239, y 28..131
    {"service-pin message", TXT_LON_MODUL, Font::Large, 240, 3},
};

// Coding level 1: the address texts wrapped in x 1..238, y 29..78.
constexpr TextId CODING_ADDRESS_TEXTS[] = {
    TXT_EIN_MEHRKESSELANLAGE,
    TXT_KESSELNUMMER,
    TXT_WARTUNG_BRENNER_BETRIEBSSTUNDEN_IN_100,
    TXT_WARTUNG_ZEITINTERVALL_IN_MONATEN,
    TXT_STATUS_WARTUNG,
    TXT_BEFUELLUNG_ENTLUEFTUNG,
    TXT_EXTERN_SPERREN_AUF_PUMPEN,
    TXT_EXTERN_ANFORDERN_AUF_PUMPEN,
    TXT_WARMWASSER_SOLLTEMP_NACHLADEUNTERDRUECKUNG,
    TXT_FREIGABE_ZIRKULATIONSPUMPE,
    TXT_ANLAGENSCHEMA,
    TXT_FUNKTION_INTERNE_UMWAELZPUMPE,
    TXT_TEILNEHMER_NR,
    TXT_EINFAMILIEN_MEHRFAMILIENHAUS,
    TXT_BEDIENUNG_SPERREN,
    TXT_EXT_BETRIEBSPROGRAMM_UMSCHALTUNG_AUF_HEIZKREIS,
    TXT_VORLAUF_SOLLTEMPERATUR_BEI_EXT_ANFORDERUNG,
    TXT_WARMWASSER_VORRANG,
    TXT_SOMMERSPARFUNKTION_AUSSENTEMPERATUR,
    TXT_SOMMERSPARFUNKTION_ABSOLUT,
    TXT_MISCHERSPARFUNKTION,
    TXT_PUMPENSTILLSTANDSZEIT_UEBERGANG_RED_BETRIEB,
    TXT_WITTERUNGSGEFUEHRT_RAUMAUFSCHALTUNG,
    TXT_SOMMERSPARFUNKTION_RAUMTEMPERATUR,
    TXT_VORLAUFTEMPERATUR_MINIMALBEGRENZUNG,
    TXT_VORLAUFTEMPERATUR_MAXIMALBEGRENZUNG,
    TXT_BETRIEBSPROGRAMM_UMSCHALTUNG,
    TXT_MAX_PUMPENDREHZAHL_IM_NORMALBETRIEB,
    TXT_MIN_PUMPENDREHZAHL,
    TXT_ESTRICHFUNKTION,
    TXT_PARTYBETRIEB_ZEITBEGRENZUNG,
    TXT_PUMPENSCHALTUNG_BEI_NUR_WARMWASSER,
    TXT_PUMPENSCHALTUNG_BEI_ABSCHALTBETRIEB,
    TXT_BEGINN_TEMPERATURANHEBUNG,
    TXT_ENDE_TEMPERATURANHEBUNG,
    TXT_ERHOEHUNG_VORLAUF_SOLLTEMPERATUR,
    TXT_ZEITDAUER_ERHOEHUNG_VORLAUF_SOLLTEMPERATUR,
    TXT_SPEICHER_MAXIMALTEMPERATUR,
    TXT_STAGNATIONSZEIT_REDUZIERUNG,
    TXT_NENNVOLUMENSTROM_KOLLEKTORKREIS,
};

// The lines a text takes when every line break is kept and a line longer than the width is
// broken at its last blank that fits; 0 when a single word is wider than the width.
int wrappedLines(const std::string& text, int width)
{
    int lines = 0;
    std::stringstream paragraphs(text);
    for (std::string paragraph; std::getline(paragraphs, paragraph, '\n');) {
        std::stringstream words(paragraph);
        std::string line;
        ++lines;
        for (std::string word; words >> word;) {
            if (GFX_TextWidth(word.c_str()) > width) return 0;
            const std::string longer = line.empty() ? word : line + " " + word;
            if (GFX_TextWidth(longer.c_str()) <= width) {
                line = longer;
            } else {
                ++lines;
                line = word;
            }
        }
    }
    return lines;
}

class TextPlacement : public ::testing::Test {
  protected:
    void SetUp() override { previous = FNT_SetNormal(); }
    void TearDown() override
    {
        GFX_SetFont(previous);
        TXT_SetLanguage(0);
    }
    const GFX_Font* previous = nullptr;
};

TEST_F(TextPlacement, EveryLanguageFitsWhereTheScreensDrawIt)
{
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        const std::string name = TXT_Get(394);
        for (const Placement& p : placements) {
            char text[TXT_BUFFER_SIZE];
            TXT_GetInto(p.id, text, sizeof text);
            GFX_SetFont(p.font == Font::Large ? &FNT_GetLarge() : &FNT_GetNormal());
            const int lines = wrappedLines(text, p.width);
            EXPECT_TRUE(lines >= 1 && lines <= p.maxLines)
                << name << ": " << p.where << " text " << p.id << " \"" << text << "\" needs "
                << (lines == 0 ? "a word wider than " : std::to_string(lines) + " lines of ")
                << p.width << " px (room for " << p.maxLines << ")";
        }
    }
}

TEST_F(TextPlacement, CodingAddressTextsFitAboveTheBoxes)
{
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        for (TextId id : CODING_ADDRESS_TEXTS) {
            const std::string text = TXT_Get(id);
            const int lines = wrappedLines(text, 238);
            EXPECT_TRUE(lines >= 1 && lines <= 2)
                << std::string(TXT_Get(TXT_SPRACHNAME)) << ": text " << id << " \"" << text
                << "\" needs " << lines << " lines";
        }
    }
}

TEST_F(TextPlacement, CodingTitlesLeaveRoomForTheLevelAndTheSymbol)
{
    // The coding screens' header: the group (or "Grundeinstellung") left, "Cod.1", "Cod.2" or
    // the 22-pixel coding symbol right-aligned in x 1..238.
    constexpr int HEADER_WIDTH = 238;
    constexpr int GAP = 4;
    constexpr int SYMBOL_WIDTH = 22;
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        for (TextId title : {TXT_ALLGEMEIN, TXT_KESSEL, TXT_WARMWASSER, TXT_SOLAR, TXT_HEIZKREIS_1,
                             TXT_HEIZKREIS_2, TXT_GRUNDEINSTELLUNG}) {
            const std::string left = TXT_Get(title);
            int right = SYMBOL_WIDTH;
            for (TextId level : {TXT_COD_1, TXT_COD_2})
                right = std::max(right, static_cast<int>(GFX_TextWidth(TXT_Get(level))));
            const int width = GFX_TextWidth(left.c_str()) + GAP + right;
            EXPECT_LE(width, HEADER_WIDTH) << std::string(TXT_Get(TXT_SPRACHNAME)) << ": \"" << left
                                           << "\" is " << width << " px with its level";
        }
    }
}

TEST_F(TextPlacement, RoomSetTemperatureTitleLeavesRoomForTheCircuit)
{
    // The set-value editor shows its title at the left of the header (x 1..238) and, with two
    // circuits, "HK1" or "HK2" right-aligned in the same line.
    constexpr int HEADER_WIDTH = 238;
    constexpr int GAP = 4;
    for (uint8_t language = 0; language < TXT_LANGUAGE_COUNT; ++language) {
        TXT_SetLanguage(language);
        const std::string title = TXT_Get(TXT_RAUM_SOLLTEMPERATUR);
        for (TextId circuit : {TXT_HK1, TXT_HK2}) {
            const std::string label = TXT_Get(circuit);
            const int width = GFX_TextWidth(title.c_str()) + GAP + GFX_TextWidth(label.c_str());
            EXPECT_LE(width, HEADER_WIDTH)
                << std::string(TXT_Get(TXT_SPRACHNAME)) << ": \"" << title << "\" beside \""
                << label << "\" is " << width << " px";
        }
    }
}

} // namespace
