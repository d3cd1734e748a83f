// The panel's three fonts. The records live in the generated tables display/font_*.cpp; text-width
// tools link this file with those tables alone, so font selection sits in fonts_select.cpp.
#include "display/fonts.h"

extern const GFX_Font FNT_SmallFont;
extern const GFX_Font FNT_NormalFont;
extern const GFX_Font FNT_LargeFont;

const GFX_Font& FNT_GetSmall() { return FNT_SmallFont; }
const GFX_Font& FNT_GetNormal() { return FNT_NormalFont; }
const GFX_Font& FNT_GetLarge() { return FNT_LargeFont; }
