// What the screens queued for the controller since the link was last initialised, read from
// the transmit queue (no controller reads it in these tests): code, circuit and byte 4 of each
// command, data requests left out.
#pragma once

#include <string>

#include "link/dis.h"

// "205/21@1 221/0@1": command code / byte 4 @ circuit, in queue order.
inline std::string SentCommands()
{
    std::string out;
    for (uint8_t i = 0; i < DIS_QueueCount(); ++i) {
        const auto entry = DIS_QueuedEntry(i);
        if (entry[3] == 231) continue;
        if (!out.empty()) out += ' ';
        out += std::to_string(entry[3]) + '/' + std::to_string(entry[4]) + '@' +
               std::to_string(entry[2]);
    }
    return out;
}
