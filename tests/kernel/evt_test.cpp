#include <vector>

#include <gtest/gtest.h>

#include "kernel/evt.h"

namespace {

std::vector<Event> seen;

StateHandler lowHandler(Hsm&, const Event& e)
{
    if (e.sig == SIG_EMPTY) return &HSM_Top;
    seen.push_back(e);
    // A priority-1 handler posting to priority 4: served before the next priority-1 event.
    if (e.sig == 200) EVT_Post(4, 201, 0);
    return nullptr;
}

StateHandler highHandler(Hsm&, const Event& e)
{
    if (e.sig == SIG_EMPTY) return &HSM_Top;
    seen.push_back(Event{e.sig, e.par + 1000});
    return nullptr;
}

const State low{"TEST_Low", lowHandler};
const State high{"TEST_High", highHandler};

class EventQueues : public ::testing::Test {
  protected:
    void SetUp() override
    {
        for (uint8_t p = 0; p < PRIO_COUNT; ++p)
            EVT_Construct(p);
        EVT_Machine(1)->state = &low;
        EVT_Machine(4)->state = &high;
        seen.clear();
    }
    void TearDown() override
    {
        for (uint8_t p = 0; p < PRIO_COUNT; ++p)
            EVT_Construct(p);
    }
};

TEST_F(EventQueues, SixteenPostsFitTheSeventeenthIsDropped)
{
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_TRUE(EVT_Post(1, 150, i));
    EXPECT_EQ(EVT_HighWater(1), 16);
    EXPECT_FALSE(EVT_Post(1, 150, 99));
    EXPECT_EQ(EVT_Pending(1), 16);
    EVT_Run();
    ASSERT_EQ(seen.size(), 16u);
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(seen[i].par, i) << "FIFO order";
    EXPECT_EQ(EVT_HighWater(1), 16) << "the mark keeps the largest count";
    EXPECT_EQ(EVT_QueueLength(1), 16);
}

TEST_F(EventQueues, HigherPriorityFirstAndAPostFromAHandlerOvertakes)
{
    EVT_Post(1, 200, 1);
    EVT_Post(1, 202, 2);
    EVT_Post(4, 203, 3);
    EVT_Post(4, 204, 4);
    EVT_Run();
    std::vector<Signal> order;
    for (const Event& e : seen)
        order.push_back(e.sig);
    EXPECT_EQ(order, (std::vector<Signal>{203, 204, 200, 201, 202}));
}

TEST_F(EventQueues, PurgeOfTheKeyRangeKeepsOtherSignalsAndOrder)
{
    EVT_Post(1, SIG_KEY_OK, 0);
    EVT_Post(1, SIG_REFRESH, 0);
    EVT_Post(1, SIG_KEY_DOWN, 0);
    EVT_Purge(1, SIG_KEY_FIRST, SIG_KEY_LAST);
    EXPECT_EQ(EVT_Pending(1), 3) << "purged slots stay queued";
    EVT_Run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].sig, SIG_NONE);
    EXPECT_EQ(seen[1].sig, SIG_REFRESH);
    EXPECT_EQ(seen[2].sig, SIG_NONE);
}

TEST_F(EventQueues, ReadyBitClearsOnlyWithTheLastEvent)
{
    EVT_Post(1, 150, 0);
    EVT_Post(1, 150, 0);
    EXPECT_EQ(EVT_Pending(1), 2);
    EVT_Run();
    EXPECT_EQ(EVT_Pending(1), 0);
    EXPECT_EQ(seen.size(), 2u);
    EVT_Run(); // nothing ready
    EXPECT_EQ(seen.size(), 2u);
}

TEST(Log2Table, SelectsTheHighestReadyPriority)
{
    struct Case {
        uint8_t set;
        int8_t expected;
    };
    for (const Case c : {Case{0, -1}, Case{1, 0}, Case{2, 1}, Case{3, 1}, Case{4, 2}, Case{7, 2},
                         Case{0x2A, 5}, Case{0x80, 7}, Case{0xFF, 7}})
        EXPECT_EQ(EVT_Log2(c.set), c.expected) << int(c.set);
}

TEST_F(EventQueues, PostToAnUnknownPriorityIsRefused)
{
    EXPECT_FALSE(EVT_Post(8, 150, 0));
    EXPECT_EQ(EVT_Machine(8), nullptr);
}

} // namespace
