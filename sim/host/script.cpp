#include "sim/host/script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

#include "sim/controller/bus_master.h"
#include "sim/hal/keys.h"

namespace {

struct KeyName {
    const char* name;
    uint8_t pattern;
};

constexpr std::array<KeyName, 8> keyNames{{
    {"back", KEY_PATTERN_BACK},
    {"up", KEY_PATTERN_UP},
    {"left", KEY_PATTERN_LEFT},
    {"ok", KEY_PATTERN_OK},
    {"right", KEY_PATTERN_RIGHT},
    {"down", KEY_PATTERN_DOWN},
    {"help", KEY_PATTERN_HELP},
    {"menu", KEY_PATTERN_MENU},
}};

constexpr int64_t maxWaitMs = 100LL * 24 * 3600 * 1000; // 100 days
constexpr int defaultHoldMs = 100;
constexpr int settleMs = 100;
constexpr int64_t lastLanguage = 18;
constexpr int64_t lastHardkey = HARDKEY_COUNT - 1;
static_assert(lastHardkey == 33, "the help of 'hardkey' names the range");
constexpr int64_t lastMessage = 31; // five bits of the header

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool parseNumber(const std::string& s, int64_t& out, int64_t low, int64_t high)
{
    if (s.empty() || s.size() > 15) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    out = std::stoll(s);
    return out >= low && out <= high;
}

bool parseKeys(const std::string& arg, ScriptStep& step, std::string& error)
{
    uint32_t pattern = 0;
    int count = 0;
    std::stringstream parts(arg);
    std::string part;
    while (std::getline(parts, part, '+')) {
        const std::string name = lower(trim(part));
        const auto key = std::find_if(keyNames.begin(), keyNames.end(),
                                      [&](const KeyName& k) { return name == k.name; });
        if (key == keyNames.end()) {
            error = "unknown key '" + trim(part) + "' (Back Up Left OK Right Down Help Menu)";
            return false;
        }
        pattern |= key->pattern;
        ++count;
    }
    if (count == 0 || count > 2) {
        error = "give one key or two joined by '+'";
        return false;
    }
    // A key, or two keys the device has a combination hardkey for; other pairs are held as
    // a raw pattern (which the key scan ignores, as on the device).
    step.pattern = pattern;
    step.hardkey = KEY_HardkeyForPattern(pattern);
    return true;
}

// One line of a script, split for its command's parser.
struct Line {
    int number;
    std::vector<std::string> words; // words[0] is the command as written
    std::string rest;               // everything after the command word
    size_t arguments() const { return words.size() - 1; }
};

ScriptStep& add(Script& script, ScriptStep::Op op, const Line& line)
{
    script.steps.push_back(ScriptStep{op, line.number});
    return script.steps.back();
}

void addWait(Script& script, const Line& line, int64_t ms)
{
    add(script, ScriptStep::Op::Wait, line).number = ms;
}

bool arity(const Line& line, size_t low, size_t high, std::string& error)
{
    if (line.arguments() >= low && line.arguments() <= high) return true;
    error = "wrong number of arguments for '" + line.words[0] + "'";
    return false;
}

// A number in decimal, or in hexadecimal after 0x.
bool parseCode(const std::string& s, int64_t& out, int64_t low, int64_t high)
{
    if (s.size() > 2 && (s[1] == 'x' || s[1] == 'X') && s[0] == '0') {
        const std::string digits = s.substr(2);
        if (digits.size() > 8) return false;
        for (char c : digits)
            if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        out = std::stoll(digits, nullptr, 16);
        return out >= low && out <= high;
    }
    return parseNumber(s, out, low, high);
}

bool isHexByte(const std::string& w)
{
    return w.size() == 2 && std::isxdigit(static_cast<unsigned char>(w[0])) &&
           std::isxdigit(static_cast<unsigned char>(w[1]));
}

// Bytes of two hex digits from words[first] on; `..` (any byte) where `wildcards` allows it.
bool parseBytes(const Line& line, size_t first, std::vector<int>& out, bool wildcards,
                std::string& error)
{
    if (line.words.size() <= first) {
        error = "give at least one byte as two hex digits";
        return false;
    }
    for (size_t i = first; i < line.words.size(); ++i) {
        const std::string& w = line.words[i];
        if (wildcards && w == "..") {
            out.push_back(ScriptStep::ANY_BYTE);
        } else if (isHexByte(w)) {
            out.push_back(std::stoi(w, nullptr, 16));
        } else {
            error = "'" + w + "' is not a byte of two hex digits" +
                    (wildcards ? std::string(" or '..'") : std::string());
            return false;
        }
    }
    return true;
}

bool parseHex(const Line& line, size_t first, std::vector<uint8_t>& bytes, std::string& error)
{
    std::vector<int> values;
    if (!parseBytes(line, first, values, false, error)) return false;
    bytes.assign(values.begin(), values.end());
    return true;
}

// The text argument: the rest of the line, or a quoted string with \" \\ \n escapes.
bool parseText(const std::string& rest, std::string& out, std::string& error)
{
    if (rest.empty()) {
        error = "give the text";
        return false;
    }
    if (rest.front() != '"') {
        out = rest;
        return true;
    }
    out.clear();
    for (size_t i = 1; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c == '"') {
            if (!trim(rest.substr(i + 1)).empty()) break;
            return true;
        }
        if (c == '\\' && i + 1 < rest.size()) {
            const char n = rest[++i];
            out += n == 'n' ? '\n' : n;
        } else {
            out += c;
        }
    }
    error = "unterminated or malformed quoted text";
    return false;
}

// A line without its comment: '#' at the start of the line, or after a blank outside quotes.
std::string withoutComment(const std::string& line)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && (i == 0 || line[i - 1] != '\\')) quoted = !quoted;
        if (c == '#' && !quoted && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    }
    return line;
}

// ---- the commands' parsers ----

using Op = ScriptStep::Op;

bool clockCommand(const Line& line, Script& script, std::string& error)
{
    int64_t seconds = 0;
    if (!SCRIPT_ParseClock(line.rest, seconds)) {
        error = "clock wants YYYY-MM-DD HH:MM:SS (1970..2099)";
        return false;
    }
    add(script, Op::Clock, line).number = seconds;
    return true;
}

bool waitCommand(const Line& line, Script& script, std::string& error)
{
    int64_t ms = 0;
    if (!arity(line, 1, 1, error)) return false;
    if (!parseNumber(line.words[1], ms, 0, maxWaitMs)) {
        error = "wait wants milliseconds";
        return false;
    }
    addWait(script, line, ms);
    return true;
}

bool pressCommand(const Line& line, Script& script, std::string& error)
{
    ScriptStep step{Op::Press, line.number};
    if (!arity(line, 1, 1, error) || !parseKeys(line.words[1], step, error)) return false;
    script.steps.push_back(step);
    return true;
}

bool tapCommand(const Line& line, Script& script, std::string& error)
{
    ScriptStep step{Op::Press, line.number};
    int64_t hold = defaultHoldMs;
    if (!arity(line, 1, 2, error) || !parseKeys(line.words[1], step, error)) return false;
    if (line.arguments() == 2 && !parseNumber(line.words[2], hold, 0, maxWaitMs)) {
        error = "tap wants the hold time in milliseconds";
        return false;
    }
    script.steps.push_back(step);
    addWait(script, line, hold);
    add(script, Op::Release, line);
    addWait(script, line, settleMs);
    return true;
}

bool hardkeyCommand(const Line& line, Script& script, std::string& error)
{
    int64_t key = 0, hold = defaultHoldMs;
    if (!arity(line, 1, 2, error)) return false;
    if (!parseNumber(line.words[1], key, 0, lastHardkey)) {
        error = "hardkey wants a number 0.." + std::to_string(lastHardkey);
        return false;
    }
    if (line.arguments() == 2 && !parseNumber(line.words[2], hold, 0, maxWaitMs)) {
        error = "hardkey wants the hold time in milliseconds";
        return false;
    }
    add(script, Op::HardkeyDown, line).number = key;
    addWait(script, line, hold);
    add(script, Op::HardkeyUp, line).number = key;
    addWait(script, line, settleMs);
    return true;
}

template <Op OP> bool bare(const Line& line, Script& script, std::string& error)
{
    if (!arity(line, 0, 0, error)) return false;
    add(script, OP, line);
    return true;
}

template <Op OP> bool oneWord(const Line& line, Script& script, std::string& error)
{
    if (!arity(line, 1, 1, error)) return false;
    add(script, OP, line).text = line.words[1];
    return true;
}

template <Op OP> bool text(const Line& line, Script& script, std::string& error)
{
    std::string t;
    if (!parseText(line.rest, t, error)) return false;
    add(script, OP, line).text = t;
    return true;
}

template <Op OP> bool hexBytes(const Line& line, Script& script, std::string& error)
{
    ScriptStep step{OP, line.number};
    if (!parseHex(line, 1, step.bytes, error)) return false;
    script.steps.push_back(step);
    return true;
}

bool languageCommand(const Line& line, Script& script, std::string& error)
{
    int64_t index = 0;
    if (!arity(line, 1, 1, error)) return false;
    if (!parseNumber(line.words[1], index, 0, lastLanguage)) {
        error = "language wants a language index 0.." + std::to_string(lastLanguage);
        return false;
    }
    add(script, Op::Language, line).number = index;
    return true;
}

bool busWriteCommand(const Line& line, Script& script, std::string& error)
{
    ScriptStep step{Op::BusWrite, line.number};
    if (line.arguments() < 1) {
        error = "bus-write wants a block number 0..255 and the bytes";
        return false;
    }
    if (!parseCode(line.words[1], step.number, 0, 255)) {
        error = "bus-write wants a block number 0..255, not '" + line.words[1] + "'";
        return false;
    }
    if (!parseHex(line, 2, step.bytes, error)) return false;
    if (step.bytes.size() > BUS_MAX_BLOCK_DATA) {
        error = "a block holds at most " + std::to_string(BUS_MAX_BLOCK_DATA) + " bytes";
        return false;
    }
    script.steps.push_back(step);
    return true;
}

bool answerCommand(const Line& line, Script& script, std::string& error)
{
    ScriptStep step{Op::Answer, line.number};
    int64_t circuit = 0;
    if (line.arguments() < 2) {
        error = "answer wants the message number 0..31, the circuit and the bytes";
        return false;
    }
    if (!parseCode(line.words[1], step.number, 0, lastMessage)) {
        error = "answer wants a message number 0..31, not '" + line.words[1] + "'";
        return false;
    }
    if (!parseCode(line.words[2], circuit, 0, 255)) {
        error = "answer wants a circuit byte 0..255, not '" + line.words[2] + "'";
        return false;
    }
    step.circuit = static_cast<uint8_t>(circuit);
    // The data may be empty: a message of header and circuit byte only.
    if (line.arguments() > 2 && !parseHex(line, 3, step.bytes, error)) return false;
    if (step.bytes.size() > BUS_MAX_MESSAGE_DATA) {
        error = "a message holds at most " + std::to_string(BUS_MAX_MESSAGE_DATA) + " bytes";
        return false;
    }
    script.steps.push_back(step);
    return true;
}

bool busReadCommand(const Line& line, Script& script, std::string& error)
{
    if (!arity(line, 1, 1, error)) return false;
    int64_t command = 0;
    if (!parseCode(line.words[1], command, 0, 255)) {
        error = "bus-read wants a command byte 0..255, not '" + line.words[1] + "'";
        return false;
    }
    add(script, Op::BusRead, line).number = command;
    return true;
}

bool commandCode(const Line& line, int64_t& code, std::string& error)
{
    if (line.arguments() < 1) {
        error = line.words[0] + " wants a command code 0..255";
        return false;
    }
    if (parseCode(line.words[1], code, 0, 255)) return true;
    error = line.words[0] + " wants a command code 0..255, not '" + line.words[1] + "'";
    return false;
}

bool expectCmdCommand(const Line& line, Script& script, std::string& error)
{
    ScriptStep step{Op::ExpectCmd, line.number};
    if (!commandCode(line, step.number, error)) return false;
    if (line.arguments() > 1 && !parseBytes(line, 2, step.match, true, error)) return false;
    script.steps.push_back(step);
    return true;
}

bool expectEntryCommand(const Line& line, Script& script, std::string& error)
{
    ScriptStep step{Op::ExpectEntry, line.number};
    if (!parseBytes(line, 1, step.match, true, error)) return false;
    script.steps.push_back(step);
    return true;
}

bool expectNoCmdCommand(const Line& line, Script& script, std::string& error)
{
    int64_t code = 0;
    if (!commandCode(line, code, error) || !arity(line, 1, 1, error)) return false;
    add(script, Op::ExpectNoCmd, line).number = code;
    return true;
}

struct Command {
    const char* name;
    const char* arguments; // as the help shows them
    const char* help;      // '\n' continues on the next line of the help
    bool (*parse)(const Line& line, Script& script, std::string& error);
};

// Every script command: its parser and its help, in the order the help lists them.
constexpr std::array<Command, 24> COMMANDS{{
    {"clock", "YYYY-MM-DD HH:MM:SS",
     "host local time read at the next cold start\n(default 2026-01-05 10:00:00)", clockCommand},
    {"wait", "MS", "advance the time by MS milliseconds", waitCommand},
    {"press", "KEY[+KEY]",
     "hold key(s): Back Up Left OK Right Down Help Menu\n(two keys joined by '+' go down "
     "together)",
     pressCommand},
    {"release", "", "release all keys", bare<Op::Release>},
    {"tap", "KEY[+KEY] [MS]", "press, hold MS (default 100), release, then wait 100 ms",
     tapCommand},
    {"hardkey", "N [MS]", "press hardkey N (0..33) for MS (default 100), release, wait 100",
     hardkeyCommand},
    {"uart0", "HEX...", "bytes arriving on serial channel 0 (4800 baud pace)", hexBytes<Op::Uart0>},
    {"shot", "FILE.png", "the visible display as PNG, in the window's greys", oneWord<Op::Shot>},
    {"texts", "", "print the visible texts: @ text X0 Y0 X1 Y1 \"TEXT\"", bare<Op::Texts>},
    {"state", "", "print @ state NAME, the innermost user-interface state", bare<Op::State>},
    {"expect-state", "NAME", "fail unless the user interface is in state NAME",
     oneWord<Op::ExpectState>},
    {"expect-text", "TEXT", "fail unless some visible text contains TEXT", text<Op::ExpectText>},
    {"expect-log", "TEXT",
     "fail unless the debug log after the previous expect-log\nmatch contains TEXT",
     text<Op::ExpectLog>},
    {"expect-out", "TEXT",
     "the same over everything the runner prints (the debug log\nand the @ lines), with a "
     "match position of its own",
     text<Op::ExpectOut>},
    {"expect-tx", "HEX...",
     "fail unless the bytes sent on serial channel 0 after the\nprevious expect-tx match "
     "contain these bytes",
     hexBytes<Op::ExpectTx>},
    {"expect-shot", "FILE.png",
     "fail unless the visible display equals the golden image\n(PANELSIM_UPDATE_GOLDEN=1 "
     "writes it); on a difference\nFILE.actual.png and FILE.diff.png are written",
     oneWord<Op::ExpectShot>},
    {"language", "N",
     "the data pool's language setting (0 German .. 18 Turkish),\nas the language menu sets "
     "it; shown at the next redraw",
     languageCommand},
    {"bus-write", "BLOCK HEX...",
     "the controller writes block BLOCK (0..255) with these bytes:\nthe frame of length, "
     "block number, bytes and checksum",
     busWriteCommand},
    {"bus-write-raw", "HEX...", "the controller writes exactly these bytes (for bad frames)",
     hexBytes<Op::BusWriteRaw>},
    {"answer", "MSG CIRCUIT HEX...",
     "the controller answers the request standing in the request\nbuffer with message MSG "
     "(0..31): header = MSG and that request's\nsequence number, byte 1 = CIRCUIT, the bytes "
     "from byte 2,\nwritten through block 16 (the panel rejects it when no\nrequest is "
     "standing)",
     answerCommand},
    {"bus-read", "CMD",
     "the controller writes the command byte CMD (0..255; 0..63\nthe panel's request, 64 its "
     "identification) and reads:\nprints @ bus-read HEX... (length, bytes, checksum)",
     busReadCommand},
    {"expect-cmd", "NNN [HEX...]",
     "fail unless the panel queued a command with code NNN after\nthe previous "
     "expect-cmd/expect-entry match; with HEX, its\nbytes from byte 4 on begin with these "
     "('..' any byte)",
     expectCmdCommand},
    {"expect-entry", "HEX...",
     "the same for a whole queued entry from byte 0 ('..' any\nbyte); it shares the match "
     "position with expect-cmd",
     expectEntryCommand},
    {"expect-no-cmd", "NNN",
     "fail if the panel queued a command with code NNN after the\nprevious "
     "expect-cmd/expect-entry match",
     expectNoCmdCommand},
}};

constexpr size_t helpColumn = 28;

bool parseLine(const std::string& raw, int number, Script& script, std::string& error)
{
    Line line{number, {}, {}};
    const std::string text = trim(withoutComment(raw));
    if (text.empty()) return true;
    std::stringstream in(text);
    for (std::string w; in >> w;)
        line.words.push_back(w);
    line.rest = trim(text.substr(line.words[0].size()));
    const std::string name = lower(line.words[0]);
    for (const Command& c : COMMANDS)
        if (name == c.name) return c.parse(line, script, error);
    error = "unknown command '" + line.words[0] + "'";
    return false;
}

} // namespace

bool SCRIPT_ParseClock(const std::string& text, int64_t& seconds)
{
    int year, month, day, hour, minute, second;
    char tail = 0;
    if (sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
               &second, &tail) != 6)
        return false;
    if (year < 1970 || year > 2099 || month < 1 || month > 12 || day < 1 || hour > 23 || hour < 0 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > lengths[month - 1] + (month == 2 && leap)) return false;
    int64_t days = 0;
    for (int y = 1970; y < year; ++y)
        days += ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0) ? 366 : 365;
    for (int m = 1; m < month; ++m)
        days += lengths[m - 1] + (m == 2 && leap);
    days += day - 1;
    seconds = days * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

bool SCRIPT_Parse(const std::string& source, Script& script, std::string& error)
{
    std::stringstream in(source);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string reason;
        if (!parseLine(line, number, script, reason)) {
            error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
    }
    return true;
}

std::string SCRIPT_Help()
{
    std::string help = "script commands, one a line; '#' starts a comment, blank lines are "
                       "ignored:\n";
    for (const Command& c : COMMANDS) {
        std::string left = "  " + std::string(c.name);
        if (*c.arguments != '\0') left += std::string(" ") + c.arguments;
        const std::string indent(helpColumn + 2, ' ');
        help += left.size() < indent.size() ? left + std::string(indent.size() - left.size(), ' ')
                                            : left + "\n" + indent;
        for (const char* p = c.help; *p != '\0'; ++p)
            help += *p == '\n' ? "\n" + indent : std::string(1, *p);
        help += '\n';
    }
    help += R"(  TEXT may be given in double quotes with \" \\ and \n escapes; numbers (BLOCK, MSG,
  CIRCUIT, CMD, NNN) in decimal or in hexadecimal after 0x.
after every bus-write, bus-write-raw, answer and bus-read the link service is posted, as the
bus driver posts it after a completed transfer: the panel acts on the transfer at its next
dispatch (within 100 ms; wait 100 before expecting what it did).
every byte the panel sends on serial channel 0 is printed as @ uart0-tx HEX.
every entry the panel puts into its transmit queue is printed at that moment as
@ cmd NNN HEX... (NNN the command code in byte 3, in decimal, then all 13 bytes of the entry,
or 30 of a long one); an entry dropped because the queue is full as @ cmd-dropped NNN HEX....
every message the panel receives is printed as @ rx MSG CIRCUIT accepted (or rejected).
)";
    return help;
}
