// A pool cleared as at a cold start, a link as at its start, and recording machines at the
// priorities the pool and the link post to (1 user interface, 4 timer, 5 link), so a test can
// play the controller's side and look at what the panel posted.
#pragma once

#include <vector>

#include <gtest/gtest.h>

#include "data/datapool.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "sim/controller/bus_master.h"
#include "sim/hal/host_services.h"

struct Posted {
    uint8_t priority;
    Signal sig;
    uint32_t par;
    bool operator==(const Posted&) const = default;
};

inline std::vector<Posted>& PostedEvents()
{
    static std::vector<Posted> events;
    return events;
}

template <uint8_t P> StateHandler RecordAt(Hsm&, const Event& e)
{
    if (e.sig == SIG_EMPTY) return &HSM_Top;
    if (e.sig > SIG_EXIT) PostedEvents().push_back({P, e.sig, e.par});
    return nullptr;
}

inline const State RecorderUi{"TEST_Ui", &RecordAt<PRIO_UI>};
inline const State RecorderTimer{"TEST_Timer", &RecordAt<PRIO_TIMER>};
inline const State RecorderLink{"TEST_Link", &RecordAt<PRIO_LINK>};

inline constexpr int64_t FIXTURE_LOCAL_TIME = 1767607200; // 2026-01-05 10:00:00

class PoolFixture : public ::testing::Test {
  protected:
    void SetUp() override
    {
        for (uint8_t p = 0; p < PRIO_COUNT; ++p)
            EVT_Construct(p);
        EVT_Machine(PRIO_UI)->state = &RecorderUi;
        EVT_Machine(PRIO_TIMER)->state = &RecorderTimer;
        EVT_Machine(PRIO_LINK)->state = &RecorderLink;
        SIM_SetFixedLocalTime(FIXTURE_LOCAL_TIME);
        DAT_ClearAll(1);
        DIS_InitLink();
        DIS_ResetBusState();
        EVT_Run();
        PostedEvents().clear();
    }
    void TearDown() override
    {
        for (uint8_t p = 0; p < PRIO_COUNT; ++p)
            EVT_Construct(p);
        DIS_SetBusDriver(nullptr);
    }

    // Dispatches what is pending and returns everything recorded since the last clear.
    static const std::vector<Posted>& Dispatched()
    {
        EVT_Run();
        return PostedEvents();
    }
    static size_t Count(uint8_t priority, Signal sig)
    {
        size_t n = 0;
        for (const Posted& p : Dispatched())
            n += p.priority == priority && p.sig == sig;
        return n;
    }

    // The controller answers the request standing in the request buffer: a message write to
    // block 16 with that request's sequence number, then the link's dispatch step.
    static void Answer(uint8_t message, std::vector<uint8_t> body)
    {
        ASSERT_FALSE(body.empty()) << "the circuit byte comes first";
        ASSERT_TRUE(BUS_Answer(message, body[0], std::span(body).subspan(1)));
        DIS_DispatchReceived();
    }
    // The request now standing in the request buffer: message number and circuit byte.
    static std::pair<uint8_t, uint8_t> Standing()
    {
        return {static_cast<uint8_t>(DIS_RequestBuffer()[1] >> 3), DIS_RequestBuffer()[2]};
    }

    // Loads a configuration byte as message 10 would.
    static void SetCircuitConfiguration(uint8_t value) { DAT_Block(DatBlock::Config)[23] = value; }
};
