#include "widgets/fmt.h"

#include "data/datapool.h"

namespace {

constexpr uint8_t MAX_DECIMAL_WIDTH = 11;
constexpr uint8_t MAX_HEX_WIDTH = 8;

// Appends to a bounded, always terminated text.
struct Out {
    char* buffer;
    uint16_t size;
    uint16_t length = 0;
    void add(const char* text)
    {
        while (*text != '\0' && length + 1 < size)
            buffer[length++] = *text++;
        buffer[length] = '\0';
    }
    void addText(TextId id)
    {
        if (length + 1 < size)
            length =
                static_cast<uint16_t>(length + TXT_GetInto(id, buffer + length, size - length));
    }
    void addTwoDigits(uint32_t v)
    {
        char digits[3];
        FMT_UintZero(v, digits, 2);
        add(digits);
    }
};

} // namespace

uint8_t FMT_Uint(uint32_t value, char* buffer)
{
    char reversed[10];
    uint8_t n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (uint8_t i = 0; i < n; ++i)
        buffer[i] = reversed[n - 1 - i];
    buffer[n] = '\0';
    return n;
}

uint8_t FMT_Int(int32_t value, char* buffer)
{
    if (value >= 0) return FMT_Uint(static_cast<uint32_t>(value), buffer);
    buffer[0] = '-';
    return static_cast<uint8_t>(1 + FMT_Uint(0u - static_cast<uint32_t>(value), buffer + 1));
}

uint8_t FMT_UintZero(uint32_t value, char* buffer, uint8_t width)
{
    if (width < 1 || width > MAX_DECIMAL_WIDTH) {
        buffer[0] = '\0';
        return 0;
    }
    for (uint8_t i = width; i-- > 0;) {
        buffer[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    buffer[width] = '\0';
    return width;
}

uint8_t FMT_Hex(uint32_t value, char* buffer, uint8_t width)
{
    if (width > MAX_HEX_WIDTH) width = 0;
    for (uint8_t i = width; i-- > 0;) {
        buffer[i] = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    }
    buffer[width] = '\0';
    return width;
}

uint16_t FMT_Temperature(char* buffer, uint16_t size, int16_t value, bool invalid)
{
    if (size == 0) return 0;
    Out out{buffer, size};
    buffer[0] = '\0';
    if (invalid) {
        out.addText(TXT_KEIN_WERT);
    } else {
        char number[12];
        FMT_Int(value, number);
        out.add(number);
    }
    out.addText(DAT_GetTempUnitFahrenheit() ? TXT_GRAD_F : TXT_GRAD_C);
    return out.length;
}

void FMT_DrawTemperature(const GFX_Rect& r, int16_t value)
{
    char text[24];
    FMT_Temperature(text, sizeof text, value, false);
    GFX_TextInRect(text, r, GFX_ALIGN_CENTER);
}

int16_t FMT_CelsiusToFahrenheit(int16_t c)
{
    const int32_t tenths = int32_t{c} * 18 + (c >= 0 ? 5 : -5);
    return static_cast<int16_t>(tenths / 10 + 32);
}

int16_t FMT_FahrenheitToCelsius(int16_t f)
{
    const int32_t d = int32_t{f} - 32;
    return static_cast<int16_t>((d * 10 + (d >= 0 ? 9 : -9)) / 18);
}

int16_t FMT_HalfDegrees(int16_t raw)
{
    return static_cast<int16_t>(raw >= 0 ? (raw + 1) / 2 : (raw - 1) / 2);
}

uint16_t FMT_Weekday(uint8_t day, char* buffer, uint16_t size)
{
    if (size == 0) return 0;
    if (day < 1 || day > FMT_WEEKDAY_TEXTS.size()) {
        buffer[0] = '\0';
        return 0;
    }
    return TXT_GetInto(FMT_WEEKDAY_TEXTS[day - 1], buffer, size);
}

uint16_t FMT_DateTime(const DateTime& t, FmtDateTime format, char* buffer, uint16_t size)
{
    if (size == 0) return 0;
    Out out{buffer, size};
    buffer[0] = '\0';
    switch (format) {
    case FmtDateTime::WeekdayDateLongYear:
    case FmtDateTime::WeekdayDateShortYear:
    case FmtDateTime::WeekdayDayMonth:
        if (t.weekday >= 1 && t.weekday <= FMT_WEEKDAY_TEXTS.size())
            out.addText(FMT_WEEKDAY_TEXTS[t.weekday - 1]);
        out.add(" ");
        [[fallthrough]];
    case FmtDateTime::DateLongYear:
    case FmtDateTime::DateShortYear:
        out.addTwoDigits(t.day);
        out.add(".");
        out.addTwoDigits(t.month);
        out.add(".");
        if (format == FmtDateTime::WeekdayDayMonth) break;
        if (format == FmtDateTime::WeekdayDateLongYear || format == FmtDateTime::DateLongYear) {
            char year[5];
            FMT_UintZero(t.year, year, 4);
            out.add(year);
        } else {
            out.addTwoDigits(t.year % 100);
        }
        break;
    case FmtDateTime::Time:
    case FmtDateTime::TimeWithWord:
        out.addTwoDigits(t.hour);
        out.add(":");
        out.addTwoDigits(t.minute);
        if (format == FmtDateTime::TimeWithWord) {
            out.add(" ");
            out.addText(TXT_UHR);
        }
        break;
    }
    return out.length;
}
