// The signal catalogue: every signal number of the panel. The numbers are fixed system-wide:
// the key, timer and link tables are indexed or filled with them, and the key purge relies on
// every key signal (and nothing else) lying in 14..84.
#pragma once

#include <cstdint>

using Signal = uint16_t;

// Engine
inline constexpr Signal SIG_NONE = 0;
inline constexpr Signal SIG_EMPTY = 1;
inline constexpr Signal SIG_ENTRY = 2;
inline constexpr Signal SIG_INIT = 3;
inline constexpr Signal SIG_EXIT = 4;

// Screen navigation
inline constexpr Signal SIG_SET_RETURN_STATE = 6;
inline constexpr Signal SIG_SET_NEXT_STATE = 7;

// To the key task (priority 3)
inline constexpr Signal SIG_KEY_ACCEL = 9;
inline constexpr Signal SIG_KEY_FLUSH = 10;
inline constexpr Signal SIG_KEY_PRESSED = 12;
inline constexpr Signal SIG_KEY_RELEASED = 13;

// Key range purged by SIG_KEY_FLUSH
inline constexpr Signal SIG_KEY_FIRST = 14;
inline constexpr Signal SIG_KEY_LAST = 84;

// From the key task to priority 1: press N, release N + 1
inline constexpr Signal SIG_KEY_ANY = 15;
inline constexpr Signal SIG_KEY_ANY_REL = 16;
inline constexpr Signal SIG_KEY_BACK = 17;
inline constexpr Signal SIG_KEY_BACK_REL = 18;
inline constexpr Signal SIG_KEY_UP = 20;
inline constexpr Signal SIG_KEY_UP_REL = 21;
inline constexpr Signal SIG_KEY_LEFT = 23;
inline constexpr Signal SIG_KEY_LEFT_REL = 24;
inline constexpr Signal SIG_KEY_DOWN = 26;
inline constexpr Signal SIG_KEY_DOWN_REL = 27;
inline constexpr Signal SIG_KEY_RIGHT = 29;
inline constexpr Signal SIG_KEY_RIGHT_REL = 30;
inline constexpr Signal SIG_KEY_OK = 32;
inline constexpr Signal SIG_KEY_OK_REL = 33;
inline constexpr Signal SIG_KEY_MENU = 35;
inline constexpr Signal SIG_KEY_MENU_REL = 36;
inline constexpr Signal SIG_KEY_HELP = 38;
inline constexpr Signal SIG_KEY_HELP_REL = 39;
inline constexpr Signal SIG_KEY_OK_UP = 65;
inline constexpr Signal SIG_KEY_OK_UP_REL = 66;
inline constexpr Signal SIG_KEY_OK_DOWN = 68;
inline constexpr Signal SIG_KEY_OK_DOWN_REL = 69;
inline constexpr Signal SIG_KEY_MENU_OK = 71;
inline constexpr Signal SIG_KEY_MENU_OK_REL = 72;
inline constexpr Signal SIG_KEY_MENU_DOWN = 74;
inline constexpr Signal SIG_KEY_MENU_DOWN_REL = 75;
inline constexpr Signal SIG_KEY_OK_BACK = 77;
inline constexpr Signal SIG_KEY_OK_BACK_REL = 78;
inline constexpr Signal SIG_KEY_FAST = 83;

// Display illumination (priority 2) and contrast (priority 1)
inline constexpr Signal SIG_LIGHT_OFF = 86;
inline constexpr Signal SIG_LIGHT_NORMAL_PRESET = 87;
inline constexpr Signal SIG_LIGHT_NORMAL = 88;
inline constexpr Signal SIG_LIGHT_FULL_PRESET = 89;
inline constexpr Signal SIG_LIGHT_FULL = 90;
inline constexpr Signal SIG_LIGHT_SET = 91;
inline constexpr Signal SIG_LIGHT_MODE_HOLD = 92;
inline constexpr Signal SIG_LIGHT_MODE_IDLE = 93;
inline constexpr Signal SIG_CONTRAST_INC = 94;
inline constexpr Signal SIG_CONTRAST_DEC = 95;
inline constexpr Signal SIG_CONTRAST_CHANGED = 96;
inline constexpr Signal SIG_CONTRAST_SET = 97;

// To the timer task (priority 4)
inline constexpr Signal SIG_TIM_ENABLE = 98;
inline constexpr Signal SIG_TIM_DISABLE = 99;
inline constexpr Signal SIG_SET_CLOCK = 103;
inline constexpr Signal SIG_BEEP = 120;

// One-shot software timers: start signal (to priority 4, par = ticks) and expiry
inline constexpr Signal SIG_TMR_WAIT = 104;
inline constexpr Signal SIG_WAIT_TIMEOUT = 105;
inline constexpr Signal SIG_TMR_MENU = 106;
inline constexpr Signal SIG_MENU_TIMEOUT = 107;
inline constexpr Signal SIG_TMR_REFRESH = 108;
inline constexpr Signal SIG_REFRESH = 109;
inline constexpr Signal SIG_TMR_PROGRESS = 110;
inline constexpr Signal SIG_PROGRESS_TICK = 111;
inline constexpr Signal SIG_TMR_KEY = 112;
inline constexpr Signal SIG_KEY_TIMEOUT = 113;
inline constexpr Signal SIG_TMR_TEST = 114;
inline constexpr Signal SIG_TEST_TIMEOUT = 115;
inline constexpr Signal SIG_TMR_SERVICE = 116;
inline constexpr Signal SIG_SERVICE_TIMEOUT = 117;
inline constexpr Signal SIG_TMR_IDLE = 118;
inline constexpr Signal SIG_IDLE_TIMEOUT = 119;
inline constexpr Signal SIG_TMR_HWQC = 121;
inline constexpr Signal SIG_HWQC_TIMEOUT = 122;
inline constexpr Signal SIG_TMR_ANIM = 123;
inline constexpr Signal SIG_ANIM_TIMEOUT = 124;

// Periodic ticks
inline constexpr Signal SIG_TICK_5S = 125;
inline constexpr Signal SIG_TICK_1S = 126;
inline constexpr Signal SIG_TICK_30S = 127;
inline constexpr Signal SIG_TICK_60S = 128;

// Controller link task (priority 5)
inline constexpr Signal SIG_LINK_SERVICE = 130;
inline constexpr Signal SIG_LINK_BUS_ON = 140;
inline constexpr Signal SIG_LINK_STOP = 141;
inline constexpr Signal SIG_LINK_BUS_RESET = 142;
inline constexpr Signal SIG_LINK_START = 143;
inline constexpr Signal SIG_LINK_POLL_NOW = 167;
inline constexpr Signal SIG_LINK_POLL_ON = 168;
inline constexpr Signal SIG_LINK_POLL_OFF = 169;

// Watchdog check-ins and restarts (priority 1)
inline constexpr Signal SIG_ALIVE_ADC = 131;
inline constexpr Signal SIG_ALIVE_KEYS = 132;
inline constexpr Signal SIG_ALIVE_TICK10 = 133;
inline constexpr Signal SIG_ALIVE_TICK100 = 134;
inline constexpr Signal SIG_3UHR_RESTART = 148;
inline constexpr Signal SIG_REG_RESET = 149;
inline constexpr Signal SIG_BED_ERROR_RESET = 199;

// Serial channel 0 (priority 1)
inline constexpr Signal SIG_UART_RX = 136;
inline constexpr Signal SIG_UART_TX_DONE = 137;

// Screen navigation sent synchronously
inline constexpr Signal SIG_SERVICE_END = 144;
inline constexpr Signal SIG_MENU_TIMEOUT_LONG = 145;
inline constexpr Signal SIG_MENU_TIMEOUT_NORMAL = 146;
inline constexpr Signal SIG_HELP_REQUEST = 147;
inline constexpr Signal SIG_IBN_DONE = 161;

// Data pool and link notifications (priority 1)
inline constexpr Signal SIG_PANEL_FAULT = 150;
inline constexpr Signal SIG_STATUS_FLAG_ON = 154;
inline constexpr Signal SIG_STATUS_FLAG_OFF = 155;
inline constexpr Signal SIG_LINK_ANSWER = 165;
inline constexpr Signal SIG_LINK_STARTED = 166;
inline constexpr Signal SIG_DATA_CHANGED = 170;
inline constexpr Signal SIG_WINK = 198;

// Received controller messages, posted to priority 5 and then 1
inline constexpr Signal SIG_RX_MSG17 = 171;
inline constexpr Signal SIG_RX_MSG16 = 172;
inline constexpr Signal SIG_RX_MSG18 = 173;
inline constexpr Signal SIG_RX_MSG14 = 174;
inline constexpr Signal SIG_RX_MSG13 = 175;
inline constexpr Signal SIG_RX_MSG2 = 176;
inline constexpr Signal SIG_RX_MSG0 = 178;
inline constexpr Signal SIG_RX_MSG10 = 179;
inline constexpr Signal SIG_RX_MSG1 = 180;
inline constexpr Signal SIG_RX_MSG15 = 181;
inline constexpr Signal SIG_RX_TP_DAY1 = 182;
inline constexpr Signal SIG_RX_TP_DAY2 = 183;
inline constexpr Signal SIG_RX_TP_DAY3 = 184;
inline constexpr Signal SIG_RX_TP_DAY4 = 185;
inline constexpr Signal SIG_RX_TP_DAY5 = 186;
inline constexpr Signal SIG_RX_TP_DAY6 = 187;
inline constexpr Signal SIG_RX_TP_DAY7 = 188;
inline constexpr Signal SIG_RX_MSG22 = 193;
inline constexpr Signal SIG_RX_MSG23 = 194;
inline constexpr Signal SIG_RX_MSG24 = 195;
inline constexpr Signal SIG_RX_MSG25 = 196;
inline constexpr Signal SIG_RX_MSG26 = 197;

// Host-private, not part of the panel's catalogue: a simulation command's change of a status
// bit, applied by the illumination task on the main task (par: bit 1 selects the bit of
// StatusBlock byte 5, bit 0 set or clear).
inline constexpr Signal SIG_SIM_STATUS_BIT = 100;
