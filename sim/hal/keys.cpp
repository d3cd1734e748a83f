#include "sim/hal/keys.h"

#include <array>
#include <mutex>

#include "sim/hal/host_services.h"
#include "sim/hal/intrinsics.h"

namespace {

std::mutex keyLock;
uint32_t keyPattern = 0;
uint8_t keyColumnSelect = 0;

// The key lock; on virtual time the window's keys, the scan and the main task share one thread
// and it has nobody to keep out (the scan reads the matrix every 20 ms of panel time).
struct KeyGuard {
    const bool locked = !IAR_SingleThread();
    KeyGuard()
    {
        if (locked) keyLock.lock();
    }
    ~KeyGuard()
    {
        if (locked) keyLock.unlock();
    }
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
};

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

KEY_CommandHandler commandHandler = nullptr;

} // namespace

void KEY_Init()
{
    for (int hardkey = 0; hardkey < SIM_HardkeyCount(); ++hardkey)
        SIM_RegisterHardkey(hardkey, KEY_HardkeyCallback);
    const KeyGuard guard;
    keyColumnSelect = 0;
    keyPattern = 0;
}

uint32_t KEY_ReadMatrix()
{
    const KeyGuard guard;
    return (keyColumnSelect & 1) ? keyPattern : 0;
}

void KEY_SelectColumn(uint8_t value)
{
    const KeyGuard guard;
    keyColumnSelect = value;
}

void KEY_SetPattern(uint32_t pattern)
{
    const KeyGuard guard;
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
    if (commandHandler == nullptr) return;
    ISR_Enter();
    __enable_interrupt();
    commandHandler(hardkey - HARDKEY_FIRST_COMMAND);
    __disable_interrupt();
    ISR_Leave();
}

void KEY_SetCommandHandler(KEY_CommandHandler handler) { commandHandler = handler; }
