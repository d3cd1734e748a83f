// The events the emulator raises, as the panel's screens and status processing see them.
#include "controller/controller_fixture.h"
#include "sim/hal/keys.h"

namespace {

class ControllerEvents : public ControllerPanel {};

TEST_F(ControllerEvents, AFaultIsShownFetchedAcknowledgedAndGone)
{
    startToBasicDisplay();
    CTL_InjectFault(0x30);
    run(2000);
    ASSERT_EQ(state(), "BMA_Stoerung");
    tap(HARDKEY_OK);
    run(2000);
    ASSERT_EQ(state(), "BSD_StoerungsdatenMenue") << "the dialog fetched the list";
    EXPECT_TRUE(shows("Kesselsensor"));
    EXPECT_TRUE(shows("30"));
    EXPECT_TRUE(shows("Quittieren mit OK"));
    tap(HARDKEY_HELP);
    EXPECT_TRUE(shows("Der Brenner ist gesperrt")) << "the record's help category";
    tap(HARDKEY_BACK);
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BSD_QuittierungsAbfrage");
    tap(HARDKEY_UP);
    ASSERT_TRUE(shows("Ja"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BSD_QuittierungsFeedback");
    run(2000);
    EXPECT_TRUE(reported("controller 235 circuit 1: 1 fault(s) acknowledged (parameter 85)"))
        << allReports();
    run(10000);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue") << "the fault has gone";
    EXPECT_FALSE(DAT_GetFaultPresent());
    EXPECT_TRUE(shows("Kesseltemperatur"));
    EXPECT_FALSE(shows("---")) << "the boiler sensor reports again";
}

TEST_F(ControllerEvents, ALockOutStaysUntilTheBoilerIsUnlocked)
{
    startToBasicDisplay();
    CTL_InjectLockout();
    run(2000);
    EXPECT_EQ(state(), "BMA_Feuerungsautomat");
    EXPECT_TRUE(DAT_GetFlag(DatFlag::BurnerLockedOut));
    run(600000);
    EXPECT_FALSE(DAT_BurnerOn()) << "no burner while locked out";
    EXPECT_EQ(state(), "BMA_Feuerungsautomat");
    CTL_ClearEvents();
    run(6000);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
    EXPECT_FALSE(DAT_GetFlag(DatFlag::BurnerLockedOut));
}

TEST_F(ControllerEvents, MaintenanceDueIsShownAndAcknowledged)
{
    startToBasicDisplay();
    CTL_InjectMaintenance();
    run(2000);
    EXPECT_EQ(state(), "BMA_Wartung");
    EXPECT_TRUE(DAT_GetMaintenanceDue());
    EXPECT_TRUE(DAT_GetFlag(DatFlag::MaintenanceByHours));
    DIS_SendMaintenanceAck(85);
    run(10000);
    EXPECT_TRUE(reported("242 circuit 1: maintenance message acknowledged")) << allReports();
    EXPECT_FALSE(DAT_GetMaintenanceDue());
    EXPECT_TRUE(DAT_MaintenanceFlagged()) << "the maintenance itself is still due";
}

TEST_F(ControllerEvents, APanelResetRequestRestartsThePanelOnce)
{
    startToBasicDisplay();
    CTL_InjectPanelReset();
    run(2000);
    EXPECT_TRUE(log.contains("\n*SIG_REG_RESET"));
    log.clear();
    panel.start(); // the main task's restart
    run(STARTUP_MS + 30000);
    EXPECT_FALSE(log.contains("*SIG_REG_RESET")) << "one request, one restart";
    EXPECT_EQ(EVT_CurrentState(PRIO_LINK), &DIS_Run);
}

TEST_F(ControllerEvents, WinkAndCommissioningRequestsReachThePanel)
{
    startToBasicDisplay();
    CTL_InjectWink();
    CTL_InjectCommissioning();
    run(2000);
    EXPECT_TRUE(DAT_GetFlag(DatFlag::WinkRequest));
    EXPECT_TRUE(DAT_GetFlag(DatFlag::CommissioningRequired));
    EXPECT_TRUE(DAT_GetFlag(DatFlag::CommissioningPending));
    DIS_SendParticipantCommand(ParticipantCommand::Check, 6, 0);
    run(7000);
    EXPECT_TRUE(reported("243: wink request served")) << allReports();
    EXPECT_FALSE(DAT_GetFlag(DatFlag::WinkRequest));
    CTL_ClearEvents();
    run(7000);
    EXPECT_FALSE(DAT_GetFlag(DatFlag::CommissioningRequired));
}

TEST_F(ControllerEvents, AWinkRequestEndsByItselfAfterAMinute)
{
    startToBasicDisplay();
    CTL_InjectWink();
    run(2000);
    EXPECT_TRUE(DAT_GetFlag(DatFlag::WinkRequest));
    run(80000);
    EXPECT_FALSE(DAT_GetFlag(DatFlag::WinkRequest));
}

} // namespace
