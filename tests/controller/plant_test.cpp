// The controller's plant model: its start from the panel's built-in values, the limits its
// values keep over a week, and the life the issue asks of it.
#include <algorithm>
#include <functional>
#include <span>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "data/timeprog.h"
#include "sim/controller/ctl_plant.h"
#include "sim/controller/ctl_protocol.h"
#include "sim/hal/host_services.h"

namespace {

constexpr int64_t MONDAY_10 = 1767607200; // 2026-01-05 10:00:00, a Monday

template <size_t N> std::vector<uint8_t> bytes(const CtlBytes<N>& b)
{
    return {b.begin(), b.end()};
}
std::vector<uint8_t> bytes(std::span<const uint8_t> b) { return {b.begin(), b.end()}; }

uint32_t u32(const uint8_t* p) { return CTL_Load32(p); }
int halfToDegrees(uint8_t raw) { return (raw + 1) / 2; }
int signedHalfToDegrees(uint8_t raw)
{
    const int v = static_cast<int8_t>(raw);
    return v >= 0 ? (v + 1) / 2 : (v - 1) / 2;
}

void run(CtlPlant& p, int64_t seconds, const std::function<void(const CtlPlant&)>& each = {})
{
    for (int64_t i = 0; i < seconds; ++i) {
        CTL_PlantStep(p);
        if (each) each(p);
    }
}

TEST(ControllerPlant, StartsFromThePanelsBuiltInValues)
{
    SIM_SetFixedLocalTime(MONDAY_10);
    DAT_ClearAll(1);
    const CtlPlant p = CTL_BuiltInPlant(MONDAY_10);
    EXPECT_EQ(bytes(p.config), bytes(DAT_Block(DatBlock::Config)));
    EXPECT_EQ(bytes(p.status), bytes(DAT_Block(DatBlock::Status)));
    EXPECT_EQ(bytes(p.circuits[0]), bytes(DAT_Block(DatBlock::Circuit1)));
    EXPECT_EQ(bytes(p.circuits[1]), bytes(DAT_Block(DatBlock::Circuit2)));
    EXPECT_EQ(bytes(p.settings), bytes(DAT_Block(DatBlock::Settings)));
    EXPECT_EQ(bytes(p.statistics), bytes(DAT_Block(DatBlock::Statistics)));
    EXPECT_EQ(bytes(p.burner), bytes(DAT_Block(DatBlock::Burner)));
    EXPECT_EQ(bytes(p.solar), bytes(DAT_Block(DatBlock::Solar)));
    EXPECT_EQ(bytes(p.extra), bytes(DAT_Block(DatBlock::Extra)));
    const std::span<uint8_t> system = DAT_Block(DatBlock::System);
    EXPECT_EQ(std::vector<uint8_t>(p.system.begin(), p.system.begin() + 6),
              std::vector<uint8_t>(system.begin(), system.begin() + 6));
    // The module byte differs by the LON module this controller has fitted, nothing else.
    std::vector<uint8_t> boiler = bytes(p.boiler);
    boiler[0] &= 0xFE;
    boiler[3] = DAT_ReadByte(DatBlock::Boiler, 3);
    EXPECT_EQ(boiler, bytes(DAT_Block(DatBlock::Boiler)));
    for (uint8_t c = 0; c < 2; ++c) {
        const std::span<uint8_t> label = DAT_Block(c == 0 ? DatBlock::Label1 : DatBlock::Label2);
        for (size_t i = 0; i < CTL_LABEL_CHARS; ++i)
            EXPECT_EQ(p.labels[c].chars[i], label[2 * i] | label[2 * i + 1] << 8);
    }
    for (uint8_t set = 0; set < 2; ++set)
        for (uint8_t program = 0; program < 3; ++program)
            for (uint8_t day = 0; day < 7; ++day)
                for (uint8_t phase = 0; phase < 4; ++phase) {
                    const auto tp = static_cast<TimeProgram>(program);
                    EXPECT_EQ(p.times[set][program][day][phase][0],
                              DAT_GetSwitchingTime(set, tp, day, phase, PhaseEdge::On));
                    EXPECT_EQ(p.times[set][program][day][phase][1],
                              DAT_GetSwitchingTime(set, tp, day, phase, PhaseEdge::Off));
                }
}

// A week of plant life keeps every reported value within what such a plant can show.
TEST(ControllerPlant, AWeekKeepsEveryValueWithinItsLimits)
{
    CtlPlant p = CTL_BuiltInPlant(MONDAY_10);
    uint32_t starts = u32(&p.statistics[14]), hours = u32(&p.statistics[6]);
    uint32_t energy = u32(&p.solar[0]);
    int burnerChanges = 0;
    bool burner = p.physics.burner;
    run(p, 7 * 86400, [&](const CtlPlant& q) {
        const int boiler = halfToDegrees(q.status[CtlStatus::BOILER_TEMP]);
        const int dhw = halfToDegrees(q.status[CtlStatus::DHW_TEMP]);
        const int outside = signedHalfToDegrees(q.status[CtlStatus::OUTSIDE_TEMP]);
        ASSERT_GE(boiler, 5);
        ASSERT_LE(boiler, 90);
        ASSERT_GE(dhw, 5);
        ASSERT_LE(dhw, 85);
        ASSERT_GE(outside, -10);
        ASSERT_LE(outside, 10);
        for (uint8_t c = 0; c < 2; ++c) {
            const int room = signedHalfToDegrees(q.circuits[c][CtlCircuit::ROOM_TEMP]);
            ASSERT_GE(room, 3);
            ASSERT_LE(room, 30);
            ASSERT_LE(halfToDegrees(q.circuits[c][CtlCircuit::FLOW_SET]), 75);
        }
        const int collector = static_cast<int16_t>(q.solar[8] | q.solar[9] << 8) / 2;
        ASSERT_GE(collector, -20);
        ASSERT_LE(collector, 150);
        ASSERT_LE(q.solar[12], 100);
        // Counters only count up.
        ASSERT_GE(u32(&q.statistics[14]), starts);
        ASSERT_GE(u32(&q.statistics[6]), hours);
        ASSERT_GE(u32(&q.solar[0]), energy);
        starts = u32(&q.statistics[14]);
        hours = u32(&q.statistics[6]);
        energy = u32(&q.solar[0]);
        // The burner flag is the burner.
        ASSERT_EQ((CTL_StatusFlags(q) & CTL_FLAG_BURNER) != 0, q.physics.burner);
        if (q.physics.burner != burner) ++burnerChanges;
        burner = q.physics.burner;
    });
    EXPECT_GT(starts, 2193u) << "the burner started again during the week";
    EXPECT_GT(hours, 900u) << "and ran for hours";
    EXPECT_GT(burnerChanges, 50) << "in cycles, not on or off for good";
    EXPECT_GT(energy, 1260u) << "the sun filled the solar energy";
}

TEST(ControllerPlant, TheOutsideFollowsTheDayAndTheRoomItsSetTemperature)
{
    CtlPlant p = CTL_BuiltInPlant(MONDAY_10);
    run(p, 5 * 3600); // 15:00, the warm afternoon
    const double afternoon = p.physics.outside;
    run(p, 12 * 3600); // 03:00, the cold night
    EXPECT_GT(afternoon, p.physics.outside + 3);

    // A higher set temperature in circuit 1 warms its room during the day's heating phase.
    CtlPlant q = CTL_BuiltInPlant(MONDAY_10 - 4 * 3600); // 06:00
    q.circuits[0][CtlCircuit::ROOM_SET] = 24;
    run(q, 10 * 3600);
    EXPECT_NEAR(q.physics.room[0], 24, 1.0);
    EXPECT_NEAR(q.physics.room[1], 20, 1.0);
    // Standby lets the room cool.
    CTL_SetModeWord(q, 1, static_cast<uint16_t>((CTL_ModeWord(q, 1) & ~7) | CTL_PROGRAM_STANDBY));
    run(q, 12 * 3600);
    EXPECT_LT(q.physics.room[0], 20);
    EXPECT_EQ(q.circuits[0][CtlCircuit::FLOW_SET], 0) << "no flow set temperature in standby";
}

TEST(ControllerPlant, HotWaterCoolsAndIsReheated)
{
    CtlPlant p = CTL_BuiltInPlant(MONDAY_10 - 3 * 3600 - 60); // 06:59, before the morning shower
    bool charged = false;
    double lowest = 100;
    run(p, 2 * 3600, [&](const CtlPlant& q) {
        lowest = std::min(lowest, q.physics.dhw);
        charged = charged || (CTL_StatusFlags(q) & CTL_FLAG_STORAGE_PUMP);
    });
    EXPECT_LT(lowest, 45.5) << "the shower took hot water";
    EXPECT_TRUE(charged) << "the storage pump charged it again";
    EXPECT_FALSE(CTL_StatusFlags(p) & CTL_FLAG_STORAGE_PUMP) << "until it was hot again";
    EXPECT_GE(p.physics.dhw, 48) << "and it is cooling slowly since";
}

TEST(ControllerPlant, SolarYieldFillsTheDayAndMovesOnAtMidnight)
{
    CtlPlant p = CTL_BuiltInPlant(MONDAY_10);
    const uint32_t morning = u32(&p.solar[13]);
    run(p, 3 * 3600); // to 13:00
    const uint32_t noon = u32(&p.solar[13]);
    EXPECT_GT(noon, morning);
    run(p, 11 * 3600); // past midnight
    EXPECT_GE(u32(&p.extra[0]), noon) << "yesterday is the whole of Monday";
    EXPECT_EQ(u32(&p.extra[4]), 5000u) << "the older days moved one on";
    EXPECT_EQ(u32(&p.extra[24]), 6500u);
    EXPECT_EQ(u32(&p.solar[13]), 0u) << "a new day starts empty";
}

TEST(ControllerPlant, TestFunctionsEndByThemselves)
{
    CtlPlant p = CTL_BuiltInPlant(MONDAY_10);
    const uint8_t flueGasOn[] = {20, CTL_Header(15, 1), 0, 247, 1, 255, 0, 0, 0};
    CTL_ApplyRequest(p, flueGasOn);
    run(p, 1);
    EXPECT_TRUE(p.status[CtlStatus::TESTS] & CTL_TEST_FLUE_GAS);
    run(p, 10 * 60);
    EXPECT_TRUE(p.physics.burner) << "the flue-gas test holds the burner on";
    run(p, CTL_FLUE_GAS_SECONDS);
    EXPECT_FALSE(p.status[CtlStatus::TESTS] & CTL_TEST_FLUE_GAS);

    const uint8_t ventingOn[] = {20, CTL_Header(15, 2), 0, 247, 14, 255, 0, 0, 0};
    const uint8_t ventingOff[] = {20, CTL_Header(15, 3), 0, 247, 14, 0, 0, 0, 0};
    CTL_ApplyRequest(p, ventingOn);
    run(p, 1);
    EXPECT_TRUE(p.status[CtlStatus::TESTS] & CTL_TEST_VENTING);
    CTL_ApplyRequest(p, ventingOff);
    run(p, 1);
    EXPECT_FALSE(p.status[CtlStatus::TESTS] & CTL_TEST_VENTING) << "or when switched off";
}

} // namespace
