// Font selection for text drawing; kept apart from fonts.cpp so that tools can use the fonts
// without the graphics layer.
#include "display/fonts.h"
#include "gfx/gfx.h"

const GFX_Font* FNT_SetSmall() { return GFX_SetFont(&FNT_GetSmall()); }
const GFX_Font* FNT_SetNormal() { return GFX_SetFont(&FNT_GetNormal()); }
const GFX_Font* FNT_SetLarge() { return GFX_SetFont(&FNT_GetLarge()); }
