// Runs the panel's start-up and idle loop on virtual time with a recording machine at
// priority 1 in place of the user interface, so kernel behaviour can be checked event by event.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "kernel/app.h"
#include "kernel/evt.h"
#include "sim/hal/cpu_timer.h"
#include "sim/hal/host_services.h"
#include "sim/hal/keys.h"
#include "sim/hal/ticks.h"
#include "startup/startup.h"

struct RecordedEvent {
    Signal sig;
    uint32_t par;
    uint64_t at; // virtual milliseconds
};

class PanelHarness {
  public:
    PanelHarness()
    {
        SIM_SetTickSource(&ticks_);
        SIM_SetHardkeyCount(HARDKEY_COUNT);
        SIM_SetFixedLocalTime(1767607200); // 2026-01-05 10:00:00
        recorded().clear();
        onEvent() = nullptr;
        APP_SetUserInterface(&recorder);
    }
    ~PanelHarness()
    {
        // Leave the ticks disabled for the next test, as a restart would.
        for (uint8_t t = 0; t < 4; ++t)
            while (tim_enableCount(t) > 0) {
                if (t == 0) tim_disableTimer1ms();
                if (t == 1) tim_disableTimer10ms();
                if (t == 2) tim_disableTimer20ms();
                if (t == 3) tim_disableTimer100ms();
            }
        APP_SetUserInterface(nullptr); // the system monitor again
        SIM_SetTickSource(nullptr);
    }

    // One start-up as the main task does it; returns the start type.
    uint8_t start()
    {
        APP_Persistent().restartFlag = 0;
        const uint8_t type = APP_Init();
        APP_Start(type);
        return type;
    }

    // Idle-loop passes: dispatch, then wait 100 ms of virtual time.
    void run(uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 100) {
            EVT_Run();
            SIM_Delay(100);
        }
        EVT_Run();
    }

    uint64_t now() const { return ticks_.nowMs(); }
    SIM_VirtualTicks& ticks() { return ticks_; }

    static std::vector<RecordedEvent>& recorded()
    {
        static std::vector<RecordedEvent> events;
        return events;
    }
    // The recorded events with the given signals, in order.
    static std::vector<RecordedEvent> only(std::initializer_list<Signal> sigs)
    {
        std::vector<RecordedEvent> out;
        for (const RecordedEvent& e : recorded())
            for (Signal s : sigs)
                if (e.sig == s) out.push_back(e);
        return out;
    }

    static StateHandler recorderHandler(Hsm&, const Event& e)
    {
        switch (e.sig) {
        case SIG_EMPTY: return &HSM_Top;
        case SIG_ENTRY:
        case SIG_EXIT: return nullptr;
        case SIG_INIT:
            lastStartParameter() = e.par;
            EVT_Post(PRIO_TIMER, SIG_TIM_ENABLE);
            return nullptr;
        default: break;
        }
        recorded().push_back({e.sig, e.par, SIM_Ticks().nowMs()});
        if (onEvent()) onEvent()(e);
        return nullptr;
    }
    // Called for every recorded event, to look at the panel at the moment of dispatch.
    static std::function<void(const Event&)>& onEvent()
    {
        static std::function<void(const Event&)> hook;
        return hook;
    }
    static uint32_t& lastStartParameter()
    {
        static uint32_t p = 0;
        return p;
    }
    static const State recorder;

  private:
    SIM_VirtualTicks ticks_;
};

inline const State PanelHarness::recorder{"TEST_Recorder", &PanelHarness::recorderHandler};
