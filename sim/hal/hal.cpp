#include "sim/hal/hal.h"

#include <array>

#include "sim/hal/debug.h"
#include "sim/hal/host_services.h"

namespace {
uint32_t lightState = 0xFFFFFFFF; // nothing requested yet, so the first request applies
HAL_LightModeSink lightModeSink = nullptr;
std::array<uint16_t, HAL_ADC_CHANNELS> adcValues{};

void showLightMode(uint8_t mode)
{
    if (lightModeSink != nullptr) lightModeSink(mode);
}
} // namespace

void HAL_SetLightModeSink(HAL_LightModeSink sink) { lightModeSink = sink; }

void HAL_Beep() { SIM_Beep(); }

void HAL_SetBacklight(uint32_t state)
{
    if (state == lightState) return;
    lightState = state;
    switch (state) {
    case 0:
    case 1: showLightMode(0); break;
    case 2:
    case 3: showLightMode(2); break;
    case 4:
    case 5: showLightMode(4); break;
    default: DBG_Printf("\n*** Display-Beleuchtung, FEHLER ***"); break;
    }
}

void HAL_ApplyBrightness(uint8_t level) { HAL_SetBacklight(level >= 25 ? 4 : 2); }

uint32_t HAL_BacklightState() { return lightState; }

uint8_t HAL_OsVersion() { return 8; }

void HAL_WatchdogStart() {}
void HAL_WatchdogStop() {}
void HAL_WatchdogService() {}
void HAL_WatchdogHook() {}
void HAL_PortInit() {}
void HAL_PortInit2() {}
void HAL_AdcInit() { adcValues.fill(0); }

uint16_t HAL_AdcValue(uint8_t channel)
{
    return channel < adcValues.size() ? adcValues[channel] : 0;
}

void HAL_SetAdcValue(uint8_t channel, uint16_t value)
{
    if (channel < adcValues.size()) adcValues[channel] = value;
}
void HAL_AdcStart() {}
void HAL_AdcStart2() {}
void HAL_DriverStart() {}
void HAL_LightDriverInit() {}
