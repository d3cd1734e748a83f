// The data-flash image: a header with its marker, the panel's parameter area and the language
// section of the text catalogue.
#pragma once

#include <cstdint>

bool FLS_IsValid();

// Settings with their fallback when the image is not valid.
uint8_t FLS_GetContrastSetting();         // the display driver's default contrast
uint8_t FLS_GetOperatingBacklight();      // 168
uint8_t FLS_GetIdleBacklight();           // 24
uint8_t FLS_GetMaxOperatingBacklight();   // 216
uint8_t FLS_GetMinOperatingBacklight();   // 48
uint8_t FLS_GetMaxIdleBacklight();        // 36
uint8_t FLS_GetMinIdleBacklight();        // 1
