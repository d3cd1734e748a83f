// The data-flash image: a header with its marker, the panel's parameter area and the language
// section of the text catalogue. The factory writes it; everything else reads it.
#pragma once

#include <cstdint>

// Byte copies out of and into the image, clipped to it; the result is the number copied.
uint16_t FLS_Read(uint32_t offset, void* buffer, uint16_t length);
uint16_t FLS_Write(const void* buffer, uint32_t offset, uint16_t length);

// The marker is present and every offset of the header, the parameter area and the language
// section lies inside the image. An image that fails counts as empty: defaults, German only.
bool FLS_IsValid();
uint32_t FLS_ParamBase();

// The one-byte parameters, by their offset in the parameter area.
enum class FlsParam : uint8_t {
    FactoryByte = 34,
    Contrast = 37,
    MinOperatingBacklight = 38,
    MaxOperatingBacklight = 39,
    OperatingBacklight = 40,
    MinIdleBacklight = 41,
    MaxIdleBacklight = 42,
    IdleBacklight = 43,
};
uint8_t FLS_GetParam(FlsParam param);
void FLS_SetParam(FlsParam param, uint8_t value);

// The ASCII digit fields of the parameter area: the 16-digit panel serial number at P + 4 and
// the 7-digit fields at P + 20 and P + 27. Both copy min(length, field size) bytes, without a
// terminator, and return the count.
enum class FlsDigitField : uint8_t { SerialNumber, Field20, Field27 };
uint16_t FLS_ReadDigits(FlsDigitField field, char* buffer, uint16_t length);
uint16_t FLS_WriteDigits(FlsDigitField field, const char* digits, uint16_t length);

// Settings with their fallback when the image is not valid.
uint8_t FLS_GetContrastSetting();       // the display driver's default contrast
uint8_t FLS_GetOperatingBacklight();    // 168
uint8_t FLS_GetIdleBacklight();         // 24
uint8_t FLS_GetMaxOperatingBacklight(); // 216
uint8_t FLS_GetMinOperatingBacklight(); // 48
uint8_t FLS_GetMaxIdleBacklight();      // 36
uint8_t FLS_GetMinIdleBacklight();      // 1

// Text textId of a language of the language section into buffer: at most size - 1 bytes, cut
// at a character boundary, always terminated (size > 0); returns the length. A language or
// text that the section does not hold, or an invalid image, yields the empty text.
uint16_t FLS_ReadText(uint8_t language, uint16_t textId, char* buffer, uint16_t size);

// Test hook: works on the given bytes instead of the built-in image until
// FLS_UseBuiltInImage(); a null image is a build without one.
void FLS_UseImage(uint8_t* image, uint32_t size);
void FLS_UseBuiltInImage();
