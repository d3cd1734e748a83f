// The emulator on the panel's bus: communication start through the real requests and answers,
// set values that come back after a restart, the bus supervision, and the link left quiet.
#include <fstream>

#include "controller/controller_fixture.h"
#include "display/text.h"
#include "sim/controller/ctl_plant.h"
#include "sim/controller/ctl_state.h"

namespace {

class ControllerBus : public ControllerPanel {};

TEST_F(ControllerBus, CommunicationStartRunsThroughItsRequestsAndAnswers)
{
    startToBasicDisplay();
    run(2000);
    EXPECT_TRUE(linkQuiet()) << "every request answered";
    EXPECT_EQ(DIS_UnknownMessageCount(), 0);
    EXPECT_TRUE(reported("controller 240: panel announced")) << allReports();
    EXPECT_FALSE(log.contains("FATAL"));
    EXPECT_TRUE(DIS_BusActive()) << "the supervision watches the bus";
}

// The progress bar waits 7 s for the controller; the emulator is done well before.
TEST_F(ControllerBus, CommunicationStartEndsWhileTheProgressBarWaits)
{
    start();
    uint32_t ms = 0;
    while (EVT_CurrentState(PRIO_LINK) != &DIS_StartCommunication && ms < 5000)
        run(100), ms += 100;
    const uint32_t begun = panel.now();
    while (EVT_CurrentState(PRIO_LINK) != &DIS_Run && panel.now() < begun + 10000)
        run(100);
    EXPECT_EQ(EVT_CurrentState(PRIO_LINK), &DIS_Run);
    EXPECT_LT(panel.now() - begun, 7000u) << "communication start took too long";
}

TEST_F(ControllerBus, TheControllersOwnValuesReachThePanelAtStart)
{
    StateFolder folder;
    const std::string path = folder.file("controller.state");
    CtlPlant kept = CTL_BuiltInPlant(CONTROLLER_CLOCK);
    kept.system[4] = 40; // contrast
    kept.system[5] = 1;  // English
    kept.circuits[0][CtlCircuit::ROOM_SET] = 23;
    kept.circuits[1][CtlCircuit::SLOPE] = 17;
    kept.times[0][0][2][1] = {96, 108}; // circuit 1, heating, Wednesday, 16:00 to 18:00
    std::string error;
    ASSERT_TRUE(CTL_WriteStateFile(path, kept, error)) << error;

    startToBasicDisplay(path);
    EXPECT_EQ(TXT_GetLanguage(), 1);
    EXPECT_EQ(DAT_GetDisplayContrast(), 40);
    DAT_SelectCircuit(1);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 23);
    DAT_SelectCircuit(2);
    EXPECT_EQ(DAT_GetHeatingCurveSlope(), 17);
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, 2, 1, PhaseEdge::On), 96);
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, 2, 1, PhaseEdge::Off), 108);
    DAT_SelectCircuit(1);
}

TEST_F(ControllerBus, ASetTemperatureComesBackInMessage1AndAfterARestart)
{
    startToBasicDisplay();
    DAT_SelectCircuit(1);
    DIS_SendRoomSetTemp(24);
    run(1000);
    EXPECT_TRUE(reported("controller 205 circuit 1: room set temperature 24")) << allReports();
    // The next message 1 carries the controller's value, not the panel's own copy.
    DAT_SetRoomSetTemp(5);
    DIS_Request(1);
    run(1000);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 24);

    restartPanel();
    run(500);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 20) << "the restart starts from the built-in values";
    run(STARTUP_MS);
    DAT_SelectCircuit(1);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 24) << "and takes the controller's value over";
}

TEST_F(ControllerBus, ASilentControllerEndsInTheError32Restart)
{
    startToBasicDisplay();
    CTL_InjectSilence();
    run(29000);
    EXPECT_FALSE(log.contains("SIG_BED_ERROR_RESET"));
    run(40000);
    EXPECT_TRUE(log.contains("\n*SIG_BED_ERROR_RESET: 32")) << "two time-outs of 30 s";
}

TEST_F(ControllerBus, SwitchedOffTheBusIsInertAgain)
{
    startToBasicDisplay();
    CTL_SetOn(false);
    EXPECT_FALSE(DIS_BusActive());
    DIS_SendRoomSetTemp(22);
    run(70000);
    EXPECT_FALSE(log.contains("SIG_BED_ERROR_RESET")) << "no supervision without a controller";
    EXPECT_FALSE(reported("room set temperature 22"));
    CTL_SetOn(true);
    run(2000);
    EXPECT_TRUE(reported("room set temperature 22")) << "the standing request is taken up";
}

} // namespace
