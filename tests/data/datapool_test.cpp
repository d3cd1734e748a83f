#include <cstring>
#include <string>

#include "data/pool_fixture.h"
#include "display/flash.h"
#include "display/lcd.h"
#include "display/text.h"

namespace {

using DataPoolTest = PoolFixture;

TEST_F(DataPoolTest, CircuitCountAndFirstCircuitFollowTheConfigurationByte)
{
    struct Case {
        uint8_t config;
        uint8_t count;
        uint8_t first;
        bool present1;
        bool present2;
    };
    const Case cases[] = {
        {0x00, 1, 1, false, false}, // nothing configured: still one circuit, the first
        {0x01, 1, 1, true, false},  {0x08, 1, 2, false, true},
        {0x09, 2, 1, true, true},   {0xF0, 1, 1, false, false}, // circuit 3 and flags do not count
    };
    for (const Case& c : cases) {
        SetCircuitConfiguration(c.config);
        EXPECT_EQ(DAT_CircuitCount(), c.count) << int(c.config);
        EXPECT_EQ(DAT_FirstCircuit(), c.first) << int(c.config);
        EXPECT_EQ(DAT_CircuitPresent(1), c.present1) << int(c.config);
        EXPECT_EQ(DAT_CircuitPresent(2), c.present2) << int(c.config);
        EXPECT_FALSE(DAT_CircuitPresent(3));
    }
}

TEST_F(DataPoolTest, NextCircuitWithOnlyCircuitTwoSelectsTwoAndStaysThere)
{
    SetCircuitConfiguration(0x08);
    DAT_SelectCircuit(1);
    DAT_NextCircuit();
    EXPECT_EQ(DAT_GetSelectedCircuit(), 2);
    DAT_NextCircuit();
    EXPECT_EQ(DAT_GetSelectedCircuit(), 2);
    DAT_PrevCircuit();
    EXPECT_EQ(DAT_GetSelectedCircuit(), 2);
}

TEST_F(DataPoolTest, SteppingCircuitsCommitsTheViewToItsOwnRecord)
{
    DAT_SelectCircuit(1);
    DAT_SetRoomSetTemp(23);
    DAT_Block(DatBlock::CircuitView)[9] = 25; // an edit not yet committed
    DAT_NextCircuit();
    EXPECT_EQ(DAT_GetSelectedCircuit(), 2);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Circuit1, 9), 25);
    EXPECT_EQ(DAT_ReadByte(DatBlock::Circuit2, 9), 20) << "circuit 2 keeps its own value";
    EXPECT_EQ(DAT_GetRoomSetTemp(), 20);
    EXPECT_EQ(DAT_GetHeatingCurveSlope(), 4);
    DAT_PrevCircuit();
    EXPECT_EQ(DAT_GetRoomSetTemp(), 25);
}

TEST_F(DataPoolTest, SelectingAnImpossibleCircuitRestartsAndChangesNothing)
{
    DAT_SelectCircuit(1);
    DAT_SelectCircuit(3);
    EXPECT_EQ(DAT_GetSelectedCircuit(), 1);
    EXPECT_EQ(Count(PRIO_UI, SIG_BED_ERROR_RESET), 1u);
    EXPECT_EQ(Dispatched().back().par, 133u);
    PostedEvents().clear();
    DAT_LoadCircuitView(7);
    EXPECT_EQ(Dispatched(), (std::vector<Posted>{{PRIO_UI, SIG_BED_ERROR_RESET, 133}}));
}

TEST_F(DataPoolTest, ViewLoadForAnotherCircuitOnlyUpdatesItsRecord)
{
    DAT_SelectCircuit(1);
    DAT_Block(DatBlock::Circuit2)[9] = 30;
    DAT_LoadCircuitView(2);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 20);
    DAT_SelectCircuit(0);
    EXPECT_EQ(DAT_GetSelectedCircuit(), 0);
    DAT_SetRoomSetTemp(11); // no circuit selected: the view is committed nowhere
    EXPECT_EQ(DAT_ReadByte(DatBlock::Circuit1, 9), 20);
    DAT_LoadCircuitView(2);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 30) << "with none selected any circuit loads";
}

TEST_F(DataPoolTest, SettersWriteTheSelectedRecordAndStatusSlot)
{
    DAT_SelectCircuit(2);
    DAT_SetOperatingProgram(5);
    DAT_SetFlag(DatFlag::ExternalProgram, true);
    EXPECT_EQ(DAT_ReadU16(DatBlock::Circuit2, 3), 0x4F05) << "only bits 0..2 replaced";
    EXPECT_EQ(DAT_ReadByte(DatBlock::Status, 15), 0x02) << "circuit 2's slot byte 3";
    EXPECT_TRUE(DAT_IsStandby());
    DAT_SetOperatingProgram(4);
    EXPECT_TRUE(DAT_IsHeatingAndHotWater());
    EXPECT_FALSE(DAT_IsOnlyHotWater());
}

TEST_F(DataPoolTest, RemoteControlAndFlag14FollowTheirCircuit)
{
    DAT_Block(DatBlock::Config)[18] = 1;
    DAT_SelectCircuit(1);
    EXPECT_FALSE(DAT_HasRemoteControl());
    DAT_SelectCircuit(2);
    EXPECT_TRUE(DAT_HasRemoteControl());
    DAT_SelectCircuit(0);
    EXPECT_FALSE(DAT_HasRemoteControl());
    EXPECT_FALSE(DAT_CircuitFlag14(0));
    EXPECT_FALSE(DAT_CircuitFlag14(1));
    EXPECT_TRUE(DAT_CircuitFlag14(2)); // simulated mode word 0x4F04
}

TEST(Temperatures, HalfDegreesRoundAwayFromZero)
{
    const std::pair<int16_t, int16_t> cases[] = {
        {-1, -1}, {1, 1}, {3, 2}, {0, 0}, {-2, -1}, {-3, -2}, {100, 50}, {-128, -64}, {127, 64}};
    for (auto [half, degrees] : cases)
        EXPECT_EQ(DAT_HalfToDegrees(half), degrees) << half;
    EXPECT_EQ(DAT_UnsignedHalfToDegrees(255), 128);
    EXPECT_EQ(DAT_UnsignedHalfToDegrees(0x89), 69);
}

TEST_F(DataPoolTest, FahrenheitRoundsToTheNearestDegreeBothWays)
{
    EXPECT_EQ(DAT_ToDisplayTemp(20), 20) << "Celsius: unchanged";
    EXPECT_EQ(DAT_FromDisplayTemp(68), 68);
    DAT_SetTempUnitFahrenheit(true);
    const std::pair<int16_t, int16_t> toF[] = {{20, 68},  {0, 32},    {37, 99},   {3, 37}, {-1, 30},
                                               {-10, 14}, {-40, -40}, {100, 212}, {1, 34}};
    for (auto [c, f] : toF)
        EXPECT_EQ(DAT_ToDisplayTemp(c), f) << c;
    const std::pair<int16_t, int16_t> toC[] = {{68, 20}, {32, 0},   {99, 37},   {37, 3},   {33, 1},
                                               {31, -1}, {14, -10}, {-40, -40}, {212, 100}};
    for (auto [f, c] : toC)
        EXPECT_EQ(DAT_FromDisplayTemp(f), c) << f;
    EXPECT_EQ(DAT_GetStatusFlags() & 0x0200, 0x0200);
}

TEST(PackedDates, ImpossibleDatesAreNoDate)
{
    const std::pair<uint32_t, uint32_t> cases[] = {
        {0x010107B2, 0},              // 1 January 1970 stands for no date
        {0x020107B2, 86400},          // 2 January 1970
        {0x0F0707EA, 20649u * 86400}, // 15 July 2026
        {0x000107EA, 0},
        {0x200107EA, 0}, // day 0, day 32
        {0x010007EA, 0},
        {0x010D07EA, 0}, // month 0, month 13
        {0x010107B1, 0},
        {0x01010834, 0}, // 1969, 2100
        {0xFFFFFFFF, 0},
        {0, 0},
    };
    for (auto [packed, seconds] : cases)
        EXPECT_EQ(DAT_PackedDateToSeconds(packed), seconds) << std::hex << packed;
    EXPECT_EQ(DAT_SecondsToPackedDate(20649u * 86400 + 3600), 0x0F0707EAu);
}

TEST_F(DataPoolTest, HolidayDatesAreConvertedOnSelectionAndBadBytesKept)
{
    std::span<uint8_t> record = DAT_Block(DatBlock::Circuit2);
    const uint8_t start[] = {0xEA, 0x07, 0x07, 0x0F}; // 15 July 2026
    const uint8_t bad[] = {0xEA, 0x07, 0x0D, 0x0F};   // month 13
    std::copy(std::begin(start), std::end(start), record.begin() + 14);
    std::copy(std::begin(bad), std::end(bad), record.begin() + 18);
    DAT_SelectCircuit(2);
    EXPECT_EQ(DAT_GetHolidayStart(), 20649u * 86400);
    EXPECT_EQ(DAT_GetHolidayEnd(), 0u);
    EXPECT_EQ(DAT_GetHolidayEndPacked(), 0x0F0D07EAu) << "the stored bytes stay as received";
    DAT_ClearHoliday();
    EXPECT_EQ(DAT_ReadU32(DatBlock::Circuit2, 14), DAT_NO_DATE);
    EXPECT_EQ(DAT_ReadU32(DatBlock::Circuit2, 18), DAT_NO_DATE);
    EXPECT_FALSE(DAT_GetFlag(DatFlag::HolidayActive));
}

TEST_F(DataPoolTest, LabelsShowOnlyInTheLanguageTheyWereEnteredIn)
{
    char buffer[61];
    TXT_SetLanguage(0);
    EXPECT_EQ(DAT_GetCircuitLabel(116, buffer, sizeof buffer), 11);
    EXPECT_STREQ(buffer, "Erdgeschoss");
    EXPECT_EQ(DAT_GetCircuitLabel(117, buffer, sizeof buffer), 12);
    EXPECT_STREQ(buffer, "Obergeschoss");
    EXPECT_EQ(DAT_GetCircuitLabel(118, buffer, sizeof buffer), 0) << "not a label text";

    TXT_SetLanguage(1);
    EXPECT_EQ(DAT_GetCircuitLabel(116, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    DAT_SetCircuitLabel(116, "Küche unten");
    DAT_SetCircuitLabel(117, ""); // ignored
    EXPECT_EQ(DAT_GetCircuitLabel(116, buffer, sizeof buffer), std::strlen("Küche unten"));
    EXPECT_STREQ(buffer, "Küche unten");
    EXPECT_EQ(DAT_GetLabelLanguage(1), 1);
    EXPECT_EQ(DAT_GetLabelLanguage(2), 0);
    EXPECT_EQ(DAT_GetCircuitLabel(116, buffer, 4), 3) << "cut at a character boundary";
    EXPECT_STREQ(buffer, "K\xC3\xBC");

    DAT_SetCircuitLabel(116, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(DAT_GetCircuitLabel(116, buffer, sizeof buffer), 20) << "twenty characters at most";
    DAT_ClearCircuitLabel(116);
    EXPECT_EQ(DAT_GetCircuitLabel(116, buffer, sizeof buffer), 0);
    TXT_SetLanguage(0);
}

TEST_F(DataPoolTest, ClearAllKeepsThePoolOnAThreeOClockRestart)
{
    DAT_SetRoomSetTemp(27);
    DAT_SetBrightnessOperation(99);
    DAT_ClearAll(2);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 27);
    EXPECT_EQ(DAT_GetBrightnessOperation(), 99);
    DAT_ClearAll(1);
    EXPECT_EQ(DAT_GetRoomSetTemp(), 20);
    EXPECT_EQ(DAT_GetBrightnessOperation(), FLS_GetOperatingBacklight()) << "stored level or 168";
    EXPECT_EQ(DAT_GetBrightnessIdle(), FLS_GetIdleBacklight()) << "stored level or 24";
    EXPECT_EQ(DAT_GetDisplayContrast(), lcd_getDefaultContrast());
    EXPECT_EQ(DAT_GetSelectedCircuit(), 1);
}

TEST_F(DataPoolTest, RawReadsPastABlockReadZero)
{
    EXPECT_EQ(DAT_ReadByte(DatBlock::Settings, 7), 0);
    EXPECT_EQ(DAT_ReadU32(DatBlock::Settings, 5), 0x4105u);
    EXPECT_EQ(DAT_Block(DatBlock::Count).size(), 0u);
    for (size_t b = 0; b < static_cast<size_t>(DatBlock::Count); ++b)
        EXPECT_EQ(DAT_Block(static_cast<DatBlock>(b)).size(), DAT_BLOCK_SIZES[b]) << b;
}

} // namespace
