#include "data/datapool.h"

#include <array>

namespace {
std::array<uint8_t, 20> statusBlock{};
uint8_t brightnessOperation = 168;
uint8_t brightnessIdle = 24;

void setBit(uint8_t& byte, uint8_t bit, bool on)
{
    byte = static_cast<uint8_t>(on ? byte | (1u << bit) : byte & ~(1u << bit));
}
} // namespace

void DAT_ClearAll(uint8_t reason)
{
    if (reason == 2) return;
    statusBlock.fill(0);
    brightnessOperation = 168;
    brightnessIdle = 24;
}

uint8_t DAT_GetBrightnessOperation() { return brightnessOperation; }
uint8_t DAT_GetBrightnessIdle() { return brightnessIdle; }
bool DAT_GetCalibrationActive() { return statusBlock[5] & 0x01; }
void DAT_SetCalibrationActive(bool on) { setBit(statusBlock[5], 0, on); }
bool DAT_GetParametrisationActive() { return statusBlock[5] & 0x02; }
void DAT_SetParametrisationActive(bool on) { setBit(statusBlock[5], 1, on); }

uint16_t DAT_GetCircuitLabel(TextId, char* buffer, uint16_t size)
{
    if (size > 0) buffer[0] = 0;
    return 0;
}
