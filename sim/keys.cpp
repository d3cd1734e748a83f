#include "sim/keys.h"

#include <array>
#include <mutex>

#include "kernel/evt.h"
#include "sim/bel.h"
#include "sim/host.h"
#include "sim/intrinsics.h"

namespace {

std::mutex keyLock;
uint32_t keyPattern = 0;
uint8_t keyColumnSelect = 0;

// Pattern of each panel key and combination, by key index.
constexpr std::array<uint8_t, 13> patternByKey{
    KEY_PATTERN_UP,
    KEY_PATTERN_OK,
    KEY_PATTERN_DOWN,
    KEY_PATTERN_BACK,
    KEY_PATTERN_MENU,
    KEY_PATTERN_LEFT,
    KEY_PATTERN_RIGHT,
    KEY_PATTERN_HELP,
    0x28,
    0x30,
    0xA0,
    0x90,
    0x21,
};

// Key index of hardkeys 0..12: the device's keys in picture order, then the combinations.
constexpr std::array<uint8_t, 13> keyByHardkey{3, 0, 5, 1, 6, 2, 7, 4, 8, 9, 10, 11, 12};

void simulationCommand(int command)
{
    switch (command) {
    case 0: EVT_Post(PRIO_UI, SIG_3UHR_RESTART); break;
    case 1: EVT_Post(PRIO_UI, SIG_REG_RESET); break;
    case 2:
    case 3:
    case 4:
    case 5: {
        // The status bits belong to the main task: the illumination task applies the change
        // before the user interface sees SIG_DATA_CHANGED (priority 2 is served first).
        const uint32_t bit = command < 4 ? 0 : 1;
        const uint32_t set = (command % 2 == 0) ? 1 : 0;
        EVT_Post(PRIO_LIGHT, SIG_SIM_STATUS_BIT, bit << 1 | set);
        EVT_Post(PRIO_UI, SIG_DATA_CHANGED);
        break;
    }
    case 18: EVT_Post(PRIO_UI, SIG_KEY_OK_BACK); break;
    case 19: EVT_Post(PRIO_UI, SIG_KEY_MENU_OK); break;
    default: break; // 6..17 and 20 do nothing
    }
}

} // namespace

void KEY_Init()
{
    for (int hardkey = 0; hardkey < SIM_HardkeyCount(); ++hardkey)
        SIM_RegisterHardkey(hardkey, KEY_HardkeyCallback);
    std::lock_guard guard(keyLock);
    keyColumnSelect = 0;
    keyPattern = 0;
}

uint32_t KEY_ReadMatrix()
{
    std::lock_guard guard(keyLock);
    return (keyColumnSelect & 1) ? keyPattern : 0;
}

void KEY_SelectColumn(uint8_t value)
{
    std::lock_guard guard(keyLock);
    keyColumnSelect = value;
}

void KEY_SetPattern(uint32_t pattern)
{
    std::lock_guard guard(keyLock);
    keyPattern = pattern;
}

int KEY_HardkeyForPattern(uint32_t pattern)
{
    for (int hardkey = 0; hardkey < HARDKEY_FIRST_COMMAND; ++hardkey)
        if (patternByKey[keyByHardkey[hardkey]] == pattern) return hardkey;
    return -1;
}

void KEY_HardkeyCallback(int hardkey, int pressed)
{
    if (hardkey < 0 || hardkey >= HARDKEY_COUNT) return;
    if (hardkey < HARDKEY_FIRST_COMMAND) {
        // A release of any key clears the whole pattern.
        KEY_SetPattern(pressed ? patternByKey[keyByHardkey[hardkey]] : 0);
        return;
    }
    if (!pressed) return;
    ISR_Enter();
    __enable_interrupt();
    simulationCommand(hardkey - HARDKEY_FIRST_COMMAND);
    __disable_interrupt();
    ISR_Leave();
}
