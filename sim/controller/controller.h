// The boiler-controller emulator for the hosts: a controller that plays the bus master of the
// panel's link over the real frame protocol, through the bus driver interface and the four byte
// handlers only, on a bus timing of its own on the panel's tick source. It answers every data
// request, applies every command to its plant model and raises the events a test or a user
// injects. A real bus adapter could take its place without the panel noticing.
//
// Threads: the bus runs where the panel's ticks run (the main thread on virtual time, the tick
// thread on real time); the functions below may be called from any host thread.
#pragma once

#include <cstdint>
#include <string>

// Where the emulator tells what it did: one line each, "controller ...".
using CTL_ReportFn = void (*)(const std::string& line);

struct CtlSettings {
    int64_t clock = 0;     // the controller's clock when it starts, local seconds since 1970
    std::string stateFile; // where its state is kept across runs; empty: nowhere
    bool fresh = false;    // start from the built-in values, whatever the state file holds
};

// Creates the emulator, switched off, and connects it to the panel's tick source; with a
// state file it starts from the state kept there (a damaged file is reported once and the
// built-in values are used). Destroy disconnects it and restores the inert bus.
void CTL_Create(const CtlSettings& settings, CTL_ReportFn report);
void CTL_Destroy();
bool CTL_Exists();

// On: the emulator is the panel's bus driver and its controller. Off: the bus is inert again,
// as the desktop bus always was, and the supervision is disarmed.
void CTL_SetOn(bool on);
bool CTL_IsOn();

// Events to inject (reported like the commands).
void CTL_InjectFault(uint8_t code);
void CTL_InjectMaintenance();
void CTL_InjectLockout();
void CTL_InjectCommissioning();
void CTL_InjectWink();
void CTL_InjectPanelReset();
// No more transfers at all: the panel's bus supervision notices.
void CTL_InjectSilence();
// Every injected event ended, and a silent controller talks again.
void CTL_ClearEvents();
bool CTL_IsSilent();

// Writes the state file when something it keeps has changed since the last write; false with
// the reason when writing failed (the file then stays as it was).
bool CTL_SaveState(std::string* error = nullptr);

// The state file under the user's state directory: $XDG_STATE_HOME/panelsim/controller.state,
// or ~/.local/state/panelsim/controller.state.
std::string CTL_DefaultStatePath();
