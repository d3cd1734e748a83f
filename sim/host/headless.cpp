#include "sim/host/headless.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "data/datapool.h"
#include "gfx/gfx.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "sim/hal/debug.h"
#include "sim/hal/host_services.h"
#include "sim/hal/instance.h"
#include "sim/hal/intrinsics.h"
#include "sim/hal/keys.h"
#include "sim/hal/serial_port.h"
#include "sim/hal/ticks.h"
#include "sim/host/golden.h"
#include "sim/host/lcd_view.h"
#include "sim/host/script.h"
#include "startup/startup.h"

namespace {

constexpr int64_t defaultClock = 1767607200; // 2026-01-05 10:00:00
constexpr uint32_t byteTimeUs = 2292;        // one byte at 4800 baud, 8E1 (11 bits)

// Standard output: the debug log byte for byte, and the runner's own lines, each starting
// with "@ " on a line of its own.
class Output {
  public:
    void log(const char* text, size_t length)
    {
        std::lock_guard guard(lock_);
        fwrite(text, 1, length, stdout);
        log_.append(text, length);
        if (length > 0) atLineStart_ = text[length - 1] == '\n';
    }
    void line(const std::string& text)
    {
        std::lock_guard guard(lock_);
        if (!atLineStart_) fputc('\n', stdout);
        fprintf(stdout, "@ %s\n", text.c_str());
        atLineStart_ = true;
    }
    // Finds `part` in the log after the previous match; moves the match position past it.
    bool matchLog(const std::string& part)
    {
        std::lock_guard guard(lock_);
        const size_t at = log_.find(part, logMatch_);
        if (at == std::string::npos) return false;
        logMatch_ = at + part.size();
        return true;
    }
    void flush()
    {
        std::lock_guard guard(lock_);
        fflush(stdout);
    }

  private:
    std::mutex lock_;
    std::string log_;
    size_t logMatch_ = 0;
    bool atLineStart_ = true;
};

Output output;

std::string hex(uint8_t b)
{
    char s[3];
    snprintf(s, sizeof s, "%02X", b);
    return s;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// What the runner looks at in the panel; on --realtime only while the main task is held.
std::string currentStateName()
{
    const StateHandler s = EVT_CurrentState(PRIO_UI);
    return s ? s->name : "(none)";
}

std::vector<std::string> visibleTextLines()
{
    std::vector<std::string> lines;
    for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i) {
        const GFX_VisibleText t = GFX_GetVisibleText(i);
        lines.push_back("text " + std::to_string(t.rect.x0) + " " + std::to_string(t.rect.y0) +
                        " " + std::to_string(t.rect.x1) + " " + std::to_string(t.rect.y1) + " " +
                        quoted(t.text));
    }
    return lines;
}

bool anyTextContains(const std::string& part)
{
    for (uint16_t i = 0; i < GFX_VisibleTextCount(); ++i)
        if (std::string(GFX_GetVisibleText(i).text).find(part) != std::string::npos) return true;
    return false;
}

// The steps of a script and what they need from the two ways of running it.
class Runner {
  public:
    explicit Runner(Script script) : script_(std::move(script)) {}
    virtual ~Runner() = default;

    enum class Flow { Next, Wait, End };

  protected:
    // Runs one step; Wait leaves the wait time in waitMs_.
    Flow step(const ScriptStep& s)
    {
        switch (s.op) {
        case ScriptStep::Op::Clock: SIM_SetFixedLocalTime(s.number); return Flow::Next;
        case ScriptStep::Op::Wait: waitMs_ = static_cast<uint64_t>(s.number); return Flow::Wait;
        case ScriptStep::Op::Press: press(s); return Flow::Next;
        case ScriptStep::Op::Release: release(); return Flow::Next;
        case ScriptStep::Op::HardkeyDown:
            SIM_HardkeyEvent(static_cast<int>(s.number), true);
            return Flow::Next;
        case ScriptStep::Op::HardkeyUp:
            SIM_HardkeyEvent(static_cast<int>(s.number), false);
            return Flow::Next;
        case ScriptStep::Op::Uart0: receive(s.bytes); return Flow::Next;
        case ScriptStep::Op::Shot: return shot(s) ? Flow::Next : fail(s, error_);
        case ScriptStep::Op::ExpectShot: return expectShot(s);
        case ScriptStep::Op::Texts: {
            std::vector<std::string> lines;
            withPanel([&] { lines = visibleTextLines(); });
            for (const std::string& l : lines)
                output.line(l);
            return Flow::Next;
        }
        case ScriptStep::Op::State: {
            std::string name;
            withPanel([&] { name = currentStateName(); });
            output.line("state " + name);
            return Flow::Next;
        }
        case ScriptStep::Op::ExpectState: {
            std::string name;
            withPanel([&] { name = currentStateName(); });
            if (name == s.text) return Flow::Next;
            return fail(s, "expected state " + s.text + ", the panel is in " + name);
        }
        case ScriptStep::Op::ExpectText: {
            bool found = false;
            withPanel([&] { found = anyTextContains(s.text); });
            return found ? Flow::Next : fail(s, "no visible text contains " + quoted(s.text));
        }
        case ScriptStep::Op::ExpectLog:
            return output.matchLog(s.text) ? Flow::Next
                                           : fail(s, "the log does not contain " + quoted(s.text));
        case ScriptStep::Op::ExpectTx: return expectTx(s);
        case ScriptStep::Op::Language:
            withPanel([&] {
                DAT_SetLanguageIndex(static_cast<uint8_t>(s.number));
                DAT_ApplyDisplaySettings();
            });
            return Flow::Next;
        }
        return Flow::Next;
    }

    Flow fail(const ScriptStep& s, const std::string& why)
    {
        output.line("FAIL line " + std::to_string(s.line) + ": " + why);
        exitCode_ = 1;
        return Flow::End;
    }

    void press(const ScriptStep& s)
    {
        release();
        if (s.hardkey >= 0) {
            SIM_HardkeyEvent(s.hardkey, true);
            held_ = s.hardkey;
        } else {
            KEY_SetPattern(s.pattern); // two keys that form no combination of the device
            heldPattern_ = true;
        }
    }

    void release()
    {
        if (held_ >= 0) SIM_HardkeyEvent(held_, false);
        if (heldPattern_) KEY_SetPattern(0);
        held_ = -1;
        heldPattern_ = false;
    }

    bool shot(const ScriptStep& s)
    {
        const std::vector<uint8_t> rgb = LcdView::toRgb(lcd_.snapshot());
        if (PNG_WriteRgb(s.text, rgb.data(), SIM_LCD_WIDTH, SIM_LCD_HEIGHT, &error_)) return true;
        return false;
    }

    Flow expectShot(const ScriptStep& s)
    {
        const std::vector<uint8_t> rgb = LcdView::toRgb(lcd_.snapshot());
        std::string report;
        if (GOLDEN_Compare(rgb.data(), SIM_LCD_WIDTH, SIM_LCD_HEIGHT, s.text, report))
            return Flow::Next;
        return fail(s, report);
    }

    Flow expectTx(const ScriptStep& s)
    {
        std::lock_guard guard(txLock_);
        for (size_t at = txMatch_; at + s.bytes.size() <= tx_.size(); ++at)
            if (std::equal(s.bytes.begin(), s.bytes.end(), tx_.begin() + long(at))) {
                txMatch_ = at + s.bytes.size();
                return Flow::Next;
            }
        std::string want;
        for (uint8_t b : s.bytes)
            want += (want.empty() ? "" : " ") + hex(b);
        return fail(s, "the panel did not send " + want);
    }

    void transmitted(uint8_t byte)
    {
        {
            std::lock_guard guard(txLock_);
            tx_.push_back(byte);
        }
        output.line("uart0-tx " + hex(byte));
    }

    virtual void receive(const std::vector<uint8_t>& bytes) = 0;
    // Runs `look` where it may read or change the panel's state.
    virtual void withPanel(const std::function<void()>& look) = 0;

    Script script_;
    size_t next_ = 0;
    uint64_t waitMs_ = 0;
    int exitCode_ = 0;
    std::string error_;
    LcdView lcd_;
    int held_ = -1;
    bool heldPattern_ = false;
    std::mutex txLock_;
    std::vector<uint8_t> tx_;
    size_t txMatch_ = 0;
};

// ---- virtual time: everything on the main thread, deterministic ----

class VirtualRunner final : public Runner {
  public:
    explicit VirtualRunner(Script script) : Runner(std::move(script)) {}

    int run()
    {
        self = this;
        IAR_SetSingleThread(true);
        SIM_SetTickSource(&ticks_);
        SIM_SetSerialDriver(&serialDriver);
        lcd_.attach();
        schedule(0, {Action::Kind::Script});
        try {
            MainTask();
        } catch (const SIM_Shutdown& end) {
            exitCode_ = end.exitCode;
        }
        LcdView::detach();
        SIM_SetSerialDriver(nullptr);
        SIM_SetTickSource(nullptr);
        IAR_SetSingleThread(false);
        return exitCode_;
    }

  private:
    struct Action {
        enum class Kind { Script, Line, TxDone } kind;
    };

    void schedule(uint64_t at, Action action)
    {
        actions_.emplace(at, action);
        ticks_.setHostEvent(actions_.begin()->first, &VirtualRunner::hostEvent, this);
    }

    static void hostEvent(void* context) { static_cast<VirtualRunner*>(context)->due(); }

    void due()
    {
        const uint64_t now = ticks_.nowMs();
        while (!actions_.empty() && actions_.begin()->first <= now) {
            const Action a = actions_.begin()->second;
            actions_.erase(actions_.begin());
            switch (a.kind) {
            case Action::Kind::Script: runScript(); break;
            case Action::Kind::Line: line(); break;
            case Action::Kind::TxDone: SIM_SerialTransmitted(0); break;
            }
        }
        if (!actions_.empty())
            ticks_.setHostEvent(actions_.begin()->first, &VirtualRunner::hostEvent, this);
    }

    // The line into the panel: bytes that have arrived go into the port's FIFO in order while
    // it takes them; what the panel has not taken yet is offered again a little later.
    void line()
    {
        lineAt_ = UINT64_MAX;
        bool refused = SIM_SerialDeliver(0) > 0;
        const uint64_t now = ticks_.nowMs();
        if (!portOpen_) line_.clear();
        while (!line_.empty() && line_.front().atUs <= now * 1000) {
            if (!SIM_SerialReceived(0, line_.front().byte)) break;
            line_.pop_front();
        }
        refused = refused || SIM_SerialBacklog(0) > 0 ||
                  (!line_.empty() && line_.front().atUs <= now * 1000);
        if (refused)
            scheduleLine(now + lineRetryMs);
        else if (!line_.empty())
            scheduleLine((line_.front().atUs + 999) / 1000);
    }

    // At most one pending look at the line, at the earliest time asked for.
    void scheduleLine(uint64_t at)
    {
        if (at >= lineAt_) return;
        if (lineAt_ != UINT64_MAX)
            for (auto it = actions_.lower_bound(lineAt_); it != actions_.end(); ++it)
                if (it->second.kind == Action::Kind::Line) {
                    actions_.erase(it);
                    break;
                }
        lineAt_ = at;
        schedule(at, {Action::Kind::Line});
    }

    void runScript()
    {
        while (next_ < script_.steps.size()) {
            const Flow flow = step(script_.steps[next_++]);
            if (flow == Flow::End) throw SIM_Shutdown{exitCode_};
            if (flow == Flow::Wait) {
                schedule(ticks_.nowMs() + waitMs_, {Action::Kind::Script});
                return;
            }
        }
        throw SIM_Shutdown{exitCode_};
    }

    // Bytes arrive one after the other at the pace of the line.
    void receive(const std::vector<uint8_t>& bytes) override
    {
        uint64_t us = std::max(rxLineFreeUs_, ticks_.nowMs() * 1000);
        for (uint8_t b : bytes) {
            us += byteTimeUs;
            line_.push_back({us, b});
        }
        rxLineFreeUs_ = us;
        if (!line_.empty()) scheduleLine((line_.front().atUs + 999) / 1000);
    }

    void withPanel(const std::function<void()>& look) override { look(); }

    static void serialInit(uint8_t port)
    {
        if (port == 0) self->portOpen_ = true;
    }
    static void serialSend(uint8_t port, uint8_t byte)
    {
        if (port != 0 || !self->portOpen_) return;
        self->transmitted(byte);
        const uint64_t done = self->ticks_.nowMs() * 1000 + byteTimeUs;
        self->schedule((done + 999) / 1000, {Action::Kind::TxDone});
    }
    static void serialStop(uint8_t) {}
    static void serialClose(uint8_t port)
    {
        if (port == 0) self->portOpen_ = false;
    }
    static bool serialIsOpen(uint8_t port) { return port == 0 && self->portOpen_; }

    static constexpr SIM_SerialDriver serialDriver{serialInit, serialSend, serialStop, serialClose,
                                                   serialIsOpen};
    static VirtualRunner* self;

    SIM_VirtualTicks ticks_;
    struct LineByte {
        uint64_t atUs; // when its stop bit has arrived
        uint8_t byte;
    };
    static constexpr uint64_t lineRetryMs = 5;

    std::multimap<uint64_t, Action> actions_;
    std::deque<LineByte> line_;
    uint64_t rxLineFreeUs_ = 0;
    uint64_t lineAt_ = UINT64_MAX; // the pending look at the line
    bool portOpen_ = false;
};

VirtualRunner* VirtualRunner::self = nullptr;

// ---- real time: the panel on its threads, the script on this one ----

class RealtimeRunner final : public Runner {
  public:
    RealtimeRunner(Script script, std::string uart0)
        : Runner(std::move(script)), uart0_(std::move(uart0))
    {
    }

    int run()
    {
        SIM_SetTickSource(&ticks_);
        SIM_SetSerialDevice(0, uart0_.empty() ? "pty" : uart0_.c_str());
        lcd_.attach();
        std::thread app([] {
            try {
                MainTask();
            } catch (const SIM_Shutdown&) {
            }
        });
        while (next_ < script_.steps.size()) {
            const Flow flow = step(script_.steps[next_++]);
            if (flow == Flow::End) break;
            if (flow == Flow::Wait) std::this_thread::sleep_for(std::chrono::milliseconds(waitMs_));
        }
        ticks_.shutdown(exitCode_);
        app.join();
        ticks_.stop();
        stopPeer();
        Win32_Uart_Close(0);
        LcdView::detach();
        SIM_SetTickSource(nullptr);
        return exitCode_;
    }

  private:
    void withPanel(const std::function<void()>& look) override
    {
        if (ticks_.holdMainTask(5000)) look();
        ticks_.releaseMainTask();
    }

    // The far end of the panel's serial port: bytes written there arrive on serial channel 0.
    bool openPeer()
    {
        if (peer_ >= 0) return true;
        const std::string name = SIM_SerialPeerName(0);
        if (name.empty()) return false;
        peer_ = open(name.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (peer_ < 0) return false;
        reader_ = std::thread([this] {
            while (!stopReader_) {
                pollfd p{peer_, POLLIN, 0};
                if (poll(&p, 1, 50) <= 0) continue;
                uint8_t byte = 0;
                if (read(peer_, &byte, 1) == 1) transmitted(byte);
            }
        });
        return true;
    }

    void stopPeer()
    {
        stopReader_ = true;
        if (reader_.joinable()) reader_.join();
        if (peer_ >= 0) close(peer_);
        peer_ = -1;
    }

    void receive(const std::vector<uint8_t>& bytes) override
    {
        if (!openPeer()) {
            output.line("uart0 is not open");
            return;
        }
        for (uint8_t b : bytes) {
            if (write(peer_, &b, 1) != 1) break;
            std::this_thread::sleep_for(std::chrono::microseconds(byteTimeUs));
        }
    }

    std::string uart0_;
    SIM_RealTimeTicks ticks_;
    int peer_ = -1;
    std::thread reader_;
    std::atomic<bool> stopReader_{false};
};

void debugSink(const char* text, size_t length) { output.log(text, length); }

void messageBox(const char* text, const char* caption)
{
    output.line("message-box " + quoted(caption) + " " + quoted(text));
}

bool readScript(const std::string& path, std::string& source)
{
    std::stringstream buffer;
    if (path == "-") {
        buffer << std::cin.rdbuf();
    } else {
        std::ifstream file(path);
        if (!file) return false;
        buffer << file.rdbuf();
    }
    source = buffer.str();
    return true;
}

} // namespace

int HEADLESS_Run(const HeadlessOptions& options)
{
    std::string source, error;
    if (!readScript(options.scriptPath, source)) {
        fprintf(stdout, "@ ERROR cannot read the script %s\n", options.scriptPath.c_str());
        return 2;
    }
    Script script;
    if (!SCRIPT_Parse(source, script, error)) {
        fprintf(stdout, "@ ERROR %s\n", error.c_str());
        return 2;
    }

    // Each run has its own lock directory: runs never contend with each other or a window.
    char lockDir[] = "/tmp/panelsim-run-XXXXXX";
    const bool privateLocks = mkdtemp(lockDir) != nullptr;
    if (privateLocks) SIM_SetLockDirectory(lockDir);
    SIM_SetDebugSink(debugSink);
    SIM_SetMessageBox(messageBox);
    SIM_SetHardkeyCount(HARDKEY_COUNT);
    SIM_SetFixedLocalTime(defaultClock);

    int status = 0;
    if (options.realtime)
        status = RealtimeRunner(std::move(script), options.uart0).run();
    else
        status = VirtualRunner(std::move(script)).run();
    output.flush();

    if (privateLocks) {
        SIM_ReleaseInstanceLock("Simulation_am_laufen");
        const std::string lockFile = std::string(lockDir) + "/Simulation_am_laufen.lock";
        unlink(lockFile.c_str());
        rmdir(lockDir);
    }
    return status;
}
