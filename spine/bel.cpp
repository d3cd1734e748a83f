#include "spine/bel.h"

#include "data/datapool.h"
#include "sim/hal/hal.h"

namespace {

enum class LightMode : uint32_t { Idle = 0, TargetNoted = 1, Hold = 2 };

LightMode lightMode = LightMode::Idle;
uint8_t lightTarget = 0;
uint8_t lightLevel = 0;

void apply(uint8_t level)
{
    lightTarget = lightLevel = level;
    HAL_ApplyBrightness(level);
}

void applySimulationBit(uint32_t par)
{
    const bool set = par & 1;
    if (par & 2)
        DAT_SetParametrisationActive(set);
    else
        DAT_SetCalibrationActive(set);
}

StateHandler beleuchtungTask(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        lightTarget = lightLevel = 0;
        lightMode = LightMode::Idle;
        return nullptr;
    case SIG_INIT: HAL_LightDriverInit(); return nullptr;
    case SIG_EXIT: return nullptr;
    case SIG_LIGHT_OFF:
        lightMode = LightMode::Hold;
        apply(0);
        lightMode = LightMode::Idle;
        return nullptr;
    case SIG_LIGHT_NORMAL_PRESET:
        lightMode = LightMode::TargetNoted;
        lightTarget = DAT_GetBrightnessIdle();
        return nullptr;
    case SIG_LIGHT_NORMAL:
        apply(DAT_GetBrightnessIdle());
        lightMode = LightMode::Idle;
        return nullptr;
    case SIG_LIGHT_FULL_PRESET:
        lightMode = LightMode::TargetNoted;
        lightTarget = DAT_GetBrightnessOperation();
        return nullptr;
    case SIG_LIGHT_FULL:
        apply(DAT_GetBrightnessOperation());
        lightMode = LightMode::Idle;
        return nullptr;
    case SIG_LIGHT_SET: apply(static_cast<uint8_t>(e.par)); return nullptr;
    case SIG_LIGHT_MODE_HOLD: lightMode = LightMode::Hold; return nullptr;
    case SIG_LIGHT_MODE_IDLE: lightMode = LightMode::Idle; return nullptr;
    case SIG_SIM_STATUS_BIT: applySimulationBit(e.par); return nullptr;
    }
    return &HSM_Top;
}

} // namespace

HSM_STATE(BEL_BeleuchtungTask, beleuchtungTask);

uint8_t BEL_GetLevel() { return lightLevel; }
