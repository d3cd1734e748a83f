// The hardware quality check's effects that the station cannot read back: the backlight and
// contrast it sets, the flash image's settings the panel uses afterwards, the cold start.
// The protocol itself is tested command by command by the headless scripts bhq_*.script.
#include <vector>

#include "data/datapool.h"
#include "display/flash.h"
#include "display/lcd.h"
#include "kernel/app.h"
#include "screen_fixture.h"
#include "sim/hal/hal.h"
#include "sim/hal/serial_port.h"
#include "spine/bel.h"
#include "spine/ui_spine.h"

namespace {

std::vector<uint8_t> sentBytes;
int beeps = 0;

// A line whose sends complete at once.
bool lineIsOpen = false;
void lineInit(uint8_t port) { lineIsOpen = port == 0; }
void lineSend(uint8_t port, uint8_t byte)
{
    sentBytes.push_back(byte);
    SIM_SerialTransmitted(port);
}
void lineStop(uint8_t) {}
void lineClose(uint8_t) { lineIsOpen = false; }
bool lineOpen(uint8_t port) { return port == 0 && lineIsOpen; }
constexpr SIM_SerialDriver line{lineInit, lineSend, lineStop, lineClose, lineOpen};

std::vector<uint8_t> copyOfBuiltInImage()
{
    FLS_UseBuiltInImage();
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    for (;;) {
        const uint16_t n = FLS_Read(static_cast<uint32_t>(bytes.size()), chunk, sizeof chunk);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk) return bytes;
    }
}

class HardwareQualityCheck : public ScreenTest {
  protected:
    void SetUp() override
    {
        image = copyOfBuiltInImage();
        FLS_UseImage(image.data(), static_cast<uint32_t>(image.size()));
        lineIsOpen = false;
        SIM_SetSerialDriver(&line);
        sentBytes.clear();
        beeps = 0;
        SIM_SetBeep([] { ++beeps; });
        ScreenTest::SetUp();
        run(1000);
        station({5});
        ASSERT_EQ(state(), "BHQ_WaitingForCommand");
        ASSERT_EQ(sentBytes, std::vector<uint8_t>{0});
    }
    void TearDown() override
    {
        Win32_Uart_Close(0);
        SIM_SetBeep(nullptr);
        SIM_SetSerialDriver(nullptr);
        FLS_UseBuiltInImage();
    }

    // The station's bytes, handed to the port as fast as it takes them.
    void station(const std::vector<uint8_t>& bytes)
    {
        for (uint8_t b : bytes)
            ASSERT_TRUE(SIM_SerialReceived(0, b)) << "the port's FIFO is full";
        for (int pass = 0; pass < 100 && SIM_SerialDeliver(0) > 0; ++pass)
            run(100);
        ASSERT_EQ(SIM_SerialBacklog(0), 0u) << "the panel does not take its bytes";
        run(300);
    }

    std::vector<uint8_t> image;
};

TEST_F(HardwareQualityCheck, BacklightLimitsWrittenByTheStationAreTheFlashImageSettings)
{
    station({0xF4, 0x08, 0x55, 0x01, 180});
    station({0xF4, 0x08, 0x56, 0x01, 60});
    station({0xF4, 0x08, 0x58, 0x01, 30});
    station({0xF4, 0x08, 0x59, 0x01, 3});
    // What the brightness settings take as their limits.
    EXPECT_EQ(FLS_GetMaxOperatingBacklight(), 180);
    EXPECT_EQ(FLS_GetMinOperatingBacklight(), 60);
    EXPECT_EQ(FLS_GetMaxIdleBacklight(), 30);
    EXPECT_EQ(FLS_GetMinIdleBacklight(), 3);
    EXPECT_EQ(sentBytes, (std::vector<uint8_t>{0, 0, 0, 0, 0}));
}

TEST_F(HardwareQualityCheck, LevelsAndContrastTakeEffectAtOnce)
{
    station({0xF4, 0x08, 0x57, 0x01, 20});
    EXPECT_EQ(FLS_GetOperatingBacklight(), 20);
    EXPECT_EQ(DAT_GetBrightnessOperation(), 20);
    EXPECT_EQ(BEL_GetLevel(), 20) << "SIG_LIGHT_FULL applies the new level";
    EXPECT_EQ(HAL_BacklightState(), 2u) << "below 25 the backlight is dimmed";

    station({0xF4, 0x08, 0x5A, 0x01, 40});
    EXPECT_EQ(FLS_GetIdleBacklight(), 40);
    EXPECT_EQ(DAT_GetBrightnessIdle(), 40);
    EXPECT_EQ(BEL_GetLevel(), 40) << "SIG_LIGHT_NORMAL applies the new idle level";

    station({0xF4, 0x08, 0x54, 0x01, 20});
    EXPECT_EQ(FLS_GetContrastSetting(), 20);
    EXPECT_EQ(lcd_getContrast(), 20);
}

TEST_F(HardwareQualityCheck, SpecialFunctionsDriveBacklightBeepAndWatchdog)
{
    station({0x3E, 24});
    EXPECT_EQ(BEL_GetLevel(), 0);
    station({0x3E, 23});
    EXPECT_EQ(BEL_GetLevel(), DAT_GetBrightnessOperation());
    station({0x3E, 49});
    EXPECT_EQ(beeps, 1);
    ASSERT_EQ(APP_Persistent().startMagic, APP_START_MAGIC);
    station({0x3E, 3});
    EXPECT_EQ(APP_Persistent().startMagic, 0u);
    EXPECT_TRUE(BSM_WatchdogMask() & 0x02) << "check-in bit 1";
    station({0x3E, 0x99}); // no such function: acknowledged all the same
    EXPECT_EQ(sentBytes, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(state(), "BHQ_WaitingForCommand");
}

TEST_F(HardwareQualityCheck, StopRestartsThePanelWithAColdStart)
{
    APP_SetResetReason(RESET_CONTROLLER); // would give start type 3
    station({4});
    EXPECT_EQ(sentBytes, (std::vector<uint8_t>{0, 0}));
    EXPECT_TRUE(APP_Persistent().restartFlag);
    EXPECT_TRUE(log.contains(" BSM_SystemReset Entry"));
    EXPECT_EQ(panel.start(), 1);
    EXPECT_EQ(APP_ResetReason(), RESET_NORMAL);
    EXPECT_EQ(APP_Persistent().startMagic, APP_START_MAGIC);
}

} // namespace
