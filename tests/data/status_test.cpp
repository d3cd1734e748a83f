#include <array>

#include "data/pool_fixture.h"
#include "kernel/dtm.h"

namespace {

class StatusProcessing : public PoolFixture {
  protected:
    // A status transfer from the controller: status bytes 0..1, byte 7 and the two circuit
    // slots, the rest zero.
    static void Transfer(uint16_t flags, uint8_t byte7 = 0, uint8_t slot1Flags = 0,
                         uint8_t slot2Flags = 0)
    {
        std::array<uint8_t, 21> s{};
        s[0] = static_cast<uint8_t>(flags);
        s[1] = static_cast<uint8_t>(flags >> 8);
        s[2] = 0x64;
        s[7] = byte7;
        s[10] = slot1Flags;
        s[14] = slot2Flags;
        ASSERT_TRUE(BUS_WriteBlock(28, s));
        ASSERT_TRUE(DIS_LinkFlags() & DIS_FLAG_STATUS_RECEIVED);
        DIS_TakeStatus();
    }
};

constexpr uint16_t FAULT = 1u << 1;
constexpr uint16_t WINK = 1u << 3;
constexpr uint16_t MAINTENANCE = 1u << 14;

TEST_F(StatusProcessing, EveryTransferReplacesTheStatusAndAnnouncesIt)
{
    DAT_SelectCircuit(2);
    Transfer(0x0004, 0x01, 0x40, 0x70);
    EXPECT_FALSE(DIS_LinkFlags() & DIS_FLAG_STATUS_RECEIVED) << "the flag is taken with the copy";
    EXPECT_EQ(DAT_GetStatusFlags(), 0x0004);
    EXPECT_TRUE(DAT_BurnerOn());
    EXPECT_FALSE(DAT_GetFlag(DatFlag::CirculationPumpOn));
    EXPECT_EQ(DAT_GetStatusByte7(), 0x01);
    EXPECT_EQ(DAT_ReadByte(DatBlock::CircuitStatus, 2), 0x70) << "slot of the selected circuit";
    EXPECT_EQ(Dispatched(), (std::vector<Posted>{{PRIO_UI, SIG_DATA_CHANGED, 0}}));
}

TEST_F(StatusProcessing, RequestFlagsPostEveryTimeAndWinkOnlyOnItsRisingEdge)
{
    Transfer(1u << 13 | 1u << 15 | WINK);
    Transfer(1u << 13 | WINK);
    Transfer(0);
    Transfer(WINK);
    const std::vector<Posted> expected{
        {PRIO_UI, SIG_3UHR_RESTART, 0}, {PRIO_UI, SIG_REG_RESET, 0},
        {PRIO_UI, SIG_WINK, 0},         {PRIO_UI, SIG_DATA_CHANGED, 0},
        {PRIO_UI, SIG_3UHR_RESTART, 0}, {PRIO_UI, SIG_DATA_CHANGED, 0},
        {PRIO_UI, SIG_DATA_CHANGED, 0}, {PRIO_UI, SIG_WINK, 0},
        {PRIO_UI, SIG_DATA_CHANGED, 0}};
    EXPECT_EQ(Dispatched(), expected);
}

TEST_F(StatusProcessing, ALocalFaultAcknowledgementHoldsForFiveSeconds)
{
    Transfer(FAULT);
    EXPECT_EQ(DAT_GetFaultPending(), 1);
    EXPECT_TRUE(DAT_GetFaultPresent());

    DAT_SetFaultPending(0);
    DAT_SetFaultPresent(false);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Status, 7) & 0x80, 0);
    for (int second = 0; second < 5; ++second) {
        Transfer(FAULT);
        EXPECT_FALSE(DAT_GetFaultPresent()) << "second " << second;
        EXPECT_EQ(DAT_GetFaultPending(), 0) << "second " << second;
        DAT_TickHoldOffs();
    }
    EXPECT_EQ(DAT_GetFaultAckHold(), 0);
    Transfer(FAULT);
    EXPECT_TRUE(DAT_GetFaultPresent());
    EXPECT_EQ(DAT_GetFaultPending(), 1) << "a fault still reported after the hold-off is new";
    Transfer(0);
    EXPECT_EQ(DAT_GetFaultPending(), 0);
}

TEST_F(StatusProcessing, MaintenanceAcknowledgementHoldsAndClearsThePendingMessage)
{
    Transfer(MAINTENANCE);
    EXPECT_EQ(DAT_GetMaintenancePending(), 1);
    DAT_SetMaintenanceDue(false);
    EXPECT_EQ(DAT_GetMaintenancePending(), 0);
    for (int second = 0; second < 5; ++second) {
        Transfer(MAINTENANCE);
        EXPECT_FALSE(DAT_GetMaintenanceDue());
        DAT_TickHoldOffs();
    }
    Transfer(MAINTENANCE);
    EXPECT_EQ(DAT_GetMaintenancePending(), 1);
}

TEST_F(StatusProcessing, StatusByteSevenFlagHasItsOwnFifteenSecondHold)
{
    Transfer(0, 0x20);
    EXPECT_EQ(Count(PRIO_UI, SIG_STATUS_FLAG_ON), 1u);
    DAT_SetStatusByte7Flag(false);
    EXPECT_EQ(DAT_GetFlagHold(), 15);
    Transfer(0, 0x20);
    EXPECT_FALSE(DAT_GetFlag(DatFlag::StatusByte7Flag));
    EXPECT_EQ(Count(PRIO_UI, SIG_STATUS_FLAG_ON), 1u) << "no rising edge during the hold";
    Transfer(0, 0x00);
    EXPECT_EQ(Count(PRIO_UI, SIG_STATUS_FLAG_OFF), 0u) << "the flag was already clear";
    for (int i = 0; i < 15; ++i)
        DAT_TickHoldOffs();
    Transfer(0, 0x20);
    EXPECT_EQ(Count(PRIO_UI, SIG_STATUS_FLAG_ON), 2u);
    Transfer(0, 0x00);
    EXPECT_EQ(Count(PRIO_UI, SIG_STATUS_FLAG_OFF), 1u);
}

TEST_F(StatusProcessing, APanelFaultEntersRecordZeroWithTheTime)
{
    DAT_EnterPanelFault(0x5A);
    EXPECT_TRUE(DAT_GetFaultPresent());
    DAT_SetFaultIndex(0);
    EXPECT_EQ(DAT_GetFaultCode(), 0x5A);
    EXPECT_EQ(DAT_GetFaultTime(), DTM_GetClock());
    EXPECT_EQ(Dispatched(), (std::vector<Posted>{{PRIO_UI, SIG_PANEL_FAULT, 0}}));
    DAT_SetFaultIndex(10);
    EXPECT_EQ(DAT_GetFaultIndex(), 0) << "an index past the ten records is not taken";
}

} // namespace
