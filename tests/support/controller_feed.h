// The controller's part in a test with the whole panel: its writes, answers and reads go
// through the panel's bus byte handlers (sim/controller/bus_master.h), each followed by the link
// service as the bus driver posts it, dispatched at once. Everything the panel queues for the
// controller and every message it accepts or rejects is recorded while the feed is in scope.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "kernel/evt.h"
#include "link/dis.h"
#include "sim/controller/bus_master.h"

class ControllerFeed {
  public:
    struct Queued {
        std::vector<uint8_t> bytes;
        bool dropped;
    };
    struct Received {
        uint8_t message;
        uint8_t circuit;
        bool accepted;
    };

    ControllerFeed()
    {
        clear();
        DIS_SetObserver(&OBSERVER);
    }
    ~ControllerFeed() { DIS_SetObserver(nullptr); }
    ControllerFeed(const ControllerFeed&) = delete;
    ControllerFeed& operator=(const ControllerFeed&) = delete;

    static bool write(uint8_t block, const std::vector<uint8_t>& data)
    {
        const bool acknowledged = BUS_WriteBlock(block, data);
        service();
        return acknowledged;
    }
    static bool answer(uint8_t message, uint8_t circuit, const std::vector<uint8_t>& data)
    {
        const bool acknowledged = BUS_Answer(message, circuit, data);
        service();
        return acknowledged;
    }
    static std::vector<uint8_t> read(uint8_t command)
    {
        const std::vector<uint8_t> bytes = BUS_Read(command);
        service();
        return bytes;
    }
    // The link service the bus driver posts after a transfer, and its dispatch.
    static void service()
    {
        DIS_OnTransferDone();
        EVT_Run();
    }

    // Forgets what was recorded so far.
    static void clear()
    {
        queued().clear();
        received().clear();
    }
    static std::vector<Queued>& queued()
    {
        static std::vector<Queued> entries;
        return entries;
    }
    static std::vector<Received>& received()
    {
        static std::vector<Received> messages;
        return messages;
    }
    // Whether a command with this code was queued (not dropped) with these bytes from byte 4.
    static bool sawCommand(uint8_t code, std::initializer_list<uint8_t> parameters = {})
    {
        return std::any_of(queued().begin(), queued().end(), [&](const Queued& q) {
            return !q.dropped && q.bytes.size() >= 4 + parameters.size() && q.bytes[3] == code &&
                   std::equal(parameters.begin(), parameters.end(), q.bytes.begin() + 4);
        });
    }

  private:
    static void onQueued(std::span<const uint8_t> entry, bool dropped)
    {
        queued().push_back({{entry.begin(), entry.end()}, dropped});
    }
    static void onReceived(uint8_t message, uint8_t circuit, bool accepted)
    {
        received().push_back({message, circuit, accepted});
    }
    static constexpr DIS_Observer OBSERVER{onQueued, onReceived};
};
