#include <vector>

#include "link/dis.h"
#include "screen_fixture.h"
#include "sim/hal/keys.h"
#include "support/controller_feed.h"

namespace {

constexpr uint8_t MSG_FAULT_LIST = 22;
constexpr uint8_t RECORDS_PER_PART = 2;
constexpr uint8_t PARTS = 5;

struct Record {
    uint8_t code;
    uint8_t category;
    uint16_t helpCategory;
    uint32_t time;
};

// From a pending fault alarm through its notice into the fault dialog, which asks the
// controller for the list; the link then serves only the dialog's request.
class FaultDialog : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        DAT_SetFaultPresent(true);
        DAT_SetFaultPending(1);
        dataChanged();
        ASSERT_EQ(state(), "BMA_Stoerung");
        DIS_InitLink();
        tap(HARDKEY_OK);
        ASSERT_EQ(state(), "BSD_AufStoerungsdatenWarten");
        ASSERT_TRUE(shows("Bitte warten"));
    }

    // The controller reads the dialog's request part by part and answers each part.
    static void controllerAnswers(const std::vector<Record>& records)
    {
        for (uint8_t part = 0; part < PARTS; ++part) {
            ControllerFeed::service(); // the next request goes up
            const auto request = DIS_RequestBuffer();
            ASSERT_EQ(request[1] >> 3, MSG_FAULT_LIST);
            ASSERT_EQ(request[3], 231);
            ASSERT_EQ(request[4], part);
            std::vector<uint8_t> data{part};
            for (uint8_t r = 0; r < RECORDS_PER_PART; ++r) {
                const size_t i = RECORDS_PER_PART * part + r;
                const Record rec = i < records.size() ? records[i] : Record{};
                const uint8_t bytes[11] = {rec.code,
                                           rec.category,
                                           0,
                                           0,
                                           0,
                                           static_cast<uint8_t>(rec.helpCategory),
                                           static_cast<uint8_t>(rec.helpCategory >> 8),
                                           static_cast<uint8_t>(rec.time),
                                           static_cast<uint8_t>(rec.time >> 8),
                                           static_cast<uint8_t>(rec.time >> 16),
                                           static_cast<uint8_t>(rec.time >> 24)};
                for (const uint8_t b : bytes)
                    data.push_back(b);
            }
            ASSERT_TRUE(ControllerFeed::answer(MSG_FAULT_LIST, 0, data));
            ASSERT_TRUE(ControllerFeed::received().back().accepted);
        }
    }

    static bool queued(uint8_t command, uint8_t value)
    {
        return ControllerFeed::sawCommand(command, {value});
    }

    ControllerFeed controller;
};

constexpr uint32_t FAULT_TIME = 1767605415; // 2026-01-05 09:30:15

TEST_F(FaultDialog, TheListArrivesShowsItsRecordsAndTheAlarmIsAcknowledged)
{
    controllerAnswers({{0x0A, 7, 4, FAULT_TIME}, {0x3C, 60, 30, 0}});
    ASSERT_EQ(state(), "BSD_StoerungsdatenMenue");
    EXPECT_TRUE(shows("Kesselsensor")) << visibleTexts();
    EXPECT_TRUE(shows("0A"));
    EXPECT_TRUE(shows("3C"));
    EXPECT_TRUE(shows("Quittieren mit OK"));

    // Help on the first record: its code, date, time and the help text of its category.
    tap(HARDKEY_HELP);
    EXPECT_EQ(state(), "BHA_Hilfeanzeige");
    EXPECT_TRUE(shows("Code 0A")) << visibleTexts();
    EXPECT_TRUE(shows("05.01.2026"));
    EXPECT_TRUE(shows("09:30:15 Uhr"));
    EXPECT_TRUE(shows("Heizungsanlage bleibt in"));
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BSD_StoerungsdatenMenue");

    // The second record: category 60 shows "Störung"; no time shows "--:-- Uhr" and no date.
    tap(HARDKEY_DOWN);
    tap(HARDKEY_HELP);
    EXPECT_TRUE(shows("Code 3C"));
    EXPECT_TRUE(shows("--:-- Uhr"));
    EXPECT_FALSE(shows(".20")) << visibleTexts();
    EXPECT_TRUE(shows("Siehe technische Unterlagen")) << "a help category beyond the table";
    tap(HARDKEY_OK);

    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BSD_QuittierungsAbfrage");
    EXPECT_TRUE(shows("Quittieren?"));
    EXPECT_TRUE(shows("Nein"));
    tap(HARDKEY_DOWN);
    EXPECT_TRUE(shows("Ja"));
    EXPECT_TRUE(shows("Weiter mit OK"));
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BSD_QuittierungsFeedback");
    EXPECT_TRUE(shows("Übernommen"));
    EXPECT_TRUE(queued(235, 85)) << "the acknowledgement for the controller";
    EXPECT_EQ(DAT_GetFaultPending(), 0);
    EXPECT_FALSE(DAT_GetFaultPresent());

    run(4000);
    EXPECT_EQ(state(), "BGA_GrundanzeigeMenue");
}

TEST_F(FaultDialog, NoAnswerMeansNoAcknowledgementAndBackGoesToTheList)
{
    controllerAnswers({{0x0A, 7, 4, FAULT_TIME}});
    tap(HARDKEY_OK);
    ASSERT_EQ(state(), "BSD_QuittierungsAbfrage");
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BSD_StoerungsdatenMenue");
    tap(HARDKEY_OK);
    tap(HARDKEY_OK); // "Nein"
    EXPECT_EQ(state(), "BMA_Stoerung") << "back where the dialog was opened from";
    EXPECT_FALSE(queued(235, 85));
}

TEST_F(FaultDialog, AnEmptyListShowsKeineStoerungForFourSeconds)
{
    controllerAnswers({});
    ASSERT_EQ(state(), "BSD_KeineStoerung");
    EXPECT_TRUE(shows("Keine Störung"));
    run(3500);
    EXPECT_EQ(state(), "BSD_KeineStoerung");
    run(700);
    EXPECT_EQ(state(), "BMA_Stoerung");
}

TEST_F(FaultDialog, WithoutAnAnswerTheWaitingScreenClosesAfterThirtySeconds)
{
    run(29000);
    EXPECT_EQ(state(), "BSD_AufStoerungsdatenWarten");
    run(1500);
    EXPECT_EQ(state(), "BMA_Stoerung");
}

} // namespace
