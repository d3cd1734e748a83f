// Formatting of numbers, temperatures, weekdays, dates and times into zero-terminated text.
#pragma once

#include <array>
#include <cstdint>

#include "display/text.h"
#include "gfx/gfx.h"
#include "kernel/dtm.h"

// Signed and unsigned decimal; the buffer holds at least 12 bytes. Return the length.
uint8_t FMT_Int(int32_t value, char* buffer);
uint8_t FMT_Uint(uint32_t value, char* buffer);
// The lowest `width` decimal digits with leading zeros, width 1 to 11; otherwise empty.
uint8_t FMT_UintZero(uint32_t value, char* buffer, uint8_t width);
// The lowest `width` hexadecimal digits, upper case, width up to 8; otherwise empty.
uint8_t FMT_Hex(uint32_t value, char* buffer, uint8_t width);

// "---" when invalid, else the value (already in the display unit), then "°C" or "°F" by the
// temperature-unit setting; at most size - 1 bytes.
uint16_t FMT_Temperature(char* buffer, uint16_t size, int16_t value, bool invalid);
// The temperature centred in the rectangle; fits the value editor's format functions.
void FMT_DrawTemperature(const GFX_Rect& r, int16_t value);

// Rounded half away from zero, as the controller does.
int16_t FMT_CelsiusToFahrenheit(int16_t celsius);
int16_t FMT_FahrenheitToCelsius(int16_t fahrenheit);
int16_t FMT_HalfDegrees(int16_t raw);

// Short weekday names, 1 = Monday .. 7 = Sunday.
inline constexpr std::array<TextId, 7> FMT_WEEKDAY_TEXTS{TXT_MO, TXT_DI, TXT_MI, TXT_DO,
                                                         TXT_FR, TXT_SA, TXT_SO};
// Day groups of the time programs: Mo-So, Mo .. So, Mo-Fr, Sa-So.
inline constexpr std::array<TextId, 10> FMT_DAY_GROUP_TEXTS{
    TXT_MO_SO, TXT_MO, TXT_DI, TXT_MI, TXT_DO, TXT_FR, TXT_SA, TXT_SO, TXT_MO_FR, TXT_SA_SO};
inline constexpr TextId FMT_DayGroupText(uint8_t group)
{
    return group < FMT_DAY_GROUP_TEXTS.size() ? FMT_DAY_GROUP_TEXTS[group] : TXT_NONE;
}
// The weekday's short name; empty outside 1..7. Returns the length.
uint16_t FMT_Weekday(uint8_t day, char* buffer, uint16_t size);

enum class FmtDateTime : uint8_t {
    WeekdayDateLongYear = 0,  // "Mo 05.01.2026"
    WeekdayDateShortYear = 1, // "Mo 05.01.26"
    WeekdayDayMonth = 2,      // "Mo 05.01."
    DateLongYear = 3,         // "05.01.2026"
    DateShortYear = 4,        // "05.01.26"
    Time = 5,                 // "10:00"
    TimeWithWord = 6,         // "10:00 Uhr"
};
// At most size - 1 bytes; returns the length.
uint16_t FMT_DateTime(const DateTime& t, FmtDateTime format, char* buffer, uint16_t size);
