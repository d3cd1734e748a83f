// The bus master's transfers that scripts and tests play: frames with their length and
// checksum, answers carrying the standing request's sequence number, reads acknowledged when
// correctly summed.
#include <vector>

#include "data/pool_fixture.h"

namespace {

class BusMaster : public PoolFixture {};

TEST_F(BusMaster, AFrameCountsBlockAndDataAndSumsThemWithoutTheCount)
{
    const std::vector<uint8_t> data{0xA0, 0x01};
    EXPECT_EQ(BUS_BlockFrame(16, data), (std::vector<uint8_t>{0x03, 0x10, 0xA0, 0x01, 0xB1}));
    EXPECT_EQ(BUS_BlockFrame(0xF0, std::vector<uint8_t>{0x20}),
              (std::vector<uint8_t>{0x02, 0xF0, 0x20, 0x10}))
        << "the sum wraps";
    const std::vector<uint8_t> tooLong(300, 1);
    const std::vector<uint8_t> frame = BUS_BlockFrame(16, tooLong);
    EXPECT_EQ(frame.size(), BUS_MAX_BLOCK_DATA + 3);
    EXPECT_EQ(frame[0], 255) << "the count byte holds block number and 254 bytes";
}

TEST_F(BusMaster, AnAnswerCarriesTheSequenceNumberOfTheStandingRequest)
{
    DIS_SendDataRequest(DIS_MSG_EXTRA);
    DIS_SendNext();
    const uint8_t seq = DIS_RequestBuffer()[1] & 7;
    const std::vector<uint8_t> m =
        BUS_AnswerMessage(DIS_MSG_EXTRA, 0, std::vector<uint8_t>{0x88, 0x13});
    EXPECT_EQ(
        m, (std::vector<uint8_t>{static_cast<uint8_t>(DIS_MSG_EXTRA << 3 | seq), 0, 0x88, 0x13}));
    EXPECT_TRUE(BUS_Answer(DIS_MSG_EXTRA, 0, std::vector<uint8_t>{0x88, 0x13}));
    DIS_DispatchReceived();
    EXPECT_EQ(DAT_ReadU32(DatBlock::Extra, 0), 0x1388u);
    EXPECT_EQ(DIS_SlotState(DIS_MSG_EXTRA), SLOT_IDLE);
}

TEST_F(BusMaster, AReadReturnsLengthBytesAndChecksumAndAcknowledgesThem)
{
    EXPECT_EQ(BUS_Read(0x40), (std::vector<uint8_t>{0x04, 0x11, 0x21, 0x00, 0x01, 0x37}));
    EXPECT_EQ(BUS_Read(0x00), (std::vector<uint8_t>{0x00, 0x00})) << "nothing armed";

    DIS_SendDataRequest(DIS_MSG_EXTRA);
    DIS_SendNext();
    const std::vector<uint8_t> read = BUS_Read(0x00);
    ASSERT_EQ(read.size(), DIS_REQUEST_SIZE + 2);
    EXPECT_EQ(read[0], DIS_REQUEST_SIZE);
    EXPECT_EQ(read[1], DIS_OWN_BLOCK);
    EXPECT_EQ(read[4], 231);
    EXPECT_TRUE(BUS_ReadIsGood(read));
    EXPECT_EQ(BUS_Read(0x00), (std::vector<uint8_t>{0x00, 0x00}))
        << "acknowledged: the panel offers it no more";

    std::vector<uint8_t> bad = read;
    bad.back() = static_cast<uint8_t>(bad.back() + 1);
    EXPECT_FALSE(BUS_ReadIsGood(bad));
    EXPECT_FALSE(BUS_ReadIsGood(std::vector<uint8_t>(read.begin(), read.end() - 1)));
}

} // namespace
