// The panel's three fonts of one design: small (8 px), normal (20 px) and large (32 px).
#pragma once

#include "gfx/font.h"

const GFX_Font& FNT_GetSmall();
const GFX_Font& FNT_GetNormal();
const GFX_Font& FNT_GetLarge();

// Select a font for the following text drawing; each returns the previously selected font so
// the caller can restore it with GFX_SetFont.
const GFX_Font* FNT_SetSmall();
const GFX_Font* FNT_SetNormal();
const GFX_Font* FNT_SetLarge();
