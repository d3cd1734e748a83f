// Random and truncated bus traffic through the byte handlers and the link service. Run under the
// sanitizers, any access outside a buffer fails the run.
#include <array>
#include <random>
#include <vector>

#include "data/pool_fixture.h"
#include "link/link_state.h"

namespace {

class LinkFuzz : public PoolFixture {
  protected:
    std::mt19937 rng{20261210};
    size_t bytesFed = 0;

    uint8_t Byte() { return static_cast<uint8_t>(rng()); }
    uint32_t Below(uint32_t n) { return rng() % n; }

    // A master write: sometimes a well-formed block with its checksum, sometimes cut short,
    // sometimes noise with a random length byte.
    void Write()
    {
        std::vector<uint8_t> frame;
        enum Kind : uint32_t { Good, BadChecksum, Truncated, Noise };
        constexpr Kind KINDS[] = {Good, Good, Good, Good, BadChecksum, Truncated, Noise, Noise};
        const Kind kind = KINDS[Below(std::size(KINDS))];
        constexpr uint8_t BLOCKS[] = {16, 16, 16, 16, 16, 16, 28, 28, 24, 20, 35, 29};
        const uint8_t block = Below(4) == 0 ? Byte() : BLOCKS[Below(std::size(BLOCKS))];
        const size_t n = Below(16) == 0 ? Below(256) : Below(40);
        if (kind == Noise) {
            for (size_t i = 0; i < n; ++i)
                frame.push_back(Byte());
        } else {
            frame.push_back(static_cast<uint8_t>(n + 1));
            frame.push_back(block);
            uint8_t sum = block;
            for (size_t i = 0; i < n; ++i) {
                // Message writes mostly answer the standing request, so they get accepted.
                uint8_t b = Byte();
                if (block == 16 && i == 0 && Below(4) != 0)
                    b = static_cast<uint8_t>((Below(4) ? DIS_RequestBuffer()[1] >> 3 : Below(32))
                                                 << 3 |
                                             (DIS_RequestBuffer()[1] & 7));
                if (block == 16 && i == 1 && Below(4) != 0)
                    b = Below(4) ? DIS_RequestBuffer()[2] : static_cast<uint8_t>(Below(4));
                frame.push_back(b);
                sum = static_cast<uint8_t>(sum + b);
            }
            frame.push_back(kind == BadChecksum ? Byte() : sum);
            if (kind == Truncated) frame.resize(Below(static_cast<uint32_t>(frame.size())) + 1);
        }
        DIS_OnAddressed(BusDirection::Write);
        for (uint8_t b : frame)
            DIS_OnByteReceived(b);
        bytesFed += frame.size();
    }

    void Read()
    {
        if (Below(2)) BUS_Write(std::array<uint8_t, 1>{Byte()});
        DIS_OnAddressed(BusDirection::Read);
        const size_t n = Below(48);
        for (size_t i = 0; i < n; ++i)
            DIS_OnByteToSend();
        DIS_OnReadDone(Below(2) == 0);
        bytesFed += n + 1;
    }

    // Screens and the link task acting between transfers.
    void Act()
    {
        switch (Below(8)) {
        case 0: DIS_Request(static_cast<uint8_t>(Below(36))); break;
        case 1:
            DIS_SendDataRequest(static_cast<uint8_t>(Below(27)), static_cast<uint8_t>(Below(6)));
            break;
        case 2: DIS_SendRoomSetTemp(Byte()); break;
        case 3: DAT_SelectCircuit(static_cast<uint8_t>(Below(3))); break;
        case 4: {
            std::array<char, 48> text{};
            const size_t length = Below(static_cast<uint32_t>(text.size()));
            for (size_t i = 0; i < length; ++i)
                text[i] = static_cast<char>(Byte() | 1);
            DIS_SendCircuitLabel(static_cast<uint8_t>(Below(3)), text.data());
            break;
        }
        case 5:
            DIS_SendSwitchingTime(PhaseEdge::On, static_cast<uint8_t>(Below(4)),
                                  static_cast<uint8_t>(Below(12)), TimeProgram::Heating, Byte());
            break;
        case 6: DAT_TickHoldOffs(); break;
        default:
            if (Below(8) == 0) DIS_CancelRequests();
            break;
        }
    }
};

TEST_F(LinkFuzz, RandomTrafficStaysInsideEveryBuffer)
{
    size_t answers = 0;
    while (bytesFed < 400000) {
        switch (Below(6)) {
        case 0:
        case 1:
        case 2: Write(); break;
        case 3: Read(); break;
        case 4: Act(); break;
        default: break;
        }
        DIS_Service();
        EVT_Run();
        for (const Posted& p : PostedEvents())
            answers += p.sig == SIG_LINK_ANSWER;
        PostedEvents().clear();
        ASSERT_LE(DIS_QueueCount(), DIS_TX_QUEUE_ENTRIES);
        ASSERT_LE(DAT_GetSelectedCircuit(), 2);
    }
    EXPECT_GT(answers, 200u) << "the traffic must reach the message take-over";
    // The pool still reads consistently afterwards.
    char text[61];
    DAT_GetCircuitLabel(116, text, sizeof text);
    DAT_GetCircuitLabel(117, text, sizeof text);
    for (uint8_t i = 0; i < 10; ++i) {
        DAT_SetFaultIndex(i);
        DAT_GetFaultTime();
        DAT_SetHistoryIndex(i);
        DAT_GetHistoryTime();
    }
    DAT_GetCodingEntryMax();
    DAT_ReadPeriodPhases();
}

TEST_F(LinkFuzz, EveryMessageTakesOverAnyContentAndLength)
{
    for (int i = 0; i < 200000; ++i) {
        LinkBytes<DIS_RX_MESSAGE_SIZE> rx{};
        for (uint8_t& b : rx)
            b = Byte();
        rx[0] = static_cast<uint8_t>(Below(27) << 3 | (rx[0] & 7));
        if (Below(2)) rx[1] = static_cast<uint8_t>(Below(4));
        DIS_TakeOver(rx, Byte());
        if (Below(16) == 0) {
            EVT_Run();
            PostedEvents().clear();
        }
    }
    EXPECT_LE(DIS_QueueCount(), DIS_TX_QUEUE_ENTRIES);
}

} // namespace
