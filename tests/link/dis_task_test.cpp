#include <set>
#include <vector>

#include "data/pool_fixture.h"
#include "display/flash.h"
#include "display/lcd.h"
#include "kernel/dtm.h"
#include "link/dis_task.h"
#include "sim/hal/cpu_timer.h"
#include "sim/hal/ticks.h"

namespace {

// The link task at priority 5, with recorders at the priorities it posts to.
class LinkTask : public PoolFixture {
  protected:
    void SetUp() override
    {
        PoolFixture::SetUp();
        EVT_Construct(PRIO_LINK);
        HSM_Start(PRIO_LINK, &DIS_I2C_Task, 1);
        EVT_Run();
        PostedEvents().clear();
    }

    static void post(Signal sig, uint32_t par = 0)
    {
        EVT_Post(PRIO_LINK, sig, par);
        EVT_Run();
    }

    // Message numbers of the data requests (command 231) waiting in the transmit queue.
    static std::vector<uint8_t> queuedRequests()
    {
        std::vector<uint8_t> out;
        for (uint8_t i = 0; i < DIS_QueueCount(); ++i) {
            const auto entry = DIS_QueuedEntry(i);
            if (entry[3] == 231) out.push_back(static_cast<uint8_t>(entry[1] >> 3));
        }
        return out;
    }
    static std::set<uint8_t> requestedSlots()
    {
        std::set<uint8_t> out;
        for (uint8_t s = 0; s < DIS_SLOTS; ++s)
            if (DIS_SlotState(s) == SLOT_REQUESTED) out.insert(s);
        return out;
    }
    static StateHandler state() { return EVT_CurrentState(PRIO_LINK); }
};

TEST_F(LinkTask, WaitsForTheStartSignalAndIgnoresTheTicksMeanwhile)
{
    EXPECT_EQ(state(), &DIS_I2C_Task);
    post(SIG_TICK_30S);
    post(SIG_TICK_60S);
    EXPECT_TRUE(requestedSlots().empty());
    EXPECT_EQ(DIS_QueueCount(), 0);
}

TEST_F(LinkTask, StartUpAnnouncesThePanelAndRequestsWhatTheScreensNeed)
{
    post(SIG_LINK_START);
    EXPECT_EQ(state(), &DIS_StartCommunication);
    EXPECT_NE(DIS_SlotState(10), SLOT_IDLE) << "message 10 is requested";
    ASSERT_EQ(DIS_QueueCount(), 1);
    EXPECT_EQ(DIS_QueuedEntry(0)[3], 240) << "the announcement";

    post(SIG_RX_MSG10);
    // Label part 1, messages 2, 1, 0 per present circuit (two), solar 17, 24, 26, then 15, 22.
    EXPECT_EQ(queuedRequests(), (std::vector<uint8_t>{25, 2, 2, 1, 1, 0, 0, 17, 24, 26, 15, 22}));
    for (uint8_t slot = 3; slot <= 9; ++slot)
        EXPECT_EQ(DIS_SlotState(slot), SLOT_REQUESTED);
}

TEST_F(LinkTask, WithoutSolarModuleTheSolarMessagesAreNeverRequested)
{
    DAT_Block(DatBlock::Config)[23] &= 0x7F;
    post(SIG_LINK_START);
    post(SIG_RX_MSG10);
    for (uint8_t m : queuedRequests())
        EXPECT_TRUE(m != 17 && m != 24 && m != 26) << int(m);
    post(SIG_RX_TP_DAY7);
    DIS_CancelRequests();
    post(SIG_TICK_30S);
    post(SIG_LINK_POLL_NOW);
    for (uint8_t s : {17, 24, 26})
        EXPECT_NE(DIS_SlotState(s), SLOT_REQUESTED) << int(s);
}

TEST_F(LinkTask, TheLastTimeProgramDayEndsTheStartUp)
{
    post(SIG_LINK_START);
    post(SIG_RX_MSG10);
    DAT_SetDisplayContrast(255); // the controller has no contrast of its own
    DAT_SetBrightnessOperation(255);
    post(SIG_RX_TP_DAY7);
    EXPECT_EQ(state(), &DIS_Run);
    EXPECT_EQ(Count(PRIO_UI, SIG_LINK_STARTED), 1u);
    EXPECT_EQ(DAT_GetDisplayContrast(), FLS_GetContrastSetting());
    EXPECT_EQ(lcd_getContrast(), FLS_GetContrastSetting());
    EXPECT_EQ(DAT_GetBrightnessOperation(), FLS_GetOperatingBacklight());
    bool contrastSent = false, brightnessSent = false;
    for (uint8_t i = 0; i < DIS_QueueCount(); ++i) {
        contrastSent |= DIS_QueuedEntry(i)[3] == 234;
        brightnessSent |= DIS_QueuedEntry(i)[3] == 252 && DIS_QueuedEntry(i)[4] == 1;
    }
    EXPECT_TRUE(contrastSent);
    EXPECT_TRUE(brightnessSent);
}

TEST_F(LinkTask, PollingOffStopsTheCyclicRequestsButPollNowStillAsks)
{
    post(SIG_LINK_START);
    post(SIG_RX_TP_DAY7);
    DIS_CancelRequests();
    post(SIG_TICK_60S);
    EXPECT_EQ(requestedSlots().count(15), 1u) << "the 60 s requests";
    DIS_CancelRequests();
    post(SIG_LINK_POLL_OFF);
    post(SIG_TICK_60S);
    post(SIG_TICK_30S);
    EXPECT_TRUE(requestedSlots().empty());
    post(SIG_LINK_POLL_NOW);
    for (uint8_t s : {1, 2, 0, 10, 15, 22, 25, 17, 24, 26})
        EXPECT_EQ(requestedSlots().count(s), 1u) << int(s);
    post(SIG_LINK_POLL_ON);
    EXPECT_TRUE(DIS_PollingEnabled());
}

// A bus driver that arms the supervision whenever it is started, as a real one does when its
// transfer sequence begins.
void noOperation() {}
void armSupervision() { DIS_SetBusActive(true); }
constexpr DIS_BusDriver supervisedBus{noOperation, noOperation,    noOperation, noOperation,
                                      noOperation, armSupervision, noOperation};

TEST_F(LinkTask, TwoBusTimeOutsInARowRestartThePanel)
{
    DIS_SetBusDriver(&supervisedBus);
    post(SIG_LINK_START);
    EXPECT_TRUE(DIS_BusActive());
    // 30 s without a transfer start; the idle loop keeps dispatching meanwhile.
    auto silence = [] {
        for (int i = 0; i < 301; ++i) {
            SIM_FireTick(SIM_Tick::Ms100);
            EVT_Run();
        }
    };
    tim_enableTimer100ms();
    silence();
    post(SIG_TICK_1S);
    EXPECT_EQ(Count(PRIO_UI, SIG_BED_ERROR_RESET), 0u) << "the first time-out only resets the bus";
    EXPECT_EQ(DIS_BusResetCount(), 1);

    // A transfer in between clears the count: the next time-out is a first one again.
    DIS_OnAddressed(BusDirection::Write);
    silence();
    post(SIG_TICK_1S);
    EXPECT_EQ(Count(PRIO_UI, SIG_BED_ERROR_RESET), 0u);

    silence();
    post(SIG_TICK_1S);
    ASSERT_EQ(Count(PRIO_UI, SIG_BED_ERROR_RESET), 1u);
    for (const Posted& p : Dispatched()) {
        if (p.sig == SIG_BED_ERROR_RESET) {
            EXPECT_EQ(p.par, 32u);
        }
    }
    tim_disableTimer100ms();
}

TEST_F(LinkTask, TheStopSignalDisarmsTheSupervision)
{
    post(SIG_LINK_START);
    DIS_SetBusActive(true);
    post(SIG_LINK_STOP);
    EXPECT_FALSE(DIS_BusActive());
}

} // namespace
