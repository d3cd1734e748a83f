// The controller's side of the panel protocol: the blocks it writes and reads, its messages and
// the panel's commands, and the two things the controller does with them: answer a request with
// a message built from the plant, and apply a command to the plant.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "sim/controller/ctl_plant.h"

// Blocks of the panel as the controller addresses them.
inline constexpr uint8_t CTL_BLOCK_MESSAGE = 16; // a message to the panel
inline constexpr uint8_t CTL_BLOCK_MASK = 24;    // messages the panel should ask for again
inline constexpr uint8_t CTL_BLOCK_STATUS = 28;  // the status transfer
inline constexpr uint8_t CTL_PANEL_BLOCK = 20;   // byte 0 of a short request
inline constexpr uint8_t CTL_LONG_BLOCK = 35;    // byte 0 of a long request
inline constexpr size_t CTL_MESSAGE_SIZE = 32;
inline constexpr size_t CTL_STATUS_TRANSFER = 21;
inline constexpr size_t CTL_SHORT_REQUEST = 9;
inline constexpr size_t CTL_LONG_REQUEST = 30;

// Message numbers.
inline constexpr uint8_t CTL_MSG_STATISTICS = 0;
inline constexpr uint8_t CTL_MSG_CIRCUIT = 1;
inline constexpr uint8_t CTL_MSG_SYSTEM = 2;
inline constexpr uint8_t CTL_MSG_FIRST_DAY = 3; // switching times of Monday .. Sunday: 3 .. 9
inline constexpr uint8_t CTL_MSG_LAST_DAY = 9;
inline constexpr uint8_t CTL_MSG_CONFIG = 10;
inline constexpr uint8_t CTL_MSG_HISTORY_CLEAR = 12;
inline constexpr uint8_t CTL_MSG_ACTUATOR = 13;
inline constexpr uint8_t CTL_MSG_CODING = 14;
inline constexpr uint8_t CTL_MSG_BOILER = 15;
inline constexpr uint8_t CTL_MSG_PARTICIPANT = 16;
inline constexpr uint8_t CTL_MSG_SOLAR = 17;
inline constexpr uint8_t CTL_MSG_CIRCUIT_DIAG = 18;
inline constexpr uint8_t CTL_MSG_FAULTS = 22;
inline constexpr uint8_t CTL_MSG_HISTORY = 23;
inline constexpr uint8_t CTL_MSG_EXTRA = 24;
inline constexpr uint8_t CTL_MSG_LABEL = 25;
inline constexpr uint8_t CTL_MSG_SOLAR_STATS = 26;
inline constexpr uint8_t CTL_MESSAGES = 27;

// The data request; every other code is a command applied to the plant.
inline constexpr uint8_t CTL_CMD_DATA_REQUEST = 231;

constexpr uint8_t CTL_Header(uint8_t message, uint8_t sequence)
{
    return static_cast<uint8_t>(message << 3 | (sequence & 7));
}

// A message as the controller writes it through the message blocks.
struct CtlMessage {
    std::array<uint8_t, CTL_MESSAGE_SIZE> bytes{};
    uint8_t length = 0;
};

// The message `message` for `circuit` (part = the part of a list or a label) answering the
// request with sequence number `sequence`.
CtlMessage CTL_BuildMessage(const CtlPlant& plant, uint8_t message, uint8_t circuit, uint8_t part,
                            uint8_t sequence);

// What the controller did with one request of the panel.
struct CtlApplied {
    uint8_t message = 0; // the answer
    uint8_t circuit = 0;
    uint8_t part = 0;
    uint8_t sequence = 0;
    uint16_t changeMask = 0; // messages 0..14 changed beyond the answer
    bool persistent = false; // something the state file keeps has changed
    std::string report;      // what was done; empty for a plain data request
};

// Applies a request as read from the panel (9 bytes of a short one, 30 of a long one).
CtlApplied CTL_ApplyRequest(CtlPlant& plant, std::span<const uint8_t> request);

// The events a test or a user injects, as the controller would raise them itself.
void CTL_RaiseFault(CtlPlant& plant, uint8_t code);
void CTL_RaiseMaintenance(CtlPlant& plant);
void CTL_RaiseLockout(CtlPlant& plant);
void CTL_RaiseCommissioning(CtlPlant& plant);
void CTL_RaiseWink(CtlPlant& plant);
void CTL_RaisePanelReset(CtlPlant& plant);
// Every injected event ended: faults acknowledged, maintenance done, burner unlocked, no
// commissioning, wink or reset request.
void CTL_ClearEvents(CtlPlant& plant);
