// What the panel needs from the host that runs it (the window host or the headless runner):
// message boxes, the hardkeys of the device picture, the key click and the clock at a cold
// start. Each service has a default that works without any host, so tests need not set them.
#pragma once

#include <cstdint>

// Message boxes. The default writes the text to standard error and returns at once; only the
// window host shows a real (blocking) box.
using SIM_MessageBoxFn = void (*)(const char* text, const char* caption);
void SIM_SetMessageBox(SIM_MessageBoxFn fn);
void SIM_MessageBox(const char* text, const char* caption);

// Hardkeys: the host reports how many the device picture has and calls the callback
// registered for a hardkey on every press (pressed != 0) and release (0).
using SIM_HardkeyCallback = void (*)(int hardkey, int pressed);
inline constexpr int SIM_MAX_HARDKEYS = 128;
void SIM_SetHardkeyCount(int count);
int SIM_HardkeyCount();
void SIM_RegisterHardkey(int hardkey, SIM_HardkeyCallback callback);
// Called by the host's window thread (or the script); hardkeys without a callback do nothing.
void SIM_HardkeyEvent(int hardkey, bool pressed);

// The key click.
using SIM_BeepFn = void (*)();
void SIM_SetBeep(SIM_BeepFn fn);
void SIM_Beep();

// The host clock at a cold start: UTC seconds, the zone offset in minutes west of UTC and the
// daylight-saving flag. By default the host's local time; a fixed clock replaces it for
// deterministic runs.
struct SIM_HostTime {
    int64_t utcSeconds;
    int32_t minutesWest;
    bool daylightSaving;
};
SIM_HostTime SIM_GetHostTime();
// Fixes the clock at the given local time (UTC offset 0, no daylight saving).
void SIM_SetFixedLocalTime(int64_t localSeconds);
void SIM_UseHostClock();

// The LCD: a refresh hands the host the refreshed rectangle of display memory (240 x 160, one
// bit a pixel, rows of 30 bytes, the most significant bit leftmost, a set bit lit) with the
// contrast and the light mode. The host copies it and never reads display memory otherwise, so
// it never sees a half-drawn screen.
inline constexpr int SIM_LCD_WIDTH = 240;
inline constexpr int SIM_LCD_HEIGHT = 160;
inline constexpr int SIM_LCD_BYTES_PER_ROW = SIM_LCD_WIDTH / 8;
struct SIM_Rect {
    int16_t x0, y0, x1, y1; // inclusive, already clipped to the display
};
using SIM_DisplaySink = void (*)(const uint8_t* memory, SIM_Rect rect, uint8_t contrast,
                                 uint8_t lightMode);
void SIM_SetDisplaySink(SIM_DisplaySink sink);
void SIM_DisplayRefresh(const uint8_t* memory, SIM_Rect rect, uint8_t contrast, uint8_t lightMode);

// The grey in which the host shows a set pixel (0xRRGGBB): the contrast grey, or the dimmed
// grey in light modes 0 to 3. Clear pixels are black.
uint32_t SIM_LcdSetColour(uint8_t contrast, uint8_t lightMode);
