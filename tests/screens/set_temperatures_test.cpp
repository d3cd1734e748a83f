// The set-temperature editors where a script cannot set the plant up: the Fahrenheit display
// and input, the remote-control variants and the controller's hot-water limits.
#include "link/dis.h"
#include "screens/bga.h"
#include "screens/bpb.h"
#include "screens/brn.h"
#include "screens/brt.h"
#include "screens/bww.h"
#include "screens/screen_fixture.h"
#include "screens/sent_commands.h"
#include "sim/hal/keys.h"
#include "widgets/screen.h"

namespace {

constexpr uint8_t REMOTE_CONTROL_CIRCUIT_1 = 17;
constexpr uint8_t REMOTE_CONTROL_CIRCUIT_2 = 18;
constexpr uint8_t DHW_CONFIG = 24;
constexpr uint8_t DHW_SET_AT_PANEL = 1 << 4;

class SetTemperatures : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        DIS_InitLink();
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    static void open(const State& s) { UI_Open(machine(), &s); }
    void taps(int key, int n)
    {
        for (int i = 0; i < n; ++i)
            tap(key);
    }
};

// Each editor in Fahrenheit: the stored Celsius value shown converted, the limits converted,
// and the value entered stored back in Celsius.
TEST_F(SetTemperatures, FahrenheitShowsConvertedValuesAndLimitsAndStoresCelsius)
{
    struct Case {
        const State* family;
        const char* dialog;
        uint8_t (*stored)();
        const char* shown;  // the stored 20 °C (50 °C hot water)
        int ups;            // to the upper limit
        const char* top;    // the upper limit
        uint8_t topCelsius; // what it stores
        const char* bottom; // the lower limit
        uint8_t bottomCelsius;
        uint8_t command;
    };
    const Case cases[] = {
        {&BRT_RaumtemperaturTag, "BRT_TemperaturDialog", DAT_GetRoomSetTemp, "68°F", 31, "99°F", 37,
         "37°F", 3, 205},
        {&BRN_RaumtemperaturNacht, "BRN_TemperaturDialog", DAT_GetRoomSetTempReduced, "68°F", 31,
         "99°F", 37, "37°F", 3, 206},
        {&BPB_Partybetrieb, "BPB_PartybetriebRaumtemperatur", DAT_GetPartySetTemp, "68°F", 31,
         "99°F", 37, "39°F", 4, 207},
        {&BWW_Warmwasser, "BWW_TemperaturDialog", DAT_GetDhwSetTemp, "122°F", 18, "140°F", 60,
         "41°F", 5, 208},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
        DAT_SetRoomSetTemp(20);
        DAT_SetRoomSetTempReduced(20);
        DAT_SetDhwSetTemp(50);
        DAT_SetPartyMode(false);
        DAT_SetTempUnitFahrenheit(true);
        open(*c.family);
        ASSERT_EQ(state(), c.dialog);
        EXPECT_TRUE(shows(c.shown)) << visibleTexts();
        taps(HARDKEY_UP, c.ups + 2);
        EXPECT_TRUE(shows(c.top)) << visibleTexts();
        tap(HARDKEY_OK);
        EXPECT_EQ(c.stored(), c.topCelsius);

        UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
        DAT_SetPartyMode(false);
        DIS_InitLink();
        open(*c.family);
        taps(HARDKEY_DOWN, 110);
        EXPECT_TRUE(shows(c.bottom)) << visibleTexts();
        tap(HARDKEY_OK);
        EXPECT_EQ(c.stored(), c.bottomCelsius);
        EXPECT_NE(SentCommands().find(std::to_string(c.command) + "/" +
                                      std::to_string(c.bottomCelsius) + "@1"),
                  std::string::npos)
            << SentCommands();
    }
}

TEST_F(SetTemperatures, SixtyEightFahrenheitIsTwentyCelsius)
{
    DAT_SetTempUnitFahrenheit(true);
    DAT_SetRoomSetTemp(21);
    open(BRT_RaumtemperaturTag);
    EXPECT_TRUE(shows("70°F"));
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("68°F"));
    tap(HARDKEY_OK);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 20);
    EXPECT_EQ(SentCommands(), "205/20@1");
}

// With a remote control on the current circuit the normal room temperature is only shown;
// the reduced one stays editable.
TEST_F(SetTemperatures, ARemoteControlHoldsTheNormalRoomTemperatureOfItsCircuit)
{
    for (uint8_t circuit : {1, 2}) {
        SCOPED_TRACE(circuit);
        UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
        DAT_Block(DatBlock::Config)[REMOTE_CONTROL_CIRCUIT_1] = circuit == 1 ? 1 : 0;
        DAT_Block(DatBlock::Config)[REMOTE_CONTROL_CIRCUIT_2] = circuit == 2 ? 1 : 0;
        DAT_SelectCircuit(circuit);
        open(BRT_RaumtemperaturTag);
        ASSERT_EQ(state(), "BRT_Fernbedienung");
        EXPECT_TRUE(shows("20°C"));
        EXPECT_TRUE(shows("Siehe Fernbedienung"));
        tap(HARDKEY_UP);
        tap(HARDKEY_RIGHT);
        EXPECT_EQ(state(), "BRT_Fernbedienung");
        EXPECT_TRUE(shows("20°C")) << "the value cannot be changed";
        run(4000);
        EXPECT_EQ(state(), "BGA_GrundanzeigeMenue") << "the time ends the function";

        DAT_SelectCircuit(circuit == 1 ? 2 : 1);
        open(BRT_RaumtemperaturTag);
        EXPECT_EQ(state(), "BRT_TemperaturDialog") << "the other circuit has none";

        UI_Back(machine(), &BGA_Grundanzeige, PAR_NAVIGATE);
        DAT_SelectCircuit(circuit);
        open(BRN_RaumtemperaturNacht);
        EXPECT_EQ(state(), "BRN_TemperaturDialog");
    }
    EXPECT_EQ(SentCommands(), "");
}

TEST_F(SetTemperatures, AHotWaterValueHeldElsewhereEndsWithAnyKey)
{
    DAT_Block(DatBlock::Config)[DHW_CONFIG] &= static_cast<uint8_t>(~DHW_SET_AT_PANEL);
    for (int key : {HARDKEY_UP, HARDKEY_LEFT, HARDKEY_OK, HARDKEY_BACK}) {
        open(BWW_Warmwasser);
        ASSERT_EQ(state(), "BWW_Fernbedienung");
        EXPECT_TRUE(shows("50°C"));
        EXPECT_TRUE(shows("Siehe Fernbedienung"));
        tap(key);
        EXPECT_EQ(state(), "BGA_GrundanzeigeMenue") << key;
    }
    EXPECT_EQ(DAT_GetDhwSetTemp(), 50);
    EXPECT_EQ(SentCommands(), "");
}

// A maximum below the stored value starts the editor at the maximum; only OK stores it. A
// maximum below the minimum leaves the minimum as the only value.
TEST_F(SetTemperatures, TheHotWaterEditorKeepsToTheControllersLimits)
{
    constexpr uint8_t VIEW_DHW_MAX = 8;
    constexpr uint8_t SETTINGS_DHW_MIN = 3;
    DAT_Block(DatBlock::CircuitView)[VIEW_DHW_MAX] = 45;
    DAT_CommitCircuitView();
    open(BWW_Warmwasser);
    EXPECT_TRUE(shows("45°C")) << visibleTexts();
    EXPECT_EQ(DAT_GetDhwSetTemp(), 50);
    tap(HARDKEY_UP);
    EXPECT_TRUE(shows("45°C"));
    tap(HARDKEY_BACK);
    EXPECT_EQ(DAT_GetDhwSetTemp(), 50) << "Back stores nothing";

    DAT_Block(DatBlock::Settings)[SETTINGS_DHW_MIN] = 55;
    open(BWW_Warmwasser);
    EXPECT_TRUE(shows("55°C")) << visibleTexts();
    tap(HARDKEY_DOWN);
    tap(HARDKEY_UP);
    EXPECT_TRUE(shows("55°C"));
    tap(HARDKEY_OK);
    EXPECT_EQ(DAT_GetDhwSetTemp(), 55);
}

} // namespace
