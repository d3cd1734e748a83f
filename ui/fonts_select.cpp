// Font selection for text drawing; kept apart from fonts.cpp so that tools can use the fonts
// without the graphics layer.
#include "gfx/gfx.h"
#include "ui/fonts.h"

const GFX_Font* FNT_SetSmall() { return GFX_SetFont(&FNT_GetSmall()); }
const GFX_Font* FNT_SetNormal() { return GFX_SetFont(&FNT_GetNormal()); }
const GFX_Font* FNT_SetLarge() { return GFX_SetFont(&FNT_GetLarge()); }
