// The reset of a heating circuit to its basic setting, through the circuit selection.
#include "data/timeprog.h"
#include "link/dis_task.h"
#include "screens/bhkg.h"
#include "screens/bhkm.h"
#include "screens/bhkw.h"
#include "screens/screen_fixture.h"
#include "screens/sent_commands.h"
#include "sim/hal/keys.h"
#include "widgets/screen.h"

namespace {

constexpr uint8_t SET_OF_CIRCUIT_2 = 1;

class CircuitReset : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        UI_Open(machine(), &BHKM_HKMenue); // stands in for the settings menu
        DIS_InitLink();
        UI_Open(machine(), &BHKW_HKWahl);
        EVT_Send(&machine(), SIG_SET_NEXT_STATE, HSM_StateToPar(&BHKG_HKGrundeinstellung));
    }
    static Hsm& machine() { return *EVT_Machine(PRIO_UI); }
    // Circuit 2 away from its basic setting in every value the reset covers.
    static void changeCircuit2()
    {
        DAT_SelectCircuit(2);
        DAT_SetHeatingCurveSlope(20);
        DAT_SetHeatingCurveLevel(-4);
        DAT_SetOperatingProgram(5);
        DAT_SetRoomSetTemp(23);
        DAT_SetRoomSetTempReduced(12);
        DAT_SetPartyMode(true);
        DAT_SetEconomyMode(true);
        DAT_SetHolidayStart(1767571200);
        for (uint8_t day = 0; day < TP_DAYS; ++day)
            for (TimeProgram p : {TimeProgram::Heating, TimeProgram::Dhw})
                DAT_SetSwitchingTime(SET_OF_CIRCUIT_2, p, day, 1, PhaseEdge::On, 100);
        DAT_SelectCircuit(1);
    }
};

TEST_F(CircuitReset, TheSelectionAnnouncesTheResetAndNeinChangesNothing)
{
    ASSERT_EQ(state(), "BHKW_HKWahl");
    EXPECT_TRUE(shows("Grundeinstellung")) << visibleTexts();
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BHKG_HKGrundeinstellung");
    EXPECT_TRUE(shows("Erdgeschoss"));
    EXPECT_TRUE(shows("HK1"));
    EXPECT_TRUE(shows("Grundeinstellung"));
    EXPECT_TRUE(shows("Nein"));
    EXPECT_TRUE(shows("Wählen mit"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BHKW_HKWahl");
    tap(HARDKEY_OK);
    tap(HARDKEY_UP);
    EXPECT_TRUE(shows("Ja"));
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BHKW_HKWahl");
    EXPECT_EQ(SentCommands(), "");
}

TEST_F(CircuitReset, JaResetsTheChosenCircuitInOrderAndKeepsItsHotWaterPrograms)
{
    changeCircuit2();
    // The link as it runs once the controller has answered its start-up.
    HSM_Tran(*EVT_Machine(PRIO_LINK), &DIS_I2C_Task, &DIS_Run);
    tap(HARDKEY_DOWN);
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BHKG_HKGrundeinstellung");
    EXPECT_TRUE(shows("Obergeschoss"));
    EXPECT_TRUE(shows("HK2"));
    tap(HARDKEY_RIGHT);
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BHKG_Feedback");
    EXPECT_TRUE(shows("Ja"));
    EXPECT_TRUE(shows("Übernommen"));

    EXPECT_EQ(SentCommands(), "229/1@2 229/3@2 219/0@2 210/14@2 211/0@2 202/0@2 221/0@2 "
                              "205/20@2 206/3@2 204/0@2 221/0@2");
    EXPECT_EQ(DIS_SlotState(DIS_MSG_CONFIG), SLOT_REQUESTED)
        << "the link polls everything at once, not only the days of the heating program";
    EXPECT_EQ(DAT_GetSelectedCircuit(), 2);
    EXPECT_EQ(DAT_GetHeatingCurveSlope(), 14);
    EXPECT_EQ(DAT_GetHeatingCurveLevel(), 0);
    EXPECT_EQ(DAT_GetOperatingProgram(), 3);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 20);
    EXPECT_EQ(DAT_GetRoomSetTempReduced(), 3);
    EXPECT_FALSE(DAT_GetPartyMode());
    EXPECT_FALSE(DAT_GetEconomyMode());
    EXPECT_EQ(DAT_GetHolidayStart(), 0u);
    for (uint8_t day = 0; day < TP_DAYS; ++day) {
        const auto heating = [&](uint8_t phase, PhaseEdge edge) {
            return DAT_GetSwitchingTime(SET_OF_CIRCUIT_2, TimeProgram::Heating, day, phase, edge);
        };
        EXPECT_EQ(heating(0, PhaseEdge::On), 36) << "06:00";
        EXPECT_EQ(heating(0, PhaseEdge::Off), 132) << "22:00";
        EXPECT_EQ(heating(1, PhaseEdge::On), TP_UNUSED);
        EXPECT_EQ(DAT_GetSwitchingTime(SET_OF_CIRCUIT_2, TimeProgram::Dhw, day, 1, PhaseEdge::On),
                  100)
            << "the hot-water program stays";
    }
    // Circuit 1 keeps its values.
    DAT_SelectCircuit(1);
    EXPECT_EQ(DAT_GetRoomSetTempReduced(), 3);
    EXPECT_EQ(DAT_GetHeatingCurveSlope(), 14);
    DAT_SelectCircuit(2);

    run(4100);
    EXPECT_EQ(state(), "BHKW_HKWahl");
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BHKM_HKMenue");
}

} // namespace
