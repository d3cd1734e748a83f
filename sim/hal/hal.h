// The panel's hardware drivers on the desktop: key click, backlight, host version, and the
// target drivers that have nothing to do here (watchdog, ports, analogue inputs).
#pragma once

#include <cstdint>

void HAL_Beep();

// The display's light mode (0 dark, 2 dimmed, 4 full) follows the backlight; the display driver
// connects itself here when it starts.
using HAL_LightModeSink = void (*)(uint8_t lightMode);
void HAL_SetLightModeSink(HAL_LightModeSink sink);

// Backlight states 0..5: 0 and 1 dark, 2 and 3 dimmed, 4 and 5 full.
void HAL_SetBacklight(uint32_t state);
// A brightness of the data pool's scale (0..255): full from 25, else dimmed.
void HAL_ApplyBrightness(uint8_t level);
uint32_t HAL_BacklightState();

// 0 Server 2003 ... 9 query failed; the desktop host is none of the listed systems.
uint8_t HAL_OsVersion();

// Target drivers without effect on the desktop.
void HAL_WatchdogStart();
void HAL_WatchdogStop();
void HAL_WatchdogService();
void HAL_WatchdogHook();
void HAL_PortInit();
void HAL_PortInit2();
void HAL_AdcInit(); // clears the five channel values
void HAL_AdcStart();
void HAL_AdcStart2();
void HAL_DriverStart();
void HAL_LightDriverInit();

// The analogue inputs' last values (channels 0..4); the desktop has no inputs, so they stay at
// what HAL_AdcInit or the simulation set.
inline constexpr uint8_t HAL_ADC_CHANNELS = 5;
uint16_t HAL_AdcValue(uint8_t channel);
void HAL_SetAdcValue(uint8_t channel, uint16_t value);
