#include "data/pool_fixture.h"

namespace {

class TimeProgramStore : public PoolFixture {
  protected:
    void SetUp() override
    {
        PoolFixture::SetUp();
        DAT_SelectCircuit(1);
        DAT_SelectTimeProgram(TimeProgram::Heating);
        DAT_SelectTimePeriod(TP_PERIOD_ALL_DAYS);
    }
};

constexpr TimePhases MORNING{
    {{36, 48}, {TP_UNUSED, TP_UNUSED}, {TP_UNUSED, TP_UNUSED}, {TP_UNUSED, TP_UNUSED}}};

TEST(TimeProgramTable, IndexRunsCircuitProgramDayPhaseEdge)
{
    EXPECT_EQ(TP_Index(0, TimeProgram::Heating, 0, 0, PhaseEdge::On), 0u);
    EXPECT_EQ(TP_Index(0, TimeProgram::Heating, 0, 0, PhaseEdge::Off), 1u);
    EXPECT_EQ(TP_Index(0, TimeProgram::Heating, 0, 3, PhaseEdge::Off), 7u);
    EXPECT_EQ(TP_Index(0, TimeProgram::Heating, 6, 0, PhaseEdge::On), 48u);
    EXPECT_EQ(TP_Index(0, TimeProgram::Dhw, 0, 0, PhaseEdge::On), 56u);
    EXPECT_EQ(TP_Index(1, TimeProgram::Heating, 0, 0, PhaseEdge::On), 168u);
    EXPECT_EQ(TP_Index(1, TimeProgram::Circulation, 6, 3, PhaseEdge::Off), TP_TABLE_SIZE - 1);
}

TEST(TimeProgramTable, TimeBytesPackHourAndTenMinuteStep)
{
    const std::pair<uint8_t, uint8_t> cases[] = {{0, 0x00},   {5, 0x05},   {6, 0x08},
                                                 {36, 0x30},  {143, 0xBD}, {144, 0xC0},
                                                 {145, 0xFF}, {255, 0xFF}};
    for (auto [t, b] : cases) {
        EXPECT_EQ(TP_PackTime(t), b) << int(t);
        if (t <= TP_END_OF_DAY) {
            EXPECT_EQ(TP_UnpackTime(b), t) << int(b);
        }
    }
    EXPECT_EQ(TP_UnpackTime(0xFF), TP_UNUSED);
    EXPECT_EQ(TP_UnpackTime(0x06), TP_UNUSED) << "a step of 60 minutes is no time";
    EXPECT_EQ(TP_UnpackTime(0xC1), TP_UNUSED) << "past 24:00";
}

TEST_F(TimeProgramStore, OutOfTableAccessReadsUnusedAndWritesNothing)
{
    EXPECT_EQ(DAT_GetSwitchingTime(2, TimeProgram::Heating, 0, 0, PhaseEdge::On), TP_UNUSED);
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, 7, 0, PhaseEdge::On), TP_UNUSED);
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, 0, 4, PhaseEdge::On), TP_UNUSED);
    DAT_SetSwitchingTime(0, static_cast<TimeProgram>(3), 0, 0, PhaseEdge::On, 1);
    DAT_SelectTimePeriod(10);
    EXPECT_EQ(DAT_GetSelectedTimePeriod(), TP_PERIOD_ALL_DAYS);
}

TEST_F(TimeProgramStore, WritingWorkdaysChangesMondayToFridayAndBreaksTheWeek)
{
    EXPECT_TRUE(DAT_TimeGroupUniform(TP_PERIOD_ALL_DAYS));
    DAT_SelectTimePeriod(TP_PERIOD_WORKDAYS);
    DAT_WritePeriodPhases(MORNING);
    for (uint8_t day = 0; day < 5; ++day)
        EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, day, 0, PhaseEdge::Off), 48)
            << int(day);
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Heating, 5, 0, PhaseEdge::Off), 132);
    EXPECT_EQ(DAT_GetSwitchingTime(1, TimeProgram::Heating, 0, 0, PhaseEdge::Off), 132)
        << "circuit 2 untouched";
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Dhw, 0, 0, PhaseEdge::Off), 132)
        << "other program untouched";
    EXPECT_FALSE(DAT_TimeGroupUniform(TP_PERIOD_ALL_DAYS));
    EXPECT_TRUE(DAT_TimeGroupUniform(TP_PERIOD_WORKDAYS));
    EXPECT_TRUE(DAT_TimeGroupUniform(TP_PERIOD_WEEKEND));

    DAT_SelectTimePeriod(TP_PERIOD_WEEKEND);
    DAT_WritePeriodPhases(MORNING);
    EXPECT_TRUE(DAT_TimeGroupUniform(TP_PERIOD_ALL_DAYS)) << "the weekend now has the same times";
    DAT_SelectTimePeriod(7); // Sunday alone
    EXPECT_EQ(DAT_ReadPeriodPhases(), MORNING);
    DAT_WritePeriodPhases({});
    EXPECT_FALSE(DAT_TimeGroupUniform(TP_PERIOD_WEEKEND));
    EXPECT_FALSE(DAT_TimeGroupUniform(3)) << "single days are no group";
}

TEST_F(TimeProgramStore, TheSelectedCircuitChoosesTheSet)
{
    DAT_SelectCircuit(2);
    DAT_SelectTimeProgram(TimeProgram::Circulation);
    DAT_SelectTimePeriod(2); // Tuesday
    DAT_WritePeriodPhases(MORNING);
    EXPECT_EQ(DAT_GetSwitchingTime(1, TimeProgram::Circulation, 1, 0, PhaseEdge::On), 36);
    EXPECT_EQ(DAT_GetSwitchingTime(0, TimeProgram::Circulation, 1, 0, PhaseEdge::On), 33);
    const TimeProgramSelection saved = DAT_GetTimeProgramSelection();
    DAT_SetTimeProgramSelection({TimeProgram::Dhw, TP_PERIOD_WEEKEND});
    EXPECT_EQ(DAT_GetSelectedTimeProgram(), TimeProgram::Dhw);
    DAT_SetTimeProgramSelection(saved);
    EXPECT_EQ(DAT_GetSelectedTimePeriod(), 2);
    EXPECT_EQ(DAT_GetSelectedTimeProgram(), TimeProgram::Circulation);
}

TEST_F(TimeProgramStore, ResetSendsTheBasicSettingRequestsTheWeekAndWritesOnePhase)
{
    DAT_SelectTimeProgram(TimeProgram::Dhw);
    DAT_WritePeriodPhases(MORNING);
    DAT_SelectTimePeriod(TP_PERIOD_WEEKEND);
    DAT_ResetSelectedTimeProgram(TP_DEFAULT_PHASES[1]);

    ASSERT_EQ(DIS_QueueCount(), 1);
    const std::span<const uint8_t> e = DIS_QueuedEntry(0);
    EXPECT_EQ(e[1] >> 3, 1) << "message 1";
    EXPECT_EQ(e[2], 1) << "circuit 1";
    EXPECT_EQ(e[3], 229);
    EXPECT_EQ(e[4], 4) << "hot water";
    EXPECT_EQ(e[5], 0x67) << "Saturday and Sunday";
    for (uint8_t slot = 3; slot <= 9; ++slot)
        EXPECT_EQ(DIS_SlotState(slot), SLOT_REQUESTED) << int(slot);
    const TimePhases expected{{{33, 132}, TP_UNUSED_PHASE, TP_UNUSED_PHASE, TP_UNUSED_PHASE}};
    EXPECT_EQ(DAT_ReadPeriodPhases(), expected);
    DAT_SelectTimePeriod(1);
    EXPECT_EQ(DAT_ReadPeriodPhases(), MORNING) << "Monday is not part of the weekend";
}

} // namespace
