#include <vector>

#include "link/dis.h"
#include "screen_fixture.h"
#include "sim/controller/bus_master.h"
#include "sim/hal/keys.h"
#include "support/golden_check.h"

namespace {

constexpr int HARDKEY_SERVICE_MENU = HARDKEY_FIRST_COMMAND + 19;
constexpr int HARDKEY_CODING_LEVEL_2 = HARDKEY_FIRST_COMMAND + 18;
constexpr int HARDKEY_CALIBRATION_ON = HARDKEY_FIRST_COMMAND + 2;
constexpr int HARDKEY_PARAMETRISATION_ON = HARDKEY_FIRST_COMMAND + 4;
constexpr int HARDKEY_PARAMETRISATION_OFF = HARDKEY_FIRST_COMMAND + 5;
constexpr uint8_t MSG_CODING = 14;
constexpr uint8_t GROUP_BOILER = 1;
constexpr uint8_t GROUP_GENERAL = 3;
constexpr GFX_Rect SYMBOL_AREA{217, 2, 238, 23};

struct Entry {
    uint8_t group;
    uint8_t address;
    int16_t value, min, max;
};

// The service menu, then a coding level and its group; the link starts afresh, so the only
// traffic is what the coding screens ask for, and the controller is played by the test.
class Coding : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        DIS_InitLink();
        tap(HARDKEY_SERVICE_MENU);
        ASSERT_EQ(state(), "BSVM_Servicemenue");
    }

    // Level 1 from the service menu, the group on the given line of the group menu.
    void openLevel1(int groupLine)
    {
        tap(HARDKEY_DOWN);
        tap(HARDKEY_DOWN);
        tap(HARDKEY_OK);
        ASSERT_EQ(state(), "BCPM_Codierung_1_Menue");
        for (int i = 0; i < groupLine; ++i)
            tap(HARDKEY_DOWN);
        tap(HARDKEY_OK);
        ASSERT_EQ(state(), "BCP_Codierung_1");
    }

    // Level 2 by the combination, then its first group ("Allgemein").
    void openLevel2()
    {
        tap(HARDKEY_CODING_LEVEL_2);
        ASSERT_EQ(state(), "BCPM_Codierung_2_Menue");
        tap(HARDKEY_OK);
        ASSERT_EQ(state(), "BCP_Codierung_2");
    }

    static void linkService()
    {
        EVT_Post(PRIO_LINK, SIG_LINK_SERVICE);
        EVT_Run();
    }

    // The coding request now standing for the controller to read, after the link has put up
    // the next one.
    static std::span<const uint8_t, DIS_REQUEST_SIZE> standing()
    {
        linkService();
        return DIS_RequestBuffer();
    }

    static bool queued(uint8_t command)
    {
        for (uint8_t i = 0; i < DIS_QueueCount(); ++i)
            if (DIS_QueuedEntry(i)[3] == command) return true;
        return DIS_RequestBuffer()[3] == command;
    }

    // The controller answers the request standing with message 14: previous, answered and next
    // parameter.
    static void answer(const Entry& previous, const Entry& answered, const Entry& next)
    {
        const auto request = standing();
        std::vector<uint8_t> message{static_cast<uint8_t>(MSG_CODING << 3 | (request[1] & 7)), 0,
                                     0};
        for (const Entry& e : {previous, answered, next}) {
            const uint8_t bytes[8] = {e.group,
                                      e.address,
                                      static_cast<uint8_t>(e.value),
                                      static_cast<uint8_t>(static_cast<uint16_t>(e.value) >> 8),
                                      static_cast<uint8_t>(e.min),
                                      static_cast<uint8_t>(static_cast<uint16_t>(e.min) >> 8),
                                      static_cast<uint8_t>(e.max),
                                      static_cast<uint8_t>(static_cast<uint16_t>(e.max) >> 8)};
            message.insert(message.end(), bytes, bytes + sizeof bytes);
        }
        message.push_back(0);
        ASSERT_TRUE(BUS_WriteBlock(BUS_MESSAGE_BLOCK, message));
        linkService();
    }

    static void answer(const Entry& e) { answer(e, e, e); }
};

TEST_F(Coding, TheBrowserAsksForTheFirstAddressAndShowsWhatTheControllerAnswers)
{
    openLevel1(1); // "Kessel"
    EXPECT_TRUE(shows("Kessel"));
    EXPECT_TRUE(shows("Cod.1"));
    EXPECT_TRUE(shows("00"));
    const auto request = standing();
    EXPECT_EQ(request[1] >> 3, MSG_CODING);
    EXPECT_EQ(request[3], 230);
    EXPECT_EQ(request[4], GROUP_BOILER << 4 | 1) << "group and level";
    EXPECT_EQ(request[5], 0x00);
    EXPECT_EQ(request[8], 1) << "upwards";
    EXPECT_EQ(DIS_QueueCount(), 0) << "nothing else goes over the bus";

    // There is nothing at 0: the controller answers with the next parameter, which is shown.
    answer({GROUP_BOILER, 0x34, 0, 0, 1}, {GROUP_BOILER, 0x01, 1, 0, 1},
           {GROUP_BOILER, 0x07, 0, 0, 15});
    EXPECT_TRUE(shows("01")) << visibleTexts();
    EXPECT_TRUE(shows("Ein-/Mehrkesselanlage"));
    EXPECT_TRUE(shows("1"));

    // Down asks for the address below, downwards, when the key is released.
    tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("00"));
    const auto down = standing();
    EXPECT_EQ(down[3], 230);
    EXPECT_EQ(down[5], 0x00);
    EXPECT_EQ(down[8], 0xFF) << "downwards";
}

TEST_F(Coding, AParameterIsEditedWithinItsLimitsWrittenAndConfirmed)
{
    openLevel1(1);
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BCP_Codierung_1") << "no answer yet: OK does nothing";

    answer({GROUP_BOILER, 0x23, 12, 0, 24});
    EXPECT_TRUE(shows("Wartung Zeitintervall"));
    EXPECT_TRUE(MatchesGolden("screens", "bcp_level1_answered.png"));
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCP_EditValue");
    const uint8_t answeredRequest = DIS_RequestBuffer()[1];
    EXPECT_TRUE(shows("12"));
    EXPECT_TRUE(shows("Ändern mit"));
    for (int i = 0; i < 14; ++i)
        tap(HARDKEY_UP);
    EXPECT_TRUE(shows("24")) << "the editor stops at the maximum";
    linkService();
    EXPECT_EQ(DIS_QueueCount(), 0) << "the editor's keys ask the controller nothing";
    EXPECT_EQ(DIS_RequestBuffer()[1], answeredRequest);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_LEFT);
    EXPECT_TRUE(shows("22"));

    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCP_EditFeedback");
    EXPECT_TRUE(shows("Übernommen"));
    EXPECT_EQ(DAT_GetCodingEntryValue(), 22) << "stored into the current entry at once";
    const auto write = standing();
    EXPECT_EQ(write[3], 228);
    EXPECT_EQ(write[4], GROUP_BOILER << 4 | 1);
    EXPECT_EQ(write[5], 0x23);
    EXPECT_EQ(write[6], 22);
    EXPECT_EQ(write[7], 0);
    EXPECT_NE(DIS_SlotState(DIS_MSG_CONFIG), SLOT_IDLE) << "the configuration asked again";

    // The controller keeps the value and says so; after 4 s the browser shows it.
    answer({GROUP_BOILER, 0x23, 22, 0, 24});
    run(4000);
    EXPECT_EQ(state(), "BCP_Codierung_1");
    EXPECT_TRUE(shows("22"));
    EXPECT_TRUE(shows("Wartung Zeitintervall"));
}

TEST_F(Coding, TheEditorStopsAtTheMinimumAndBackKeepsTheControllersValue)
{
    openLevel1(1);
    answer({GROUP_BOILER, 0x07, -2, -3, 5});
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCP_EditValue");
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("-3")) << visibleTexts();
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BCP_Codierung_1");
    EXPECT_TRUE(shows("-2"));
    EXPECT_FALSE(queued(228));
}

TEST_F(Coding, WithoutAnAnswerTheBrowserWaitsAndTheEditorCannotBeReached)
{
    openLevel1(0);
    run(30000);
    EXPECT_EQ(state(), "BCP_Codierung_1");
    EXPECT_TRUE(shows("00"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BCP_Codierung_1");
}

TEST_F(Coding, HoldingUpRequestsOnlyTheAddressWhereTheKeyIsReleased)
{
    openLevel1(0);
    answer({GROUP_GENERAL, 0x00, 3, 0, 9});
    std::vector<uint8_t> requested;
    SIM_HardkeyEvent(HARDKEY_UP, true);
    for (int i = 0; i < 30; ++i) {
        run(100);
        linkService();
        if (DIS_RequestBuffer()[3] == 230 && DIS_RequestBuffer()[5] != 0x00)
            requested.push_back(DIS_RequestBuffer()[5]);
    }
    EXPECT_TRUE(requested.empty()) << "no request while the key is held";
    SIM_HardkeyEvent(HARDKEY_UP, false);
    run(200);
    const auto request = standing();
    EXPECT_EQ(request[3], 230);
    EXPECT_GT(request[5], 5) << "the auto-repeat ran through the addresses";
    char shown[4];
    snprintf(shown, sizeof shown, "%02X", request[5]);
    EXPECT_TRUE(shows(shown)) << "the address shown is the one requested";
}

TEST_F(Coding, LevelOneNamesTheWellKnownAddressesOnly)
{
    openLevel1(1);
    answer({GROUP_BOILER, 0x24, 0, 0, 1});
    EXPECT_TRUE(shows("Status Wartung"));
    tap(HARDKEY_UP);
    EXPECT_TRUE(shows("25"));
    EXPECT_FALSE(shows("Status Wartung")) << visibleTexts();
}

TEST_F(Coding, AnAnswerTheUserHasBrowsedAwayFromIsNotShown)
{
    openLevel1(1);
    SIM_HardkeyEvent(HARDKEY_UP, true);
    run(100);
    ASSERT_TRUE(shows("01"));
    answer({GROUP_BOILER, 0x00, 77, 0, 99});
    EXPECT_TRUE(shows("01")) << "the browser stays where the user went";
    EXPECT_FALSE(shows("77"));
    SIM_HardkeyEvent(HARDKEY_UP, false);
    run(200);
    EXPECT_EQ(standing()[5], 0x01);
}

TEST_F(Coding, LeavingTheBrowserGivesTheBusBackToThePolling)
{
    openLevel1(1);
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BCPM_Codierung_1_Menue");
    EXPECT_EQ(DIS_SlotState(DIS_MSG_CONFIG), SLOT_REQUESTED);
    EXPECT_EQ(DIS_SlotState(DIS_MSG_SOLAR), SLOT_REQUESTED) << "the plant has a solar module";
}

TEST_F(Coding, LevelTwoShowsBareAddressesAndKeepsItsDisplayAroundTheEditor)
{
    openLevel2();
    EXPECT_TRUE(shows("Allgemein"));
    EXPECT_TRUE(shows("Cod.2"));
    answer({GROUP_GENERAL, 0x00, 3, 0, 9});
    EXPECT_TRUE(log.contains("\n InitCodierung 2: != PAR_INIT_CODIERUNG"));
    EXPECT_FALSE(shows("Anlagenschema")) << "level 2 has no address texts";
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCP_EditValue");
    EXPECT_TRUE(log.contains("\n InitEditValue: == PAR_INIT_CODIERUNG"));
    tap(HARDKEY_UP);
    EXPECT_TRUE(MatchesGolden("screens", "bcp_level2_editing.png"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BCP_EditFeedback");
    EXPECT_TRUE(log.contains("\n InitEditFeedback: == PAR_INIT_CODIERUNG"));
    EXPECT_EQ(standing()[3], 228);
    run(4000);
    EXPECT_EQ(state(), "BCP_Codierung_2");
    EXPECT_TRUE(log.contains("\n InitCodierung 2: == PAR_INIT_CODIERUNG"));
    EXPECT_TRUE(shows("4"));
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BCPM_Codierung_2_Menue");
}

TEST_F(Coding, TheLevelTwoSymbolBlinksWhileParametrisingAndStandsWhileCalibrating)
{
    openLevel2();
    tap(HARDKEY_PARAMETRISATION_ON);
    run(1000);
    std::vector<bool> seen;
    for (int i = 0; i < 24; ++i) {
        run(100);
        seen.push_back(countSet(SYMBOL_AREA) > 0);
    }
    int changes = 0;
    for (size_t i = 1; i < seen.size(); ++i)
        changes += seen[i] != seen[i - 1];
    EXPECT_GE(changes, 3) << "on and off in 2.4 s";
    EXPECT_FALSE(shows("Cod.2"));

    tap(HARDKEY_PARAMETRISATION_OFF);
    tap(HARDKEY_CALIBRATION_ON);
    run(1000);
    for (int i = 0; i < 12; ++i) {
        run(100);
        EXPECT_GT(countSet(SYMBOL_AREA), 0) << "steady while calibrating";
    }
    EXPECT_FALSE(shows("Cod.2"));
}

TEST_F(Coding, TheFactorySettingIsSentOnlyWithJa)
{
    tap(HARDKEY_DOWN);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    for (int i = 0; i < 6; ++i)
        tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("Grundeinstellung"));
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCPM_Grundeinstellung");
    EXPECT_TRUE(shows("Aktivieren?"));
    EXPECT_TRUE(shows("Cod.1"));
    EXPECT_TRUE(shows("Nein"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BCPM_Codierung_1_Menue");
    EXPECT_FALSE(queued(229));
    EXPECT_TRUE(shows("Grundeinstellung")) << "back on the line it came from";

    tap(HARDKEY_OK);
    tap(HARDKEY_UP);
    EXPECT_TRUE(shows("Ja"));
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BCPM_Feedback");
    EXPECT_TRUE(shows("Übernommen"));
    const auto command = standing();
    EXPECT_EQ(command[1] >> 3, DIS_MSG_CIRCUIT);
    EXPECT_EQ(command[3], 229);
    EXPECT_EQ(command[4], DIS_BASIC_SETTING_CODINGS);
    run(4000);
    EXPECT_EQ(state(), "BCPM_Codierung_1_Menue");
}

TEST_F(Coding, TheGroupMenuShowsTheGroupsThePlantHas)
{
    tap(HARDKEY_CODING_LEVEL_2);
    for (int i = 0; i < 6; ++i)
        tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("HK2")) << "two circuits: the lines say which" << visibleTexts();

    // Without hot water, without the solar counter lines and with one circuit.
    auto config = DAT_Block(DatBlock::Config);
    config[23] = static_cast<uint8_t>((config[23] & ~0x4C) | 0x00);
    DAT_Block(DatBlock::Solar)[11] = 0;
    run(5000);
    tap(HARDKEY_UP);
    tap(HARDKEY_UP);
    tap(HARDKEY_UP);
    EXPECT_TRUE(shows("Allgemein")) << visibleTexts();
    EXPECT_TRUE(shows("Kessel"));
    EXPECT_FALSE(shows("Warmwasser"));
    EXPECT_FALSE(shows("Solar"));
    EXPECT_FALSE(shows("HK1")) << "one circuit: no mark";
    EXPECT_TRUE(shows("Grundeinstellung"));
}

} // namespace
