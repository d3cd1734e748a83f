#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "data/pool_fixture.h"
#include "display/text.h"

namespace {

std::vector<uint8_t> Filled(size_t n, uint8_t first)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(first + i);
    return v;
}

class Messages : public PoolFixture {
  protected:
    // Requests a message, sends the request and answers it with the body (bytes from 1 on).
    static void RequestAndAnswer(uint8_t message, const std::vector<uint8_t>& body,
                                 uint8_t part = 0)
    {
        DIS_SendDataRequest(message, part);
        DIS_SendNext();
        Answer(message, body);
    }
};

TEST_F(Messages, SequenceNumbersRunOneToSevenAndWrapToOne)
{
    std::vector<uint8_t> sequences;
    for (int i = 0; i < 9; ++i) {
        DIS_SendDataRequest(10);
        sequences.push_back(DIS_QueuedEntry(static_cast<uint8_t>(i))[1] & 7);
    }
    EXPECT_EQ(sequences, (std::vector<uint8_t>{2, 3, 4, 5, 6, 7, 1, 2, 3}));
    EXPECT_EQ(DIS_SlotState(10), SLOT_QUEUED + 8) << "each further copy adds one";
}

TEST_F(Messages, ARequestTravelsThroughItsSlotStates)
{
    DIS_Request(17);
    EXPECT_EQ(DIS_SlotState(17), SLOT_REQUESTED);
    DIS_Service();
    EXPECT_EQ(DIS_SlotState(17), SLOT_WAITING) << "queued and sent in one service";
    EXPECT_EQ(Standing(), (std::pair<uint8_t, uint8_t>{17, 0}));
    EXPECT_EQ(DIS_RequestBuffer()[3], 231);

    Answer(17, Filled(26, 1));
    EXPECT_EQ(DIS_SlotState(17), SLOT_IDLE);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Solar, 0), 2) << "message byte 2 is block byte 0";
    EXPECT_EQ(DAT_ReadByte(DatBlock::Solar, 24), 26);
    // The link's queue is served first.
    EXPECT_EQ(Dispatched(), (std::vector<Posted>{{PRIO_LINK, SIG_RX_MSG17, 0},
                                                 {PRIO_UI, SIG_LINK_ANSWER, 0},
                                                 {PRIO_UI, SIG_RX_MSG17, 0}}));
}

TEST_F(Messages, TheSchedulerTakesSlotsInPriorityOrderWhileFewerThanThreeWait)
{
    for (uint8_t slot : {25, 17, 3, 10, 22})
        DIS_Request(slot);
    std::vector<uint8_t> order;
    for (int i = 0; i < 5; ++i) {
        DIS_ScheduleNext();
        if (DIS_QueueCount() > static_cast<uint8_t>(order.size()))
            order.push_back(
                static_cast<uint8_t>(DIS_QueuedEntry(static_cast<uint8_t>(order.size()))[1] >> 3));
    }
    EXPECT_EQ(order, (std::vector<uint8_t>{10, 22, 3})) << "three waiting stop the scheduler";
    DIS_SendNext();
    DIS_ScheduleNext();
    EXPECT_EQ(DIS_QueuedEntry(2)[1] >> 3, 17);
}

TEST_F(Messages, AMessageIsAcceptedOnlyAsTheAnswerToTheStandingRequest)
{
    DIS_SendDataRequest(24);
    DIS_SendNext();
    const uint8_t seq = DIS_RequestBuffer()[1] & 7;
    struct Case {
        std::vector<uint8_t> message;
        const char* why;
    };
    const Case rejected[] = {
        {{static_cast<uint8_t>(24 << 3 | ((seq + 1) & 7)), 0}, "another sequence number"},
        {{static_cast<uint8_t>(26 << 3 | seq), 0}, "a message nobody waits for"},
        {{static_cast<uint8_t>(27 << 3 | seq), 0}, "message 27"},
        {{static_cast<uint8_t>(24 << 3 | seq), 3}, "circuit 3"},
    };
    for (const Case& c : rejected) {
        ASSERT_TRUE(BUS_WriteBlock(16, c.message));
        DIS_DispatchReceived();
        EXPECT_EQ(DIS_LastRxSequence(), c.message[0] & 7) << c.why;
        EXPECT_EQ(DIS_SlotState(24), SLOT_WAITING) << c.why;
        EXPECT_TRUE(Dispatched().empty()) << c.why;
    }
    Answer(24, {0, 0x88, 0x13});
    EXPECT_EQ(DIS_SlotState(24), SLOT_IDLE);
    EXPECT_EQ(DAT_ReadU32(DatBlock::Extra, 0), 0x1388u);
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG24), 1u);
    DIS_DispatchReceived();
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG24), 1u) << "a message is dispatched once";
}

TEST_F(Messages, FaultListArrivesInFivePartsAndIsAnnouncedOnce)
{
    DIS_SendDataRequest(22, 0);
    for (uint8_t part = 0; part < 5; ++part) {
        DIS_SendNext();
        ASSERT_EQ(Standing().first, 22);
        ASSERT_EQ(DIS_RequestBuffer()[4], part);
        std::vector<uint8_t> body{0, part};
        for (uint8_t r = 0; r < 2; ++r) {
            std::vector<uint8_t> record =
                Filled(11, static_cast<uint8_t>(0x10 * (2 * part + r) + 1));
            body.insert(body.end(), record.begin(), record.end());
        }
        Answer(22, body);
        EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG22), part == 4 ? 1u : 0u) << int(part);
    }
    EXPECT_EQ(DIS_QueueCount(), 0);
    for (uint8_t i = 0; i < 10; ++i) {
        DAT_SetFaultIndex(i);
        EXPECT_EQ(DAT_GetFaultCode(), 0x10 * i + 1) << int(i);
        EXPECT_EQ(DAT_GetFaultCategory(), 0x10 * i + 2) << int(i);
    }
    EXPECT_EQ(Count(PRIO_LINK, SIG_RX_MSG22), 1u);
}

TEST_F(Messages, AFaultPartAboveFourIsDropped)
{
    const std::vector<uint8_t> before(DAT_Block(DatBlock::FaultHistory).begin(),
                                      DAT_Block(DatBlock::FaultHistory).end());
    std::vector<uint8_t> body(24, 0xEE);
    body[0] = 0;
    body[1] = 5;
    RequestAndAnswer(23, body);
    EXPECT_EQ(std::vector<uint8_t>(DAT_Block(DatBlock::FaultHistory).begin(),
                                   DAT_Block(DatBlock::FaultHistory).end()),
              before);
    EXPECT_EQ(DIS_QueueCount(), 0) << "no next part requested";
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG23), 0u);
}

TEST_F(Messages, TwoCircuitsAnswerADayOneAfterTheOther)
{
    ASSERT_EQ(DAT_CircuitCount(), 2);
    DIS_SendDataRequest(5);
    DIS_SendNext();
    ASSERT_EQ(Standing(), (std::pair<uint8_t, uint8_t>{5, 1}));
    std::vector<uint8_t> times(25, 0xFF);
    times[0] = 1;
    times[1] = 0x30; // 06:00
    times[2] = 0x58; // 11:00
    Answer(5, times);
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_TP_DAY3), 0u) << "circuit 2 is still to come";
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, 2, 0, PhaseEdge::Off), 66);
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, 2, 1, PhaseEdge::On), TP_UNUSED);

    DIS_SendNext();
    ASSERT_EQ(Standing(), (std::pair<uint8_t, uint8_t>{5, 2}));
    times[0] = 2;
    times[17] = 0x40; // circulation, phase 0 on: 08:00
    Answer(5, times);
    EXPECT_EQ(DAT_GetSwitchingTime(1, TimeProgram::Circulation, 2, 0, PhaseEdge::On), 48);
    EXPECT_EQ(Dispatched(), (std::vector<Posted>{{PRIO_UI, SIG_LINK_ANSWER, 0},
                                                 {PRIO_LINK, SIG_RX_TP_DAY3, 0},
                                                 {PRIO_UI, SIG_LINK_ANSWER, 0},
                                                 {PRIO_UI, SIG_RX_TP_DAY3, 0}}));
}

TEST_F(Messages, WithOneCircuitADayIsAnnouncedAtOnce)
{
    SetCircuitConfiguration(0x01);
    std::vector<uint8_t> body(25, 0x10);
    body[0] = 1;
    RequestAndAnswer(9, body);
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_TP_DAY7), 1u);
}

TEST_F(Messages, CircuitMessageForTheOtherCircuitLeavesTheView)
{
    DAT_SelectCircuit(1);
    DIS_SendDataRequest(1); // one request per circuit
    DIS_SendNext();
    std::vector<uint8_t> body = Filled(28, 0x20);
    body[0] = 1;
    Answer(1, body);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 0x27) << "record offset 9 = message byte 8, into the view";

    DIS_SendNext();
    ASSERT_EQ(Standing(), (std::pair<uint8_t, uint8_t>{1, 2}));
    body = Filled(28, 0x40);
    body[0] = 2;
    Answer(1, body);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Circuit2, 9), 0x47);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 0x27) << "the view keeps circuit 1";
    EXPECT_EQ(DAT_ReadByte(DatBlock::Circuit1, 9), 0x27);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Settings, 0), 0x40 + 21);
    EXPECT_EQ(DAT_GetBrightnessIdle(), 0x40 + 26);
    EXPECT_EQ(DAT_GetBrightnessOperation(), 0x40 + 27);
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG1), 2u);
    EXPECT_EQ(DIS_SlotState(DIS_CircuitSlot(1, 2)), SLOT_IDLE);
}

TEST_F(Messages, SystemValuesSetTheClockFirst)
{
    DAT_SelectCircuit(1);
    std::vector<uint8_t> body = Filled(27, 0x01);
    body[0] = 1;
    body[12] = 0x78; // bytes 13..16: the clock
    body[13] = 0x56;
    body[14] = 0x34;
    body[15] = 0x12;
    DIS_SendDataRequest(2);
    DIS_SendNext();
    Answer(2, body);
    const std::vector<Posted>& posted = Dispatched();
    ASSERT_GE(posted.size(), 2u);
    EXPECT_NE(
        std::find(posted.begin(), posted.end(), Posted{PRIO_TIMER, SIG_SET_CLOCK, 0x12345678}),
        posted.end());
    EXPECT_EQ(DAT_GetClockSeconds(), 0x12345678u);
    EXPECT_EQ(DAT_GetDisplayContrast(), 11) << "system offset 4 = message byte 11";
    EXPECT_EQ(DAT_GetLanguageIndex(), 12);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Burner, 0), 17);
    EXPECT_EQ(DAT_ReadByte(DatBlock::CircuitView, 23), 2) << "circuit 1 is selected: view loaded";
}

TEST_F(Messages, ConfigurationWithAnotherCircuitCountPollsAtOnce)
{
    std::vector<uint8_t> body(31, 0);
    body[24] = 0xC9; // message byte 25 = block byte 23: both circuits as before
    RequestAndAnswer(10, body);
    EXPECT_EQ(Count(PRIO_LINK, SIG_LINK_POLL_NOW), 0u);
    body[24] = 0x01;
    PostedEvents().clear();
    RequestAndAnswer(10, body);
    EXPECT_EQ(Count(PRIO_LINK, SIG_LINK_POLL_NOW), 1u);
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG10), 1u);
    EXPECT_EQ(DAT_CircuitCount(), 1);
}

TEST_F(Messages, LongBlocksTakeOnlyWhatTheFrameCarried)
{
    // A full frame carries message bytes 0..31: boiler bytes 0..29.
    std::vector<uint8_t> full(31, 0x11);
    full[0] = 0; // circuit byte
    RequestAndAnswer(15, full);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Boiler, 29), 0x11);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Boiler, 36), 0x4E) << "the simulated tail stays";
    EXPECT_EQ(DAT_ReadByte(DatBlock::Boiler, 41), 0x66);
    // A short one: only its own bytes.
    RequestAndAnswer(15, {0, 0x22, 0x23});
    EXPECT_EQ(DAT_ReadByte(DatBlock::Boiler, 1), 0x23);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Boiler, 2), 0x11);
    RequestAndAnswer(16, {0, 7, 9, 2, 194, 0});
    EXPECT_EQ(DAT_GetParticipantNumber(), 7);
    EXPECT_EQ(DAT_GetParticipantAddress(), 9);
    EXPECT_EQ(DAT_GetActuatorCode(0), 2);
    EXPECT_EQ(DAT_GetActuatorCode(1), 194);
    EXPECT_EQ(DAT_GetActuatorCode(25), 0);
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG16), 1u);
}

TEST_F(Messages, LabelPartsOfBothCircuitsArriveInTurn)
{
    TXT_SetLanguage(3);
    DIS_SendDataRequest(25, 1);
    const auto half = [](uint8_t circuit, uint8_t part, uint8_t count, const char* text) {
        std::vector<uint8_t> body{circuit, part, count};
        for (size_t i = 0; i < 10; ++i) {
            body.push_back(i < std::strlen(text) ? static_cast<uint8_t>(text[i]) : 0);
            body.push_back(0);
        }
        body.push_back(3); // language
        return body;
    };
    const std::pair<uint8_t, uint8_t> expected[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}};
    const std::vector<uint8_t> bodies[] = {half(1, 1, 10, "Wohnzimmer"), half(1, 2, 3, "Ost"),
                                           half(2, 1, 99, "Bad oben  "), half(2, 2, 0, "")};
    for (size_t i = 0; i < 4; ++i) {
        DIS_SendNext();
        ASSERT_EQ(Standing(), (std::pair<uint8_t, uint8_t>{25, expected[i].first})) << i;
        ASSERT_EQ(DIS_RequestBuffer()[4], expected[i].second) << i;
        Answer(25, bodies[i]);
    }
    char text[61];
    DAT_GetCircuitLabel(116, text, sizeof text);
    EXPECT_STREQ(text, "WohnzimmerOst");
    DAT_GetCircuitLabel(117, text, sizeof text);
    EXPECT_STREQ(text, "Bad oben  ") << "a count of 99 takes ten characters";
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG25), 1u);
    TXT_SetLanguage(0);
}

TEST_F(Messages, ALabelCountIsClampedToWhatWasReceivedAndCircuitThreeIsDropped)
{
    TXT_SetLanguage(0);
    // Five characters announced, two received (the frame ends after byte 7).
    RequestAndAnswer(25, {1, 1, 5, 'A', 0, 'B', 0}, 1);
    char text[61];
    DAT_GetCircuitLabel(116, text, sizeof text);
    EXPECT_STREQ(text, "AB");
    Dispatched();
    PostedEvents().clear();
    DIS_SendNext();
    Answer(25, {0, 2, 2, 'X', 0, 'Y', 0}); // accepted (circuit 0), but no label circuit
    DAT_GetCircuitLabel(116, text, sizeof text);
    EXPECT_STREQ(text, "AB");
    EXPECT_EQ(Count(PRIO_UI, SIG_LINK_ANSWER), 1u);
    EXPECT_EQ(Count(PRIO_UI, SIG_RX_MSG25), 0u);
    EXPECT_EQ(DIS_QueueCount(), 0);
}

TEST_F(Messages, MessagesWithoutTakeOverAreCounted)
{
    for (uint8_t m : {11, 12, 19, 20, 21})
        RequestAndAnswer(m, {0});
    EXPECT_EQ(DIS_UnknownMessageCount(), 5);
    EXPECT_EQ(Count(PRIO_UI, SIG_LINK_ANSWER), 5u);
}

TEST_F(Messages, ARequestForASlotPastTheTableRestartsThePanel)
{
    DIS_Request(36);
    EXPECT_EQ(Dispatched(), (std::vector<Posted>{{PRIO_UI, SIG_BED_ERROR_RESET, 136}}));
    DIS_Request(35);
    EXPECT_EQ(DIS_SlotState(35), SLOT_REQUESTED);
}

TEST_F(Messages, TheThirtyThirdCommandIsDropped)
{
    for (int i = 0; i < 40; ++i)
        DIS_SendDataRequest(26);
    EXPECT_EQ(DIS_QueueCount(), DIS_TX_QUEUE_ENTRIES);
    EXPECT_EQ(DIS_QueuedEntry(DIS_TX_QUEUE_ENTRIES).size(), 0u);
    DIS_CancelRequests();
    EXPECT_EQ(DIS_QueueCount(), 0);
    EXPECT_EQ(DIS_SlotState(26), SLOT_IDLE);
}

} // namespace
