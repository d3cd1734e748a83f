#include "sim/hal/host_services.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace {

void stderrMessageBox(const char* text, const char* caption)
{
    fprintf(stderr, "[%s] %s\n", caption, text);
}

SIM_MessageBoxFn messageBox = stderrMessageBox;

std::mutex hardkeyLock;
int hardkeyCount = 0;
std::array<SIM_HardkeyCallback, SIM_MAX_HARDKEYS> hardkeys{};

SIM_BeepFn beep = nullptr;

std::atomic<bool> fixedClock{false};
std::atomic<int64_t> fixedLocal{0};

} // namespace

void SIM_SetMessageBox(SIM_MessageBoxFn fn) { messageBox = fn ? fn : stderrMessageBox; }
void SIM_MessageBox(const char* text, const char* caption) { messageBox(text, caption); }

void SIM_SetHardkeyCount(int count)
{
    std::lock_guard guard(hardkeyLock);
    hardkeyCount = count < 0 ? 0 : (count > SIM_MAX_HARDKEYS ? SIM_MAX_HARDKEYS : count);
}

int SIM_HardkeyCount()
{
    std::lock_guard guard(hardkeyLock);
    return hardkeyCount;
}

void SIM_RegisterHardkey(int hardkey, SIM_HardkeyCallback callback)
{
    std::lock_guard guard(hardkeyLock);
    if (hardkey >= 0 && hardkey < SIM_MAX_HARDKEYS) hardkeys[hardkey] = callback;
}

void SIM_HardkeyEvent(int hardkey, bool pressed)
{
    SIM_HardkeyCallback callback = nullptr;
    {
        std::lock_guard guard(hardkeyLock);
        if (hardkey >= 0 && hardkey < hardkeyCount) callback = hardkeys[hardkey];
    }
    if (callback) callback(hardkey, pressed ? 1 : 0);
}

void SIM_SetBeep(SIM_BeepFn fn) { beep = fn; }
void SIM_Beep()
{
    if (beep) beep();
}

SIM_HostTime SIM_GetHostTime()
{
    if (fixedClock) return {fixedLocal.load(), 0, false};
    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    // tm_gmtoff includes daylight saving; the panel wants the standard offset and the flag.
    const bool dst = local.tm_isdst > 0;
    const long standardEast = local.tm_gmtoff - (dst ? 3600 : 0);
    return {static_cast<int64_t>(now), static_cast<int32_t>(-standardEast / 60), dst};
}

void SIM_SetFixedLocalTime(int64_t localSeconds)
{
    fixedLocal = localSeconds;
    fixedClock = true;
}

void SIM_UseHostClock() { fixedClock = false; }

namespace {
SIM_DisplaySink displaySink = nullptr;
}

void SIM_SetDisplaySink(SIM_DisplaySink sink) { displaySink = sink; }

void SIM_DisplayRefresh(const uint8_t* memory, SIM_Rect rect, uint8_t contrast, uint8_t lightMode)
{
    if (displaySink) displaySink(memory, rect, contrast, lightMode);
}

uint32_t SIM_LcdSetColour(uint8_t contrast, uint8_t lightMode)
{
    if (lightMode <= 3) return 0x4F4F4F;
    const uint32_t c = contrast > 99 ? 99 : contrast;
    return 0x9C9C9C + c * 0x010101;
}
