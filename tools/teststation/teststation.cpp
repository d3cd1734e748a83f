// teststation: the factory's test station for the panel's hardware quality check, over a
// serial device (4800 baud 8E1; a pseudo terminal without parity). The commands of one call
// run in order in one session; the panel ends the check after a second without traffic, so
// they follow each other without pauses.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "display_png.h"
#include "line.h"
#include "station.h"

namespace {

constexpr const char* usage =
    R"(usage: teststation --device DEVICE [--timeout MS] [--verbose] COMMAND... 

Speaks the hardware quality check's protocol with the panel on serial channel 0. The commands
run in order, in one session:
  start [MS]                  open the check: send 5 until the panel answers (within MS,
                              default 10000; the panel opens it only in the first 3 s after
                              power-up, so start the station first or power the panel up now)
  ping                        the test start command again; the panel acknowledges it
  stop                        end the check: the panel restarts with a cold start
  read-display FILE [Y0-Y1]   display memory into a PNG (only rows Y0..Y1 are read, the
                              others stay black); about 10 bytes a second, 8 minutes for all
  write-display FILE [Y0-Y1]  a 240 x 160 PNG into display memory (light pixels are set)
  verify-display FILE [Y0-Y1] read display memory and compare it with the PNG
  read-memory ADDRESS COUNT   display memory bytes (address 0..4799) in hex
  write-memory ADDRESS HEX... display memory bytes
  get NAME                    print a parameter as NAME VALUE
  set NAME VALUE              write a parameter
  expect NAME VALUE           fail unless the parameter reads VALUE
  dump                        print every parameter
  special FUNCTION            trigger a special function by number or name
  keys                        the last 8 keys pressed on the panel, newest first
  wait MS                     wait, keeping the check open

parameters (virtual address):
%s
special functions:
%s
Exit status: 0 every command went through, 1 the panel did not answer in time, answered
wrongly or differed from what was expected, 2 a usage error, an unusable device or file.
Options: --timeout MS waits that long for each answer byte (default 2000); --verbose shows
every byte on standard error.
)";

enum class Format { Digits, Byte, Text, Word, Bytes, Keys };

struct Parameter {
    const char* name;
    uint16_t address;
    Format format;
    uint8_t length; // bytes read
    bool writable;
    const char* what;
};

// The panel's virtual addresses.
const Parameter parameters[] = {
    {"serial-number", 0x0850, Format::Digits, 7, true, "panel serial number, its first 7 digits"},
    {"digits-1", 0x0851, Format::Digits, 7, true, "first 7-digit field"},
    {"digits-2", 0x0852, Format::Digits, 7, true, "second 7-digit field"},
    {"factory-byte", 0x0853, Format::Byte, 1, true, "factory byte"},
    {"contrast", 0x0854, Format::Byte, 1, true, "display contrast (0..99), shown at once"},
    {"max-operating-backlight", 0x0855, Format::Byte, 1, true,
     "highest backlight level during operation"},
    {"min-operating-backlight", 0x0856, Format::Byte, 1, true,
     "lowest backlight level during operation"},
    {"operating-backlight", 0x0857, Format::Byte, 1, true,
     "backlight level during operation, shown at once"},
    {"max-idle-backlight", 0x0858, Format::Byte, 1, true, "highest idle backlight level"},
    {"min-idle-backlight", 0x0859, Format::Byte, 1, true, "lowest idle backlight level"},
    {"idle-backlight", 0x085A, Format::Byte, 1, true, "idle backlight level, shown at once"},
    {"article-number", 0x08E0, Format::Text, 7, false, "the device's article number"},
    {"reset-info", 0x08F0, Format::Word, 2, false, "reset information (FFFF, 1234 when seen)"},
    {"identity", 0x08F8, Format::Bytes, 4, false, "four identification bytes"},
    {"analogue-4", 0x08F9, Format::Word, 2, false, "analogue input 4"},
    {"key-ring", 0x08FA, Format::Keys, 8, false, "the last 8 key codes, newest first"},
};

struct Special {
    const char* name;
    uint8_t number;
};
const Special specials[] = {
    {"watchdog-0", 1},
    {"driver-hook", 2},
    {"watchdog-1", 3},
    {"clear", 17},
    {"fill", 18},
    {"checkerboard", 19},
    {"checkerboard-inverse", 20},
    {"odd-columns", 21},
    {"even-columns", 22},
    {"light-full", 23},
    {"light-off", 24},
    {"reset-info", 32},
    {"clear-keys", 34},
    {"display-hook-1", 36},
    {"display-hook-2", 37},
    {"flush-keys", 48},
    {"beep", 49},
    {"output-off-1", 64},
    {"output-off-2", 65},
    {"output-off-3", 66},
    {"output-off-4", 67},
};

const char* keyNames[] = {"-", "Back", "Up", "Left", "OK", "Right", "Down", "Help", "Menu"};

[[noreturn]] void usageError(const std::string& message)
{
    throw StationError(2, message + " (teststation --help lists the commands)");
}

std::string hexByte(uint8_t b)
{
    char s[4];
    snprintf(s, sizeof s, "%02X", b);
    return s;
}

long number(const std::string& text, long low, long high, const std::string& what)
{
    char* end = nullptr;
    errno = 0;
    const long v = strtol(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || errno != 0 || v < low || v > high)
        usageError(what + " wants a number " + std::to_string(low) + ".." + std::to_string(high) +
                   ", not '" + text + "'");
    return v;
}

const Parameter& parameter(const std::string& name)
{
    for (const Parameter& p : parameters)
        if (name == p.name) return p;
    usageError("no parameter '" + name + "'");
}

uint8_t specialNumber(const std::string& text)
{
    for (const Special& s : specials)
        if (text == s.name) return s.number;
    return static_cast<uint8_t>(number(text, 0, 255, "special"));
}

std::string formatValue(const Parameter& p, const std::vector<uint8_t>& bytes)
{
    std::string out;
    switch (p.format) {
    case Format::Digits:
    case Format::Text:
        for (uint8_t b : bytes)
            out += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '?';
        return out;
    case Format::Byte: return std::to_string(bytes[0]);
    case Format::Word: {
        const unsigned v = unsigned(bytes[0]) | unsigned(bytes[1]) << 8;
        if (p.address == 0x08F0) return hexByte(uint8_t(v >> 8)) + hexByte(uint8_t(v & 0xFF));
        return std::to_string(v);
    }
    case Format::Bytes:
        for (uint8_t b : bytes)
            out += (out.empty() ? "" : " ") + std::to_string(b);
        return out;
    case Format::Keys:
        for (uint8_t b : bytes)
            out +=
                (out.empty() ? "" : " ") + std::string(b < std::size(keyNames) ? keyNames[b] : "?");
        return out;
    }
    return out;
}

std::vector<uint8_t> valueBytes(const Parameter& p, const std::string& value)
{
    if (!p.writable) usageError(std::string(p.name) + " can only be read");
    if (p.format == Format::Digits) {
        if (value.empty() || value.size() > 7 ||
            value.find_first_not_of("0123456789") != std::string::npos)
            usageError(std::string(p.name) + " wants 1 to 7 digits, not '" + value + "'");
        return {value.begin(), value.end()};
    }
    const long high = p.address == 0x0854 ? 99 : 255;
    return {static_cast<uint8_t>(number(value, 0, high, p.name))};
}

struct Rows {
    int first = 0, last = DISPLAY_HEIGHT - 1;
    uint16_t address() const { return static_cast<uint16_t>(first * DISPLAY_ROW_BYTES); }
    uint16_t count() const { return static_cast<uint16_t>((last - first + 1) * DISPLAY_ROW_BYTES); }
};

// "Y0-Y1" when the next argument is one.
std::optional<Rows> rowsArgument(const std::string& text)
{
    int a = 0, b = 0;
    char tail = 0;
    if (sscanf(text.c_str(), "%d-%d%c", &a, &b, &tail) != 2) return std::nullopt;
    if (a < 0 || b < a || b >= DISPLAY_HEIGHT)
        usageError("rows wants Y0-Y1 within 0-159, not '" + text + "'");
    return Rows{a, b};
}

class Session {
  public:
    // Without a station the session only checks its commands, so that a typing error is found
    // before the check is half done.
    Session(Station* station, std::vector<std::string> args)
        : s_(station), execute_(station != nullptr), args_(std::move(args))
    {
    }

    void run()
    {
        at_ = 0;
        while (at_ < args_.size())
            command(take("a command"));
    }

  private:
    std::string take(const std::string& what)
    {
        if (at_ >= args_.size()) usageError("missing " + what);
        return args_[at_++];
    }
    bool more() const { return at_ < args_.size(); }
    std::optional<Rows> rows()
    {
        if (!more()) return std::nullopt;
        const auto r = rowsArgument(args_[at_]);
        if (r) ++at_;
        return r;
    }

    void command(const std::string& c)
    {
        if (c == "start") {
            int ms = 10000;
            if (more() && isdigit(static_cast<unsigned char>(args_[at_][0])))
                ms = int(number(take("ms"), 1, 600000, "start"));
            if (execute_) s_->start(ms);
        } else if (c == "ping") {
            if (execute_) s_->testStart();
        } else if (c == "stop") {
            if (execute_) s_->stop();
        } else if (c == "read-display" || c == "write-display" || c == "verify-display") {
            const std::string file = take("a PNG file");
            display(c, file, rows().value_or(Rows{}));
        } else if (c == "read-memory") {
            const auto address = uint16_t(number(take("an address"), 0, 4799, c));
            const auto count = uint16_t(number(take("a count"), 1, 4800 - address, c));
            if (!execute_) return;
            std::string out;
            for (uint8_t b : s_->readDisplay(address, count))
                out += (out.empty() ? "" : " ") + hexByte(b);
            printf("%s\n", out.c_str());
        } else if (c == "write-memory") {
            const auto address = uint16_t(number(take("an address"), 0, 4799, c));
            std::vector<uint8_t> bytes;
            while (more() && !isCommand(args_[at_]))
                bytes.push_back(uint8_t(number("0x" + take("bytes"), 0, 255, "a hex byte")));
            if (bytes.empty() || address + bytes.size() > 4800)
                usageError("write-memory wants 1 to " + std::to_string(4800 - address) +
                           " hex bytes");
            if (execute_) s_->writeDisplay(address, bytes);
        } else if (c == "get") {
            const Parameter& p = parameter(take("a parameter name"));
            if (execute_) printf("%s %s\n", p.name, read(p).c_str());
        } else if (c == "set") {
            const Parameter& p = parameter(take("a parameter name"));
            const std::vector<uint8_t> bytes = valueBytes(p, take("a value"));
            if (execute_) s_->writeVirtual(p.address, bytes);
        } else if (c == "expect") {
            const Parameter& p = parameter(take("a parameter name"));
            const std::string want = take("a value");
            if (!execute_) return;
            const std::string got = read(p);
            if (got != want)
                throw StationError(1, std::string(p.name) + " reads " + got + ", expected " + want);
        } else if (c == "dump") {
            if (!execute_) return;
            for (const Parameter& p : parameters)
                printf("%s %s\n", p.name, read(p).c_str());
        } else if (c == "special") {
            const uint8_t n = specialNumber(take("a function"));
            if (execute_) s_->special(n);
        } else if (c == "keys") {
            if (execute_) printf("keys %s\n", read(parameter("key-ring")).c_str());
        } else if (c == "wait") {
            const int ms = int(number(take("milliseconds"), 0, 3600000, c));
            if (execute_) s_->keepAlive(ms);
        } else {
            usageError("unknown command '" + c + "'");
        }
    }

    static bool isCommand(const std::string& word)
    {
        static const char* names[] = {
            "start",          "ping",        "stop",         "read-display", "write-display",
            "verify-display", "read-memory", "write-memory", "get",          "set",
            "expect",         "dump",        "special",      "keys",         "wait"};
        for (const char* n : names)
            if (word == n) return true;
        return false;
    }

    std::string read(const Parameter& p)
    {
        return formatValue(p, s_->readVirtual(p.address, p.length));
    }

    void display(const std::string& c, const std::string& file, Rows r)
    {
        if (c == "read-display") {
            if (!execute_) return;
            std::vector<uint8_t> memory(Station::DISPLAY_BYTES, 0);
            const std::vector<uint8_t> got = s_->readDisplay(r.address(), r.count());
            std::copy(got.begin(), got.end(), memory.begin() + r.address());
            PNG_WriteDisplay(file, memory);
            return;
        }
        const std::vector<uint8_t> picture = PNG_ReadDisplay(file); // checked before the session
        if (!execute_) return;
        const std::vector<uint8_t> part(picture.begin() + r.address(),
                                        picture.begin() + r.address() + r.count());
        if (c == "write-display") {
            s_->writeDisplay(r.address(), part);
            return;
        }
        const std::vector<uint8_t> got = s_->readDisplay(r.address(), r.count());
        int differing = 0, firstRow = -1;
        for (size_t i = 0; i < part.size(); ++i)
            if (got[i] != part[i]) {
                if (differing++ == 0) firstRow = int((r.address() + i) / DISPLAY_ROW_BYTES);
            }
        if (differing > 0)
            throw StationError(1, "the display differs from " + file + " in " +
                                      std::to_string(differing) + " bytes, first in row " +
                                      std::to_string(firstRow));
    }

    Station* s_; // null when only checking
    bool execute_;
    std::vector<std::string> args_;
    size_t at_ = 0;
};

void printUsage()
{
    std::string names, functions;
    for (const Parameter& p : parameters) {
        char line[160];
        snprintf(line, sizeof line, "  %-24s %04X  %s%s\n", p.name, p.address, p.what,
                 p.writable ? "" : " (read only)");
        names += line;
    }
    for (const Special& s : specials)
        functions += "  " + std::to_string(s.number) + " " + s.name + "\n";
    printf(usage, names.c_str(), functions.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::string device;
    int timeoutMs = 2000;
    bool verbose = false;
    std::vector<std::string> commands;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "--help" || arg == "-h") {
                printUsage();
                return 0;
            } else if (arg == "--device") {
                if (++i >= argc) usageError("--device needs a device");
                device = argv[i];
            } else if (arg == "--timeout") {
                if (++i >= argc) usageError("--timeout needs milliseconds");
                timeoutMs = int(number(argv[i], 1, 600000, "--timeout"));
            } else if (arg == "--verbose" || arg == "-v") {
                verbose = true;
            } else {
                commands.push_back(arg);
            }
        }
        if (device.empty()) usageError("--device DEVICE is missing");
        if (commands.empty()) usageError("no command");
        Session(nullptr, commands).run();

        Line line(device, verbose);
        if (verbose && line.withoutParity())
            fprintf(stderr, "teststation: %s has no parity (a pseudo terminal)\n", device.c_str());
        Station station(line, timeoutMs);
        Session(&station, commands).run();
    } catch (const StationError& e) {
        fflush(stdout);
        fprintf(stderr, "teststation: %s\n", e.what());
        return e.status;
    }
    return 0;
}
