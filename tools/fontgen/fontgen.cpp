// Font generator: renders the panel's three bitmap fonts from freely licensed fonts and writes
// them as constant tables (display/font_*.cpp), with sample sheets to check them by eye.
//
//   fontgen --tables DIR [--sheets DIR] [--docs FILE]
#include <cstdio>
#include <cstring>
#include <string>

#include "fontgen.h"

namespace {

const std::vector<CodeRange> SMALL_RANGES = {
    {0x20, 0x7E},   {0xA0, 0xEC},   {0xEE, 0x17E},  {0x401, 0x40C},
    {0x40E, 0x44F}, {0x451, 0x45C}, {0x45E, 0x45F},
};

// Latin and Cyrillic of the normal and large fonts; the normal font adds the key symbols.
const std::vector<CodeRange> LETTER_RANGES = {
    {0x1B, 0x1B},   {0x20, 0x7E},   {0xA0, 0x17F},  {0x401, 0x40C}, {0x40E, 0x44F},
    {0x451, 0x45C}, {0x45E, 0x45F}, {0x490, 0x493}, {0x496, 0x497}, {0x49A, 0x49D},
    {0x4A2, 0x4A3}, {0x4AE, 0x4B3}, {0x4B8, 0x4BB}, {0x4D8, 0x4D9}, {0x4E8, 0x4E9},
};

std::vector<CodeRange> withSymbols(std::vector<CodeRange> r)
{
    r.push_back({0x266C, 0x2674});
    return r;
}

const char* const DEJAVU_CONDENSED = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf";
const char* const MISC_FIXED = "/usr/share/fonts/X11/misc/6x10.pcf.gz";

// Pixel sizes are chosen so that hinting lands on the capital and lower-case heights of each
// font and the panel's longest lines fit the display; the normal font is narrowed horizontally
// for the German help texts. Both take the automatic hinter's even stems (one pixel in the
// normal font, two in the large) and widen them by a pixel: the font's own hinting of the
// condensed face mixes stem widths. The accents of the normal font need its top row, so its
// descenders end a row short; the large font has room above its accents; eight rows leave the
// small font no row to spare.
const FontSpec FONTS[] = {
    {"small", "FNT_SmallFont", 8, 7, 5, 0, 6, 3, SMALL_RANGES, SourceKind::Bitmap,
     "the public-domain misc-fixed 6x10 font (xfonts-base)", MISC_FIXED, 0, 0, false, 0,
     LineGap::None, false},
    {"normal", "FNT_NormalFont", 20, 16, 10, 13, 11, 5, withSymbols(LETTER_RANGES),
     SourceKind::Outline, "DejaVu Sans Condensed (fonts-dejavu-extra)", DEJAVU_CONDENSED, 16.5, 18,
     true, 64, LineGap::BottomRow, true},
    {"large", "FNT_LargeFont", 32, 26, 15, 20, 15, 8, LETTER_RANGES, SourceKind::Outline,
     "DejaVu Sans Condensed (fonts-dejavu-extra)", DEJAVU_CONDENSED, 25, 27, true, 64,
     LineGap::TopRow, false},
};

// Sample lines of the sheets: every language of the panel and the key symbols in use.
const std::vector<std::string> SAMPLES = {
    "0123456789 -12,5°C 100% 23:59 (1/2) <+> _ \"x\" 'y' «z» [q] {w}",
    "Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich",
    "Příliš žluťoučký kůň úpěl ďábelské ódy. ŽŠČŘĎŤŇ ÚŮ",
    "Høj bly gom vandt fræk sexquiz på wc. ÆØÅ",
    "The quick brown fox jumps over the lazy dog. THE LAZY DOG",
    "El pingüino Wenceslao hizo kilómetros bajo exhaustiva lluvia. ¿Ñ? ¡Á!",
    "Põdur Zagrebi tšellomängija-följetonist Ciqo külmetas kehvas garaažis. ÕÄÖÜ",
    "Portez ce vieux whisky au juge blond qui fume. À Ç È É Ê Ë Î Ï Ô Ù Û Ü Ÿ Œ œ",
    "Gojazni đačić s biciklom drži hmelj i finu vatu u džepu nošnje. Đ Ć",
    "Ma la volpe col suo balzo ha raggiunto il quieto Fido. È Ò",
    "Glāžšķūņa rūķīši dzērumā čiepj Baha koncertflīģeļu vākus. ĀĒĪŪĶĻŅĢ",
    "Įlinkdama fechtuotojo špaga sublykčiojusi pragręžė apvalų arbūzą. ĄĘĖĮŲŪ",
    "Árvíztűrő tükörfúrógép. ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP",
    "Pa's wijze lynx bezag vroom het fikse aquaduct. IJ ij",
    "Pchnąć w tę łódź jeża lub ośm skrzyń fig. ŻÓŁĆ ĘŚĄŹŃ",
    "Съешь же ещё этих мягких французских булок, да выпей чаю. ЁЙЩЖЮ",
    "Înjurând piţigăiat, zoofobul comandă vexat whisky şi tequila. ĂÂÎŞŢ",
    "Hitri pes skoči čez leno lisico. ČŠŽ",
    "Flygande bäckasiner söka hwila på mjuka tuvor. ÅÄÖ",
    "Pijamalı hasta yağız şoföre çabucak güvendi. İĞŞÇÖÜ ı",
    "Ґґ Єє Її Ўў Әә Ғғ Ққ Ңң Өө Ұұ Үү Һһ Җҗ",
    "Wählen mit ♯  Ändern mit ♮  Ändern mit ♰  Zurück mit ♳  <♴>  ♬HK♭ 1 ♭  ♱ ♲",
    "7\x1b"
    "5 | 75",
};

bool argument(int argc, char** argv, const char* name, std::string& value)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) {
            value = argv[i + 1];
            return true;
        }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    std::string tables, sheets, docs;
    if (!argument(argc, argv, "--tables", tables)) {
        std::fprintf(stderr, "usage: fontgen --tables DIR [--sheets DIR] [--docs FILE]\n");
        return 2;
    }
    argument(argc, argv, "--sheets", sheets);
    argument(argc, argv, "--docs", docs);

    GlyphSet glyphs[3];
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        ok = FG_Render(FONTS[i], glyphs[i]) && ok;
        if (FONTS[i].keySymbols) FG_AddKeySymbols(glyphs[i], FONTS[i].height);
    }
    for (int i = 0; i < 3 && ok; ++i) // tables only from a complete set
        ok = FG_WriteTables(FONTS[i], glyphs[i], tables + "/font_" + FONTS[i].name + ".cpp");

    // The sheets are written in any case: they show what went wrong.
    const GlyphSet& labels = glyphs[0];
    if (!sheets.empty())
        for (int i = 0; i < 3; ++i)
            ok = FG_WriteSheet({{&FONTS[i], &glyphs[i], &SAMPLES}}, labels, true, 4,
                               sheets + "/font_" + FONTS[i].name + ".png") &&
                 ok;
    if (!docs.empty() && ok) {
        const std::vector<std::string> letters = {SAMPLES[0], SAMPLES[1], SAMPLES[2], SAMPLES[15]};
        std::vector<std::string> withKeys = letters;
        withKeys.push_back(SAMPLES[21]);
        ok = FG_WriteSheet({{&FONTS[0], &glyphs[0], &letters},
                            {&FONTS[1], &glyphs[1], &withKeys},
                            {&FONTS[2], &glyphs[2], &letters}},
                           labels, false, 2, docs) &&
             ok;
    }
    return ok ? 0 : 1;
}
