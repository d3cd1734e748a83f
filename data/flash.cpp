#include "data/flash.h"

#include "ui/lcd.h"

bool FLS_IsValid() { return false; }
uint8_t FLS_GetContrastSetting() { return lcd_getDefaultContrast(); }
uint8_t FLS_GetOperatingBacklight() { return 168; }
uint8_t FLS_GetIdleBacklight() { return 24; }
uint8_t FLS_GetMaxOperatingBacklight() { return 216; }
uint8_t FLS_GetMinOperatingBacklight() { return 48; }
uint8_t FLS_GetMaxIdleBacklight() { return 36; }
uint8_t FLS_GetMinIdleBacklight() { return 1; }
