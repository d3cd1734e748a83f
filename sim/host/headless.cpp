#include "sim/host/headless.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <span>
#include <sstream>
#include <string_view>
#include <thread>
#include <vector>

#include "data/datapool.h"
#include "gfx/gfx.h"
#include "kernel/app.h"
#include "kernel/evt.h"
#include "link/dis.h"
#include "sim/controller/bus_master.h"
#include "sim/hal/debug.h"
#include "sim/hal/host_services.h"
#include "sim/hal/instance.h"
#include "sim/hal/intrinsics.h"
#include "sim/hal/keys.h"
#include "sim/hal/serial_port.h"
#include "sim/hal/ticks.h"
#include "sim/host/chains.h"
#include "sim/host/golden.h"
#include "sim/host/lcd_view.h"
#include "sim/host/script.h"
#include "startup/startup.h"

namespace {

constexpr int64_t defaultClock = 1767607200; // 2026-01-05 10:00:00
constexpr uint32_t byteTimeUs = 2292;        // one byte at 4800 baud, 8E1 (11 bits)

// Standard output: the debug log byte for byte, and the runner's own lines, each starting
// with "@ " on a line of its own. The expectations on the log and on the whole output are
// searched as it is written; nothing of it is kept.
class Output {
  public:
    // A new run: no expectations yet, at the start of a line.
    void reset()
    {
        std::lock_guard guard(lock_);
        log_ = TextChain{};
        out_ = TextChain{};
        atLineStart_ = true;
    }
    // The script's expect-log and expect-out lines, in order; the step's index in its chain.
    size_t expectLog(const std::string& text) { return log_.add(text); }
    size_t expectOut(const std::string& text) { return out_.add(text); }

    void log(const char* text, size_t length)
    {
        std::lock_guard guard(lock_);
        log_.feed(text, length);
        emit(text, length);
    }
    void line(std::string_view text)
    {
        std::lock_guard guard(lock_);
        if (!atLineStart_) emit("\n", 1);
        emit("@ ", 2);
        emit(text.data(), text.size());
        emit("\n", 1);
    }
    bool logFound(size_t i)
    {
        std::lock_guard guard(lock_);
        return log_.found(i);
    }
    bool outFound(size_t i)
    {
        std::lock_guard guard(lock_);
        return out_.found(i);
    }
    void flush()
    {
        std::lock_guard guard(lock_);
        fflush(stdout);
    }

  private:
    void emit(const char* text, size_t length)
    {
        fwrite(text, 1, length, stdout);
        out_.feed(text, length);
        if (length > 0) atLineStart_ = text[length - 1] == '\n';
    }

    std::mutex lock_;
    TextChain log_;
    TextChain out_;
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

// "@ cmd 231 14 52 ..." without a heap allocation: the panel queues commands all day long.
class LineBuffer {
  public:
    LineBuffer& word(const char* w)
    {
        while (*w != '\0' && length_ + 1 < text_.size())
            text_[length_++] = *w++;
        return *this;
    }
    LineBuffer& number(unsigned n)
    {
        char digits[12];
        snprintf(digits, sizeof digits, " %u", n);
        return word(digits);
    }
    LineBuffer& hexByte(uint8_t b)
    {
        char digits[4];
        snprintf(digits, sizeof digits, " %02X", b);
        return word(digits);
    }
    std::string_view view() const { return {text_.data(), length_}; }

  private:
    std::array<char, 160> text_{};
    size_t length_ = 0;
};

std::string hexList(const std::vector<int>& bytes)
{
    std::string out;
    for (int b : bytes)
        out += " " + (b == ScriptStep::ANY_BYTE ? std::string("..") : hex(static_cast<uint8_t>(b)));
    return out;
}

// The steps of a script and what they need from the two ways of running it.
class Runner {
  public:
    explicit Runner(Script script) : script_(std::move(script))
    {
        output.reset();
        for (ScriptStep& s : script_.steps)
            s.expectation = expectation(s);
        current = this;
        DIS_SetObserver(&OBSERVER);
    }
    virtual ~Runner()
    {
        DIS_SetObserver(nullptr);
        current = nullptr;
    }

    enum class Flow { Next, Wait, End };

  protected:
    // Each expectation's place in the chain of its kind.
    size_t expectation(const ScriptStep& s)
    {
        switch (s.op) {
        case ScriptStep::Op::ExpectLog: return output.expectLog(s.text);
        case ScriptStep::Op::ExpectOut: return output.expectOut(s.text);
        case ScriptStep::Op::ExpectTx: return tx_.add(std::string(s.bytes.begin(), s.bytes.end()));
        case ScriptStep::Op::ExpectCmd:
            return commands_.addCommand(static_cast<uint8_t>(s.number), s.match);
        case ScriptStep::Op::ExpectEntry: return commands_.addEntry(s.match);
        case ScriptStep::Op::ExpectNoCmd:
            return commands_.addAbsence(static_cast<uint8_t>(s.number));
        default: return 0;
        }
    }

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
            return output.logFound(s.expectation)
                       ? Flow::Next
                       : fail(s, "the log does not contain " + quoted(s.text));
        case ScriptStep::Op::ExpectOut:
            return output.outFound(s.expectation)
                       ? Flow::Next
                       : fail(s, "the output does not contain " + quoted(s.text));
        case ScriptStep::Op::ExpectTx: return expectTx(s);
        case ScriptStep::Op::Language:
            withPanel([&] {
                DAT_SetLanguageIndex(static_cast<uint8_t>(s.number));
                DAT_ApplyDisplaySettings();
            });
            return Flow::Next;
        case ScriptStep::Op::BusWrite:
            transfer([&] { BUS_WriteBlock(static_cast<uint8_t>(s.number), s.bytes); });
            return Flow::Next;
        case ScriptStep::Op::BusWriteRaw: transfer([&] { BUS_Write(s.bytes); }); return Flow::Next;
        case ScriptStep::Op::Answer:
            transfer([&] { BUS_Answer(static_cast<uint8_t>(s.number), s.circuit, s.bytes); });
            return Flow::Next;
        case ScriptStep::Op::BusRead: {
            std::vector<uint8_t> read;
            transfer([&] { read = BUS_Read(static_cast<uint8_t>(s.number)); });
            LineBuffer line;
            line.word("bus-read");
            for (uint8_t b : read)
                line.hexByte(b);
            output.line(line.view());
            return Flow::Next;
        }
        case ScriptStep::Op::ExpectCmd:
        case ScriptStep::Op::ExpectEntry: return expectCommand(s);
        case ScriptStep::Op::ExpectNoCmd: return expectNoCommand(s);
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
        {
            std::lock_guard guard(txLock_);
            if (tx_.found(s.expectation)) return Flow::Next;
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
            const char c = static_cast<char>(byte);
            tx_.feed(&c, 1);
        }
        output.line("uart0-tx " + hex(byte));
    }

    // A transfer of the controller, played where the bus driver's interrupt would come, and
    // the link service that the driver posts after it.
    void transfer(const std::function<void()>& play)
    {
        withPanel([&] {
            play();
            DIS_OnTransferDone();
        });
    }

    Flow expectCommand(const ScriptStep& s)
    {
        {
            std::lock_guard guard(commandLock_);
            if (commands_.found(s.expectation)) return Flow::Next;
        }
        const std::string what = s.op == ScriptStep::Op::ExpectCmd
                                     ? "command " + std::to_string(s.number) + hexList(s.match)
                                     : "entry" + hexList(s.match);
        return fail(s, "no " + what + " was queued after the previous match");
    }

    Flow expectNoCommand(const ScriptStep& s)
    {
        std::lock_guard guard(commandLock_);
        commands_.close(s.expectation);
        if (!commands_.seen(s.expectation)) return Flow::Next;
        return fail(s,
                    "command " + std::to_string(s.number) + " was queued after the previous match");
    }

    // What the link reports, on the panel's event thread.
    static void queued(std::span<const uint8_t> entry, bool dropped)
    {
        LineBuffer line;
        line.word(dropped ? "cmd-dropped" : "cmd").number(entry[CommandChain::CODE_BYTE]);
        for (uint8_t b : entry)
            line.hexByte(b);
        output.line(line.view());
        if (dropped || current == nullptr) return;
        std::lock_guard guard(current->commandLock_);
        current->commands_.feed(entry);
    }
    static void received(uint8_t message, uint8_t circuit, bool accepted)
    {
        LineBuffer line;
        line.word("rx").number(message).number(circuit).word(accepted ? " accepted" : " rejected");
        output.line(line.view());
    }
    static constexpr DIS_Observer OBSERVER{queued, received};
    static Runner* current;

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
    TextChain tx_;
    std::mutex commandLock_;
    CommandChain commands_;
};

Runner* Runner::current = nullptr;

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
