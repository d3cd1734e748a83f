// What the link reports to its observer: every entry at the moment it is queued (or dropped
// because the queue is full), every received message accepted or rejected.
#include <algorithm>
#include <vector>

#include "data/pool_fixture.h"
#include "support/controller_feed.h"

namespace {

class LinkObserver : public PoolFixture {
  protected:
    void SetUp() override
    {
        PoolFixture::SetUp();
        ControllerFeed::clear(); // the cold start's own commands
    }
    ControllerFeed feed;

    static std::vector<uint8_t> entryAt(uint8_t i, size_t length)
    {
        const std::span<const uint8_t> e = DIS_QueuedEntry(i);
        return {e.begin(), e.begin() + static_cast<long>(length)};
    }
};

TEST_F(LinkObserver, EveryEntryIsReportedWithAllItsBytesAtTheMomentItIsQueued)
{
    DIS_SendDataRequest(DIS_MSG_EXTRA);
    ASSERT_EQ(ControllerFeed::queued().size(), 1u);
    EXPECT_EQ(ControllerFeed::queued()[0].bytes, entryAt(0, DIS_TX_BUILDER_SIZE));
    EXPECT_FALSE(ControllerFeed::queued()[0].dropped);

    DIS_SendCircuitLabel(1, "Wintergarten Süd");
    ASSERT_EQ(ControllerFeed::queued().size(), 3u);
    for (uint8_t i : {1, 2}) {
        EXPECT_EQ(ControllerFeed::queued()[i].bytes, entryAt(i, DIS_LONG_SIZE)) << "long entry";
        EXPECT_EQ(ControllerFeed::queued()[i].bytes[0], 35);
    }
}

TEST_F(LinkObserver, AnEntryForAFullQueueIsReportedAsDropped)
{
    for (uint8_t i = 0; i < DIS_TX_QUEUE_ENTRIES; ++i)
        DIS_SendFaultAck(i);
    ASSERT_EQ(DIS_QueueCount(), DIS_TX_QUEUE_ENTRIES);
    DIS_SendFaultAck(0x55);
    EXPECT_EQ(DIS_QueueCount(), DIS_TX_QUEUE_ENTRIES);
    ASSERT_EQ(ControllerFeed::queued().size(), DIS_TX_QUEUE_ENTRIES + 1u);
    const ControllerFeed::Queued& last = ControllerFeed::queued().back();
    EXPECT_TRUE(last.dropped);
    ASSERT_EQ(last.bytes.size(), DIS_TX_BUILDER_SIZE);
    EXPECT_EQ(last.bytes[3], 235);
    EXPECT_EQ(last.bytes[4], 0x55);
    EXPECT_EQ(std::count_if(ControllerFeed::queued().begin(), ControllerFeed::queued().end(),
                            [](const ControllerFeed::Queued& q) { return q.dropped; }),
              1);
    EXPECT_FALSE(ControllerFeed::sawCommand(235, {0x55})) << "dropped, not queued";
}

TEST_F(LinkObserver, EveryReceivedMessageIsReportedAcceptedOrRejected)
{
    DIS_SendDataRequest(DIS_MSG_EXTRA);
    DIS_SendNext();
    const uint8_t seq = DIS_RequestBuffer()[1] & 7;
    const std::vector<uint8_t> wrongSequence{
        static_cast<uint8_t>(DIS_MSG_EXTRA << 3 | ((seq + 1) & 7)), 0};
    ASSERT_TRUE(BUS_WriteBlock(BUS_MESSAGE_BLOCK, wrongSequence));
    DIS_DispatchReceived();
    ASSERT_TRUE(BUS_Answer(DIS_MSG_EXTRA, 0, std::vector<uint8_t>{0x88, 0x13}));
    DIS_DispatchReceived();
    ASSERT_TRUE(BUS_Answer(DIS_MSG_EXTRA, 0, std::vector<uint8_t>{0x88, 0x13}));
    DIS_DispatchReceived();
    const std::vector<ControllerFeed::Received>& r = ControllerFeed::received();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_FALSE(r[0].accepted) << "another sequence number";
    EXPECT_TRUE(r[1].accepted);
    EXPECT_EQ(r[1].message, DIS_MSG_EXTRA);
    EXPECT_EQ(r[1].circuit, 0);
    EXPECT_FALSE(r[2].accepted) << "the request was answered already";
    EXPECT_EQ(DAT_ReadU32(DatBlock::Extra, 0), 0x1388u);
}

TEST_F(LinkObserver, AFrameWithABadChecksumReachesNoMessageAndNoReport)
{
    DIS_SendDataRequest(DIS_MSG_EXTRA);
    DIS_SendNext();
    std::vector<uint8_t> frame = BUS_BlockFrame(
        BUS_MESSAGE_BLOCK, BUS_AnswerMessage(DIS_MSG_EXTRA, 0, std::vector<uint8_t>{1}));
    frame.back() = static_cast<uint8_t>(frame.back() + 1);
    EXPECT_FALSE(BUS_Write(frame));
    DIS_DispatchReceived();
    EXPECT_TRUE(ControllerFeed::received().empty());
    EXPECT_EQ(DIS_SlotState(DIS_MSG_EXTRA), SLOT_WAITING);
}

} // namespace
