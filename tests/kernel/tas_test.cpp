#include <vector>

#include <gtest/gtest.h>

#include "kernel/tas.h"
#include "support/panel_harness.h"

namespace {

// Key signals as the user interface receives them, with the time since the first of them.
struct KeyEvent {
    Signal sig;
    uint32_t par;
    int64_t at;
};

class KeyTask : public ::testing::Test {
  protected:
    void SetUp() override
    {
        APP_Persistent().startMagic = 0;
        panel.start();
        panel.run(200);
        PanelHarness::recorded().clear();
    }

    std::vector<KeyEvent> keys() const
    {
        std::vector<KeyEvent> out;
        for (const RecordedEvent& e : PanelHarness::recorded())
            if (e.sig >= SIG_KEY_FIRST && e.sig <= SIG_KEY_LAST)
                out.push_back({e.sig, e.par, int64_t(e.at)});
        const int64_t first = out.empty() ? 0 : out.front().at;
        for (KeyEvent& e : out)
            e.at -= first;
        return out;
    }

    static std::vector<Signal> signals(const std::vector<KeyEvent>& events)
    {
        std::vector<Signal> out;
        for (const KeyEvent& e : events)
            out.push_back(e.sig);
        return out;
    }

    void hold(int hardkey, uint32_t ms)
    {
        SIM_HardkeyEvent(hardkey, true);
        panel.run(ms);
        SIM_HardkeyEvent(hardkey, false);
        panel.run(300);
    }

    PanelHarness panel;
};

TEST_F(KeyTask, HoldingUpRepeatsAfter800msThenEvery400ms)
{
    hold(HARDKEY_UP, 2100);
    const auto events = keys();
    std::vector<uint32_t> counts;
    std::vector<int64_t> times;
    for (const KeyEvent& e : events)
        if (e.sig == SIG_KEY_UP) {
            counts.push_back(e.par);
            times.push_back(e.at);
        }
    EXPECT_EQ(counts, (std::vector<uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(times, (std::vector<int64_t>{0, 800, 1200, 1600, 2000}));
    const std::vector<Signal> all = signals(events);
    EXPECT_EQ(std::vector<Signal>(all.end() - 2, all.end()),
              (std::vector<Signal>{SIG_KEY_ANY_REL, SIG_KEY_UP_REL}));
    // Every press is preceded by SIG_KEY_ANY with the same count.
    for (size_t i = 1; i < events.size(); ++i)
        if (events[i].sig == SIG_KEY_UP) {
            EXPECT_EQ(events[i - 1].sig, SIG_KEY_ANY);
            EXPECT_EQ(events[i - 1].par, events[i].par);
        }
}

TEST_F(KeyTask, HoldingOkGivesOnePressAndNothingAfterFourSeconds)
{
    hold(HARDKEY_OK, 4500);
    EXPECT_EQ(signals(keys()),
              (std::vector<Signal>{SIG_KEY_ANY, SIG_KEY_OK, SIG_KEY_ANY_REL, SIG_KEY_OK_REL}));
}

TEST_F(KeyTask, MenuAndOkReleasedAfterThreeSecondsGiveOnlyTheRelease)
{
    hold(HARDKEY_FIRST_COMBINATION + 2, 3000); // Menu + OK
    EXPECT_EQ(signals(keys()), (std::vector<Signal>{SIG_KEY_ANY_REL, SIG_KEY_MENU_OK_REL}));
}

TEST_F(KeyTask, MenuThenAddingOkGivesMenuAtOnceAndTheCombinationAfterFourSeconds)
{
    KEY_SetPattern(KEY_PATTERN_MENU);
    panel.run(500);
    KEY_SetPattern(KEY_PATTERN_MENU | KEY_PATTERN_OK);
    panel.run(3800);
    EXPECT_EQ(signals(keys()), (std::vector<Signal>{SIG_KEY_ANY, SIG_KEY_MENU}));
    panel.run(400);
    const auto events = keys();
    ASSERT_EQ(signals(events),
              (std::vector<Signal>{SIG_KEY_ANY, SIG_KEY_MENU, SIG_KEY_ANY, SIG_KEY_MENU_OK}));
    KEY_SetPattern(KEY_PATTERN_MENU); // OK released first: ignored while the combination is held
    panel.run(300);
    EXPECT_EQ(keys().size(), 4u);
    KEY_SetPattern(0);
    panel.run(300);
    EXPECT_EQ(signals(keys()).back(), SIG_KEY_MENU_OK_REL);
}

TEST_F(KeyTask, APatternSeenInOneScanOnlyIsABounce)
{
    SIM_Delay(10);
    KEY_SetPattern(KEY_PATTERN_OK); // seen by the scan at +20 only
    SIM_Delay(20);
    KEY_SetPattern(0);
    panel.run(500);
    EXPECT_TRUE(keys().empty());
}

TEST_F(KeyTask, AShortClickBeforeTheNextDispatchKeepsItsKey)
{
    SIM_HardkeyEvent(HARDKEY_OK, true);
    SIM_Delay(50); // pressed and released before the idle loop dispatches
    SIM_HardkeyEvent(HARDKEY_OK, false);
    panel.run(300);
    EXPECT_EQ(signals(keys()),
              (std::vector<Signal>{SIG_KEY_ANY, SIG_KEY_OK, SIG_KEY_ANY_REL, SIG_KEY_OK_REL}));
}

TEST_F(KeyTask, ChangingDirectlyToAnotherKeyPressesTheNewKey)
{
    SIM_HardkeyEvent(HARDKEY_UP, true);
    panel.run(300);
    SIM_HardkeyEvent(HARDKEY_DOWN, true); // no release in between
    panel.run(300);
    SIM_HardkeyEvent(HARDKEY_DOWN, false);
    panel.run(300);
    EXPECT_EQ(signals(keys()),
              (std::vector<Signal>{SIG_KEY_ANY, SIG_KEY_UP, SIG_KEY_ANY, SIG_KEY_DOWN,
                                   SIG_KEY_ANY_REL, SIG_KEY_DOWN_REL}));
    for (const KeyEvent& e : keys()) {
        if (e.sig == SIG_KEY_DOWN) {
            EXPECT_EQ(e.par, 0u) << "each press counts from 0";
        }
    }
}

TEST_F(KeyTask, AccelerationShortensTheRepeatUntilTheFastRate)
{
    EVT_Post(PRIO_KEYS, SIG_KEY_ACCEL, 15);
    EVT_Run();
    hold(HARDKEY_RIGHT, 12000);
    const auto events = keys();
    std::vector<int64_t> times;
    for (const KeyEvent& e : events)
        if (e.sig == SIG_KEY_RIGHT) times.push_back(e.at);
    ASSERT_GT(times.size(), 20u);
    // 800 ms, 400 ms, then about 240/255 of the previous delay each time, down to 100 ms
    // (seen through the 100 ms dispatch rhythm of the idle loop).
    EXPECT_EQ(times[1], 800);
    EXPECT_EQ(times[2] - times[1], 400);
    int64_t previous = 400;
    for (size_t i = 3; i < times.size(); ++i) {
        EXPECT_LE(times[i] - times[i - 1], previous) << "repeat " << i;
        previous = times[i] - times[i - 1];
    }
    EXPECT_EQ(previous, 100);
    size_t fast = 0;
    for (const KeyEvent& e : events)
        if (e.sig == SIG_KEY_FAST) {
            ++fast;
            EXPECT_EQ(e.par, 10u);
        }
    EXPECT_EQ(fast, 1u);
}

TEST_F(KeyTask, FlushRemovesQueuedKeySignalsButNotTimers)
{
    EVT_Post(PRIO_UI, SIG_KEY_OK);
    EVT_Post(PRIO_UI, SIG_REFRESH);
    EVT_Post(PRIO_KEYS, SIG_KEY_FLUSH);
    EVT_Run();
    EXPECT_TRUE(PanelHarness::only({SIG_KEY_OK}).empty());
    EXPECT_EQ(PanelHarness::only({SIG_REFRESH}).size(), 1u);
}

TEST(KeyPatterns, MapToKeyIndices)
{
    EXPECT_EQ(TAS_KeyOfPattern(0), KEY_NONE);
    EXPECT_EQ(TAS_KeyOfPattern(0x08), KEY_UP);
    EXPECT_EQ(TAS_KeyOfPattern(0xA0), KEY_MENU_OK);
    EXPECT_EQ(TAS_KeyOfPattern(0x21), KEY_OK_BACK);
    EXPECT_EQ(TAS_KeyOfPattern(0x07), KEY_INVALID) << "three keys at once";
}

} // namespace
