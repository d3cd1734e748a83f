#include <array>
#include <vector>

#include "data/pool_fixture.h"
#include "kernel/dtm.h"

namespace {

// A bus driver that counts what the link asks of it.
struct DriverCalls {
    int changing = 0, changed = 0, raise = 0, stop = 0;
};
DriverCalls calls;
const DIS_BusDriver COUNTING_DRIVER{[] { ++calls.changing; },
                                    [] { ++calls.changed; },
                                    [] { ++calls.raise; },
                                    [] { ++calls.stop; },
                                    [] {},
                                    [] {},
                                    [] {}};

class BusFrames : public PoolFixture {
  protected:
    void SetUp() override
    {
        PoolFixture::SetUp();
        calls = {};
        DIS_SetBusDriver(&COUNTING_DRIVER);
        DIS_LinkFlags() = 0;
    }
    static std::vector<uint8_t> Read(uint8_t command, size_t n, bool acknowledged = true)
    {
        return BUS_ReadBytes(command, n, acknowledged);
    }
};

TEST_F(BusFrames, AMessageWriteIsStoredAndFlaggedOnlyWithTheRightChecksum)
{
    const uint8_t good[] = {0x03, 0x10, 0xA0, 0x01, 0xB1};
    EXPECT_TRUE(BUS_Write(good));
    EXPECT_EQ(DIS_RxMessageBuffer()[0], 0xA0);
    EXPECT_EQ(DIS_RxMessageBuffer()[1], 0x01);
    EXPECT_EQ(DIS_RxMessageBuffer()[2], 0x00) << "the block is zero-filled at its block number";
    EXPECT_EQ(DIS_LinkFlags(), DIS_FLAG_MESSAGE_RECEIVED);

    DIS_LinkFlags() = 0;
    const uint8_t bad[] = {0x03, 0x10, 0xA0, 0x01, 0xB2};
    EXPECT_FALSE(BUS_Write(bad)) << "the checksum byte is not acknowledged";
    EXPECT_EQ(DIS_LinkFlags(), 0);
    EXPECT_EQ(DIS_RxMessageBuffer()[0], 0xA0) << "the data stay, nothing is flagged";
}

TEST_F(BusFrames, EveryByteAfterTheChecksumIsComparedAgain)
{
    const uint8_t frame[] = {0x02, 0x1C, 0x05, 0x21, 0x22, 0x21};
    DIS_OnAddressed(BusDirection::Write);
    std::vector<bool> acks;
    for (uint8_t b : frame)
        acks.push_back(DIS_OnByteReceived(b));
    EXPECT_EQ(acks, (std::vector<bool>{true, true, true, true, false, true}));
    EXPECT_EQ(DIS_LinkFlags(), DIS_FLAG_STATUS_RECEIVED);
    EXPECT_EQ(DIS_StatusBuffer()[0], 0x05);
}

TEST_F(BusFrames, AnUnknownBlockIsSummedButStoresAndFlagsNothing)
{
    const uint8_t message[] = {0x03, 0x10, 0xA0, 0x01, 0xB1};
    BUS_Write(message);
    DIS_LinkFlags() = 0;
    for (uint8_t block : {uint8_t{0x0F}, uint8_t{0x24}, uint8_t{0x00}, uint8_t{0xFF}}) {
        const uint8_t unknown[] = {0x03, block, 0x55, 0x66,
                                   static_cast<uint8_t>(block + 0x55 + 0x66)};
        EXPECT_TRUE(BUS_Write(unknown)) << int(block);
        EXPECT_EQ(DIS_LinkFlags(), 0)
            << "not even the previous block's action, block " << int(block);
    }
    EXPECT_EQ(DIS_RxMessageBuffer()[0], 0xA0);
}

TEST_F(BusFrames, BytesBeyondABlockAreCountedNotStored)
{
    DIS_StatusBuffer()[5] = 0x77;
    // Block 24, the change mask, holds two bytes; all four data bytes are summed.
    const uint8_t frame[] = {0x05, 0x18, 0x09, 0x80, 0x33, 0x44, 0x18};
    EXPECT_TRUE(BUS_Write(frame));
    EXPECT_EQ(DIS_ChangeMask(), 0x8009);
    EXPECT_EQ(DIS_StatusBuffer()[5], 0x77);
    DIS_ChangeMaskToRequests();
    EXPECT_EQ(DIS_ChangeMask(), 0) << "taken and cleared";
    EXPECT_EQ(DIS_SlotState(0), SLOT_REQUESTED);
    EXPECT_EQ(DIS_SlotState(3), SLOT_REQUESTED);
    EXPECT_EQ(DIS_SlotState(DIS_CircuitSlot(0, 1)), SLOT_REQUESTED);
    EXPECT_EQ(DIS_SlotState(DIS_CircuitSlot(0, 2)), SLOT_REQUESTED);
    EXPECT_EQ(DIS_SlotState(1), SLOT_IDLE);
    EXPECT_EQ(DIS_SlotState(15), SLOT_IDLE) << "bit 15 is no message";
}

TEST_F(BusFrames, IdentificationRead)
{
    EXPECT_EQ(Read(0x40, 8),
              (std::vector<uint8_t>{0x04, 0x11, 0x21, 0x00, 0x01, 0x37, 0x37, 0x37}));
    EXPECT_EQ(Read(0x7F, 6), (std::vector<uint8_t>{0x04, 0x11, 0x21, 0x00, 0x01, 0x37}));
}

TEST_F(BusFrames, ReadOfTheArmedResponse)
{
    const uint8_t response[9] = {20, 0x11, 1, 231, 0, 0, 0, 0, 200};
    DIS_ArmResponse(response, 9);
    EXPECT_EQ(calls.changing, 1);
    EXPECT_EQ(calls.changed, 1);
    EXPECT_EQ(calls.raise, 1);
    const uint8_t sum = static_cast<uint8_t>(9 + 20 + 0x11 + 1 + 231 + 200);
    EXPECT_EQ(Read(0x00, 12),
              (std::vector<uint8_t>{9, 20, 0x11, 1, 231, 0, 0, 0, 0, 200, sum, sum}));
    EXPECT_EQ(calls.stop, 1);
    EXPECT_EQ(Read(0x00, 2), (std::vector<uint8_t>{0, 0})) << "acknowledged: nothing pending";
}

TEST_F(BusFrames, AnUnacknowledgedReadRaisesAttentionEightTimesMore)
{
    const uint8_t response[2] = {1, 2};
    DIS_ArmResponse(response, 2);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Read(0x3F, 4, false), (std::vector<uint8_t>{2, 1, 2, 5}));
    EXPECT_EQ(calls.raise, 1 + 8);
    Read(0x40, 6, false);
    EXPECT_EQ(calls.raise, 9) << "an identification read does not answer the attention";
}

TEST_F(BusFrames, AReadAfterMoreOrFewerThanOneWrittenByteIsEmpty)
{
    const uint8_t response[2] = {1, 2};
    DIS_ArmResponse(response, 2);
    const uint8_t two[] = {0x00, 0x00};
    BUS_Write(two);
    std::array<uint8_t, 3> out{};
    DIS_OnAddressed(BusDirection::Read);
    for (uint8_t& b : out)
        b = DIS_OnByteToSend();
    EXPECT_EQ(out, (std::array<uint8_t, 3>{0, 0, 0}));
    DIS_OnAddressed(BusDirection::Read); // no write at all before it
    EXPECT_EQ(DIS_OnByteToSend(), 0);
    EXPECT_EQ(Read(0x80, 2), (std::vector<uint8_t>{0, 0})) << "command bytes from 0x80 on";
    EXPECT_EQ(Read(0x00, 4), (std::vector<uint8_t>{2, 1, 2, 5}))
        << "the armed response is still there";
}

TEST_F(BusFrames, ATransferStartNotesTheTimeAndClearsTheResetCount)
{
    DIS_CountBusReset();
    EXPECT_EQ(DIS_BusResetCount(), 1);
    DIS_OnAddressed(BusDirection::Write);
    EXPECT_EQ(DIS_BusResetCount(), 0);
    EXPECT_EQ(DIS_LastTransferTime(), DTM_Ms100Count());
}

} // namespace
