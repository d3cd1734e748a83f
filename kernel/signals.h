// The signal catalogue: every signal number of the panel. The numbers are fixed system-wide:
// the key, timer and link tables are indexed or filled with them, and the key purge relies on
// every key signal (and nothing else) lying in 14..84. Each signal is one row of the catalogue
// below, which defines its constant and lets the compiler check the numbers: no number twice,
// and a row is of kind Key exactly when its number lies in the purged range.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using Signal = uint16_t;

// Key range purged by SIG_KEY_FLUSH.
inline constexpr Signal SIG_KEY_FIRST = 14;
inline constexpr Signal SIG_KEY_LAST = 84;

// Key: a key signal to priority 1, purged by SIG_KEY_FLUSH. Panel: any other signal of the panel.
// Host: a signal of the simulation host, which no real panel sends.
enum class SigKind : uint8_t { Key, Panel, Host };

// clang-format off
// ROW(name, number, kind)
#define SIG_CATALOGUE(ROW) \
    /* Engine */                                                                         \
    ROW(SIG_NONE, 0, Panel)                                                              \
    ROW(SIG_EMPTY, 1, Panel)                                                             \
    ROW(SIG_ENTRY, 2, Panel)                                                             \
    ROW(SIG_INIT, 3, Panel)                                                              \
    ROW(SIG_EXIT, 4, Panel)                                                              \
    /* Screen navigation */                                                              \
    ROW(SIG_SET_RETURN_STATE, 6, Panel)                                                  \
    ROW(SIG_SET_NEXT_STATE, 7, Panel)                                                    \
    /* To the key task (priority 3) */                                                   \
    ROW(SIG_KEY_ACCEL, 9, Panel)                                                         \
    ROW(SIG_KEY_FLUSH, 10, Panel)                                                        \
    ROW(SIG_KEY_PRESSED, 12, Panel)                                                      \
    ROW(SIG_KEY_RELEASED, 13, Panel)                                                     \
    /* From the key task to priority 1: press N, release N + 1 */                        \
    ROW(SIG_KEY_ANY, 15, Key)                                                            \
    ROW(SIG_KEY_ANY_REL, 16, Key)                                                        \
    ROW(SIG_KEY_BACK, 17, Key)                                                           \
    ROW(SIG_KEY_BACK_REL, 18, Key)                                                       \
    ROW(SIG_KEY_UP, 20, Key)                                                             \
    ROW(SIG_KEY_UP_REL, 21, Key)                                                         \
    ROW(SIG_KEY_LEFT, 23, Key)                                                           \
    ROW(SIG_KEY_LEFT_REL, 24, Key)                                                       \
    ROW(SIG_KEY_DOWN, 26, Key)                                                           \
    ROW(SIG_KEY_DOWN_REL, 27, Key)                                                       \
    ROW(SIG_KEY_RIGHT, 29, Key)                                                          \
    ROW(SIG_KEY_RIGHT_REL, 30, Key)                                                      \
    ROW(SIG_KEY_OK, 32, Key)                                                             \
    ROW(SIG_KEY_OK_REL, 33, Key)                                                         \
    ROW(SIG_KEY_MENU, 35, Key)                                                           \
    ROW(SIG_KEY_MENU_REL, 36, Key)                                                       \
    ROW(SIG_KEY_HELP, 38, Key)                                                           \
    ROW(SIG_KEY_HELP_REL, 39, Key)                                                       \
    ROW(SIG_KEY_OK_UP, 65, Key)                                                          \
    ROW(SIG_KEY_OK_UP_REL, 66, Key)                                                      \
    ROW(SIG_KEY_OK_DOWN, 68, Key)                                                        \
    ROW(SIG_KEY_OK_DOWN_REL, 69, Key)                                                    \
    ROW(SIG_KEY_MENU_OK, 71, Key)                                                        \
    ROW(SIG_KEY_MENU_OK_REL, 72, Key)                                                    \
    ROW(SIG_KEY_MENU_DOWN, 74, Key)                                                      \
    ROW(SIG_KEY_MENU_DOWN_REL, 75, Key)                                                  \
    ROW(SIG_KEY_OK_BACK, 77, Key)                                                        \
    ROW(SIG_KEY_OK_BACK_REL, 78, Key)                                                    \
    ROW(SIG_KEY_FAST, 83, Key)                                                           \
    /* Display illumination (priority 2) and contrast (priority 1) */                    \
    ROW(SIG_LIGHT_OFF, 86, Panel)                                                        \
    ROW(SIG_LIGHT_NORMAL_PRESET, 87, Panel)                                              \
    ROW(SIG_LIGHT_NORMAL, 88, Panel)                                                     \
    ROW(SIG_LIGHT_FULL_PRESET, 89, Panel)                                                \
    ROW(SIG_LIGHT_FULL, 90, Panel)                                                       \
    ROW(SIG_LIGHT_SET, 91, Panel)                                                        \
    ROW(SIG_LIGHT_MODE_HOLD, 92, Panel)                                                  \
    ROW(SIG_LIGHT_MODE_IDLE, 93, Panel)                                                  \
    ROW(SIG_CONTRAST_INC, 94, Panel)                                                     \
    ROW(SIG_CONTRAST_DEC, 95, Panel)                                                     \
    ROW(SIG_CONTRAST_CHANGED, 96, Panel)                                                 \
    ROW(SIG_CONTRAST_SET, 97, Panel)                                                     \
    /* To the timer task (priority 4) */                                                 \
    ROW(SIG_TIM_ENABLE, 98, Panel)                                                       \
    ROW(SIG_TIM_DISABLE, 99, Panel)                                                      \
    ROW(SIG_SET_CLOCK, 103, Panel)                                                       \
    ROW(SIG_BEEP, 120, Panel)                                                            \
    /* One-shot software timers: start signal (to priority 4, par = ticks) and expiry */ \
    ROW(SIG_TMR_WAIT, 104, Panel)                                                        \
    ROW(SIG_WAIT_TIMEOUT, 105, Panel)                                                    \
    ROW(SIG_TMR_MENU, 106, Panel)                                                        \
    ROW(SIG_MENU_TIMEOUT, 107, Panel)                                                    \
    ROW(SIG_TMR_REFRESH, 108, Panel)                                                     \
    ROW(SIG_REFRESH, 109, Panel)                                                         \
    ROW(SIG_TMR_PROGRESS, 110, Panel)                                                    \
    ROW(SIG_PROGRESS_TICK, 111, Panel)                                                   \
    ROW(SIG_TMR_KEY, 112, Panel)                                                         \
    ROW(SIG_KEY_TIMEOUT, 113, Panel)                                                     \
    ROW(SIG_TMR_TEST, 114, Panel)                                                        \
    ROW(SIG_TEST_TIMEOUT, 115, Panel)                                                    \
    ROW(SIG_TMR_SERVICE, 116, Panel)                                                     \
    ROW(SIG_SERVICE_TIMEOUT, 117, Panel)                                                 \
    ROW(SIG_TMR_IDLE, 118, Panel)                                                        \
    ROW(SIG_IDLE_TIMEOUT, 119, Panel)                                                    \
    ROW(SIG_TMR_HWQC, 121, Panel)                                                        \
    ROW(SIG_HWQC_TIMEOUT, 122, Panel)                                                    \
    ROW(SIG_TMR_ANIM, 123, Panel)                                                        \
    ROW(SIG_ANIM_TIMEOUT, 124, Panel)                                                    \
    /* Periodic ticks */                                                                 \
    ROW(SIG_TICK_5S, 125, Panel)                                                         \
    ROW(SIG_TICK_1S, 126, Panel)                                                         \
    ROW(SIG_TICK_30S, 127, Panel)                                                        \
    ROW(SIG_TICK_60S, 128, Panel)                                                        \
    /* Controller link task (priority 5) */                                              \
    ROW(SIG_LINK_SERVICE, 130, Panel)                                                    \
    ROW(SIG_LINK_BUS_ON, 140, Panel)                                                     \
    ROW(SIG_LINK_STOP, 141, Panel)                                                       \
    ROW(SIG_LINK_BUS_RESET, 142, Panel)                                                  \
    ROW(SIG_LINK_START, 143, Panel)                                                      \
    ROW(SIG_LINK_POLL_NOW, 167, Panel)                                                   \
    ROW(SIG_LINK_POLL_ON, 168, Panel)                                                    \
    ROW(SIG_LINK_POLL_OFF, 169, Panel)                                                   \
    /* Watchdog check-ins and restarts (priority 1) */                                   \
    ROW(SIG_ALIVE_ADC, 131, Panel)                                                       \
    ROW(SIG_ALIVE_KEYS, 132, Panel)                                                      \
    ROW(SIG_ALIVE_TICK10, 133, Panel)                                                    \
    ROW(SIG_ALIVE_TICK100, 134, Panel)                                                   \
    ROW(SIG_3UHR_RESTART, 148, Panel)                                                    \
    ROW(SIG_REG_RESET, 149, Panel)                                                       \
    ROW(SIG_BED_ERROR_RESET, 199, Panel)                                                 \
    /* Serial channel 0 (priority 1) */                                                  \
    ROW(SIG_UART_RX, 136, Panel)                                                         \
    ROW(SIG_UART_TX_DONE, 137, Panel)                                                    \
    /* Screen navigation sent synchronously */                                           \
    ROW(SIG_SERVICE_END, 144, Panel)                                                     \
    ROW(SIG_MENU_TIMEOUT_LONG, 145, Panel)                                               \
    ROW(SIG_MENU_TIMEOUT_NORMAL, 146, Panel)                                             \
    ROW(SIG_HELP_REQUEST, 147, Panel)                                                    \
    ROW(SIG_IBN_DONE, 161, Panel)                                                        \
    /* Data pool and link notifications (priority 1) */                                  \
    ROW(SIG_PANEL_FAULT, 150, Panel)                                                     \
    ROW(SIG_STATUS_FLAG_ON, 154, Panel)                                                  \
    ROW(SIG_STATUS_FLAG_OFF, 155, Panel)                                                 \
    ROW(SIG_LINK_ANSWER, 165, Panel)                                                     \
    ROW(SIG_LINK_STARTED, 166, Panel)                                                    \
    ROW(SIG_DATA_CHANGED, 170, Panel)                                                    \
    ROW(SIG_WINK, 198, Panel)                                                            \
    /* Received controller messages, posted to priority 5 and then 1 */                  \
    ROW(SIG_RX_MSG17, 171, Panel)                                                        \
    ROW(SIG_RX_MSG16, 172, Panel)                                                        \
    ROW(SIG_RX_MSG18, 173, Panel)                                                        \
    ROW(SIG_RX_MSG14, 174, Panel)                                                        \
    ROW(SIG_RX_MSG13, 175, Panel)                                                        \
    ROW(SIG_RX_MSG2, 176, Panel)                                                         \
    ROW(SIG_RX_MSG0, 178, Panel)                                                         \
    ROW(SIG_RX_MSG10, 179, Panel)                                                        \
    ROW(SIG_RX_MSG1, 180, Panel)                                                         \
    ROW(SIG_RX_MSG15, 181, Panel)                                                        \
    ROW(SIG_RX_TP_DAY1, 182, Panel)                                                      \
    ROW(SIG_RX_TP_DAY2, 183, Panel)                                                      \
    ROW(SIG_RX_TP_DAY3, 184, Panel)                                                      \
    ROW(SIG_RX_TP_DAY4, 185, Panel)                                                      \
    ROW(SIG_RX_TP_DAY5, 186, Panel)                                                      \
    ROW(SIG_RX_TP_DAY6, 187, Panel)                                                      \
    ROW(SIG_RX_TP_DAY7, 188, Panel)                                                      \
    ROW(SIG_RX_MSG22, 193, Panel)                                                        \
    ROW(SIG_RX_MSG23, 194, Panel)                                                        \
    ROW(SIG_RX_MSG24, 195, Panel)                                                        \
    ROW(SIG_RX_MSG25, 196, Panel)                                                        \
    ROW(SIG_RX_MSG26, 197, Panel)                                                        \
    /* Host-only, not the panel's: a simulation command's change of a status bit, */     \
    /* applied by the illumination task on the main task (par: bit 1 selects the */      \
    /* bit of StatusBlock byte 5, bit 0 set or clear). */                                \
    ROW(SIG_SIM_STATUS_BIT, 100, Host)

// clang-format on

#define SIG_DEFINE(name, number, kind) inline constexpr Signal name = number;
SIG_CATALOGUE(SIG_DEFINE)
#undef SIG_DEFINE

struct SigRow {
    Signal sig;
    SigKind kind;
};
#define SIG_ROW(name, number, kind) SigRow{name, SigKind::kind},
inline constexpr std::array SIG_ROWS{SIG_CATALOGUE(SIG_ROW)};
#undef SIG_ROW

constexpr bool SIG_NumbersUnique()
{
    for (size_t i = 0; i < SIG_ROWS.size(); ++i)
        for (size_t k = i + 1; k < SIG_ROWS.size(); ++k)
            if (SIG_ROWS[i].sig == SIG_ROWS[k].sig) return false;
    return true;
}
static_assert(SIG_NumbersUnique(), "a signal number is given twice");

constexpr bool SIG_KeysExactlyInTheirRange()
{
    for (const SigRow& row : SIG_ROWS) {
        const bool inRange = row.sig >= SIG_KEY_FIRST && row.sig <= SIG_KEY_LAST;
        if (inRange != (row.kind == SigKind::Key)) return false;
    }
    return true;
}
static_assert(SIG_KeysExactlyInTheirRange(),
              "the key purge removes 14..84: every key signal lies there, and nothing else");
