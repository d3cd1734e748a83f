#include "kernel/tas.h"

#include <array>
#include <cstring>

#include "kernel/evt.h"
#include "sim/hal/intrinsics.h"
#include "sim/hal/keys.h"

namespace {

enum KeyFlags : uint8_t { AUTO_REPEAT = 1, LONG_PRESS = 2 };

struct KeyInfo {
    uint8_t pattern;
    Signal press;
    Signal release;
    uint8_t flags;
    uint16_t holdDelay; // 10 ms ticks before the press is emitted
    Signal longPress;   // SIG_NONE for every key: a long press emits nothing visible
};

// By key index.
constexpr std::array<KeyInfo, 13> keyTable{{
    {0x08, SIG_KEY_UP, SIG_KEY_UP_REL, AUTO_REPEAT, 0, SIG_NONE},
    {0x20, SIG_KEY_OK, SIG_KEY_OK_REL, LONG_PRESS, 0, SIG_NONE},
    {0x10, SIG_KEY_DOWN, SIG_KEY_DOWN_REL, AUTO_REPEAT, 0, SIG_NONE},
    {0x01, SIG_KEY_BACK, SIG_KEY_BACK_REL, 0, 0, SIG_NONE},
    {0x80, SIG_KEY_MENU, SIG_KEY_MENU_REL, 0, 0, SIG_NONE},
    {0x02, SIG_KEY_LEFT, SIG_KEY_LEFT_REL, AUTO_REPEAT, 0, SIG_NONE},
    {0x04, SIG_KEY_RIGHT, SIG_KEY_RIGHT_REL, AUTO_REPEAT, 0, SIG_NONE},
    {0x40, SIG_KEY_HELP, SIG_KEY_HELP_REL, 0, 0, SIG_NONE},
    {0x28, SIG_KEY_OK_UP, SIG_KEY_OK_UP_REL, AUTO_REPEAT, 0, SIG_NONE},
    {0x30, SIG_KEY_OK_DOWN, SIG_KEY_OK_DOWN_REL, AUTO_REPEAT, 0, SIG_NONE},
    {0xA0, SIG_KEY_MENU_OK, SIG_KEY_MENU_OK_REL, 0, 400, SIG_NONE},
    {0x90, SIG_KEY_MENU_DOWN, SIG_KEY_MENU_DOWN_REL, 0, 200, SIG_NONE},
    {0x21, SIG_KEY_OK_BACK, SIG_KEY_OK_BACK_REL, 0, 200, SIG_NONE},
}};

constexpr uint8_t columnCount = 1;
constexpr std::array<uint8_t, 4> columnSelect{1, 2, 4, 8};

// Key scan state, owned by the 20 ms tick.
struct Scan {
    uint8_t samples[2][4];
    uint8_t column;
    uint8_t row;
    uint8_t currentKey;
    uint8_t checkIn;
};
Scan scan{};

// Key task state, owned by the main task. The task keeps the key it was told about in
// SIG_KEY_PRESSED: the scan's current key may already have changed by the time the press is
// dispatched.
uint8_t pressedKey = KEY_NONE;
uint16_t repeatCount = 0;
uint8_t accel = 255;
uint8_t repeatLevel = 255;

bool isCombination(uint8_t key) { return key >= KEY_OK_UP && key <= KEY_OK_BACK; }

const KeyInfo& pressed() { return keyTable[pressedKey < keyTable.size() ? pressedKey : 0]; }

void emitPress()
{
    EVT_Post(PRIO_UI, SIG_KEY_ANY, repeatCount);
    EVT_Post(PRIO_UI, pressed().press, repeatCount);
}

void startKeyTimer(uint16_t ticks) { EVT_Post(PRIO_TIMER, SIG_TMR_KEY, ticks); }

// A key timer expiry of the previous key must not act on the new one.
void stopKeyTimer()
{
    startKeyTimer(0);
    EVT_Purge(PRIO_KEYS, SIG_KEY_TIMEOUT);
}

uint16_t nextRepeatDelay()
{
    const uint32_t f = uint32_t{accel} * repeatLevel;
    repeatLevel = static_cast<uint8_t>(f / 255);
    const uint32_t d = f * 40 / 65025;
    return static_cast<uint16_t>(d < 10 ? 10 : d);
}

// After the press has been emitted: repeat, wait for a long press, or stay.
void afterPress(Hsm& me)
{
    if (pressed().flags & AUTO_REPEAT)
        HSM_Tran(me, &TAS_TastaturTask, &TAS_RepeatDelay);
    else if (pressed().flags & LONG_PRESS)
        HSM_Tran(me, &TAS_TastaturTask, &TAS_LongPress);
}

StateHandler tastaturTask(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        memset(scan.samples, 0, sizeof scan.samples);
        scan.column = 0;
        scan.row = 0;
        scan.currentKey = KEY_NONE;
        scan.checkIn = 10;
        pressedKey = KEY_NONE;
        repeatLevel = 255;
        accel = 255;
        repeatCount = 0;
        KEY_Init();
        return nullptr;
    case SIG_INIT: HSM_Start(me, &TAS_Idle); return nullptr;
    case SIG_EXIT: return nullptr;
    case SIG_KEY_ACCEL: accel = static_cast<uint8_t>(255 - (e.par & 0xFF)); return nullptr;
    case SIG_KEY_FLUSH: EVT_Purge(PRIO_UI, SIG_KEY_FIRST, SIG_KEY_LAST); return nullptr;
    case SIG_KEY_PRESSED:
        stopKeyTimer();
        pressedKey = static_cast<uint8_t>(e.par < keyTable.size() ? e.par : KEY_NONE);
        repeatCount = 0;
        if (pressedKey == KEY_NONE) return nullptr;
        HSM_Tran(me, &TAS_TastaturTask, &TAS_Pressed);
        return nullptr;
    case SIG_KEY_RELEASED:
        stopKeyTimer();
        repeatCount = 0;
        EVT_Post(PRIO_UI, SIG_KEY_ANY_REL, 0);
        if (e.par < keyTable.size()) EVT_Post(PRIO_UI, keyTable[e.par].release, 0);
        pressedKey = KEY_NONE;
        HSM_Tran(me, &TAS_TastaturTask, &TAS_Idle);
        return nullptr;
    }
    return &HSM_Top;
}

StateHandler idle(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    }
    return &TAS_TastaturTask;
}

StateHandler pressedState(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
    case SIG_EXIT: return nullptr;
    case SIG_INIT:
        if (pressed().holdDelay == 0) {
            emitPress();
            afterPress(me);
        } else {
            startKeyTimer(pressed().holdDelay);
        }
        return nullptr;
    case SIG_KEY_TIMEOUT:
        emitPress();
        afterPress(me);
        return nullptr;
    }
    return &TAS_TastaturTask;
}

StateHandler repeatDelay(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: startKeyTimer(80); return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_KEY_TIMEOUT:
        ++repeatCount;
        emitPress();
        HSM_Tran(me, &TAS_TastaturTask, &TAS_Repeat);
        return nullptr;
    }
    return &TAS_TastaturTask;
}

StateHandler repeat(Hsm& me, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY:
        repeatLevel = 255;
        startKeyTimer(40);
        return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_KEY_TIMEOUT: {
        ++repeatCount;
        emitPress();
        const uint16_t d = nextRepeatDelay();
        startKeyTimer(d);
        if (d == 10) HSM_Tran(me, &TAS_TastaturTask, &TAS_FastRepeat);
        return nullptr;
    }
    }
    return &TAS_TastaturTask;
}

StateHandler fastRepeat(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: EVT_Post(PRIO_UI, SIG_KEY_FAST, 10); return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_KEY_TIMEOUT:
        ++repeatCount;
        emitPress();
        startKeyTimer(10);
        return nullptr;
    }
    return &TAS_TastaturTask;
}

StateHandler longPress(Hsm&, const Event& e)
{
    switch (e.sig) {
    case SIG_ENTRY: startKeyTimer(400); return nullptr;
    case SIG_INIT:
    case SIG_EXIT: return nullptr;
    case SIG_KEY_TIMEOUT:
        ++repeatCount;
        EVT_Post(PRIO_UI, pressed().longPress, repeatCount);
        return nullptr;
    }
    return &TAS_TastaturTask;
}

} // namespace

HSM_STATE(TAS_TastaturTask, tastaturTask);
HSM_STATE(TAS_Idle, idle);
HSM_STATE(TAS_Pressed, pressedState);
HSM_STATE(TAS_RepeatDelay, repeatDelay);
HSM_STATE(TAS_Repeat, repeat);
HSM_STATE(TAS_FastRepeat, fastRepeat);
HSM_STATE(TAS_LongPress, longPress);

uint8_t TAS_KeyOfPattern(uint32_t pattern)
{
    if (pattern == 0) return KEY_NONE;
    for (uint8_t i = 0; i < keyTable.size(); ++i)
        if (keyTable[i].pattern == pattern) return i;
    return KEY_INVALID;
}

void TAS_Scan()
{
    __enable_interrupt();
    scan.samples[scan.row][scan.column] = static_cast<uint8_t>(KEY_ReadMatrix());
    if (++scan.column >= columnCount) {
        scan.column = 0;
        scan.row = static_cast<uint8_t>((scan.row + 1) % 2);
        // Debounce: the same pattern in two consecutive scans, 20 ms apart.
        if (memcmp(scan.samples[0], scan.samples[1], sizeof scan.samples[0]) == 0) {
            const uint8_t key = TAS_KeyOfPattern(scan.samples[0][0]);
            if (key == KEY_INVALID || key == scan.currentKey) {
                // nothing new
            } else if (key == KEY_NONE) {
                EVT_Post(PRIO_KEYS, SIG_KEY_RELEASED, scan.currentKey);
                scan.currentKey = KEY_NONE;
            } else if (!isCombination(scan.currentKey)) {
                // While a combination is held, every other pattern waits for the release.
                EVT_Post(PRIO_KEYS, SIG_KEY_PRESSED, key);
                scan.currentKey = key;
            }
        }
    }
    KEY_SelectColumn(columnSelect[scan.column]);
    if (--scan.checkIn == 0) {
        scan.checkIn = 10;
        EVT_Post(PRIO_UI, SIG_ALIVE_KEYS);
    }
    __disable_interrupt();
}
