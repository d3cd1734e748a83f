// A week of panel life with the emulator on and keys pressed at random: the link never drops a
// command, never leaves a request waiting for long, and nothing misuses the locks.
#include <random>

#include "controller/controller_fixture.h"

namespace {

TEST_F(ControllerPanel, AWeekOfRandomKeysLeavesNoRequestWaiting)
{
    startToBasicDisplay();
    std::mt19937 random(18);
    constexpr uint64_t WEEK_MS = 7ull * 86400 * 1000;
    const uint64_t end = panel.now() + WEEK_MS;
    std::array<uint64_t, DIS_SLOTS> waitingSince{};
    uint64_t longestWait = 0;
    uint8_t longestQueue = 0;
    bool fatal = false;
    uint32_t bursts = 0;
    while (panel.now() < end) {
        // Now and then someone comes by and presses keys, a combination now and again.
        if (random() % 900 == 0) {
            ++bursts;
            const int presses = 1 + static_cast<int>(random() % 25);
            for (int i = 0; i < presses; ++i) {
                const bool combination = random() % 40 == 0;
                const int key = combination ? 8 + static_cast<int>(random() % 5)
                                            : static_cast<int>(random() % 8);
                tap(key, combination ? 4500 : 100 + random() % 400);
                run(static_cast<uint32_t>(random() % 3000));
            }
        }
        run(1000);
        // Slots 0..2 only mirror the circuit slots of the selected circuit: a circuit chosen
        // while its answer travels leaves the mirror behind until the next poll.
        for (uint8_t s = 3; s < DIS_SLOTS; ++s) {
            if (DIS_SlotState(s) != SLOT_WAITING) {
                waitingSince[s] = 0;
            } else if (waitingSince[s] == 0) {
                waitingSince[s] = panel.now();
            } else {
                longestWait = std::max(longestWait, panel.now() - waitingSince[s]);
            }
        }
        longestQueue = std::max(longestQueue, DIS_QueueCount());
        if (panel.now() % 3600000 < 1000) {
            fatal = fatal || log.contains("FATAL");
            log.clear();
        }
    }
    fatal = fatal || log.contains("FATAL");
    EXPECT_GT(bursts, 100u);
    EXPECT_FALSE(fatal);
    EXPECT_LT(longestQueue, DIS_TX_QUEUE_ENTRIES) << "a command would have been dropped";
    EXPECT_LT(longestWait, 5000u) << "a request waited for its answer";
    EXPECT_FALSE(CTL_IsSilent());
}

} // namespace
