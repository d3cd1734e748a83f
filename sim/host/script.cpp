#include "sim/host/script.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <sstream>

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

bool parseHex(const std::vector<std::string>& words, std::vector<uint8_t>& bytes,
              std::string& error)
{
    if (words.size() < 2) {
        error = "give at least one byte as two hex digits";
        return false;
    }
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() != 2 || !std::isxdigit(static_cast<unsigned char>(w[0])) ||
            !std::isxdigit(static_cast<unsigned char>(w[1]))) {
            error = "'" + w + "' is not a byte of two hex digits";
            return false;
        }
        bytes.push_back(static_cast<uint8_t>(std::stoi(w, nullptr, 16)));
    }
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

bool parseLine(const std::string& raw, int number, Script& script, std::string& error)
{
    const std::string line = trim(withoutComment(raw));
    if (line.empty()) return true;
    std::vector<std::string> words;
    std::stringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w);
    const std::string command = lower(words[0]);
    const std::string rest = trim(line.substr(words[0].size()));
    auto add = [&](ScriptStep::Op op) -> ScriptStep& {
        script.steps.push_back(ScriptStep{op, number});
        return script.steps.back();
    };
    auto addWait = [&](int64_t ms) { add(ScriptStep::Op::Wait).number = ms; };
    auto arity = [&](size_t low, size_t high) {
        if (words.size() - 1 < low || words.size() - 1 > high) {
            error = "wrong number of arguments for '" + words[0] + "'";
            return false;
        }
        return true;
    };

    if (command == "clock") {
        int64_t seconds = 0;
        if (!SCRIPT_ParseClock(rest, seconds)) {
            error = "clock wants YYYY-MM-DD HH:MM:SS (1970..2099)";
            return false;
        }
        add(ScriptStep::Op::Clock).number = seconds;
    } else if (command == "wait") {
        int64_t ms = 0;
        if (!arity(1, 1) || !parseNumber(words[1], ms, 0, maxWaitMs)) {
            if (error.empty()) error = "wait wants milliseconds";
            return false;
        }
        addWait(ms);
    } else if (command == "press") {
        ScriptStep step{ScriptStep::Op::Press, number};
        if (!arity(1, 1) || !parseKeys(words[1], step, error)) return false;
        script.steps.push_back(step);
    } else if (command == "release") {
        if (!arity(0, 0)) return false;
        add(ScriptStep::Op::Release);
    } else if (command == "tap") {
        ScriptStep step{ScriptStep::Op::Press, number};
        int64_t hold = defaultHoldMs;
        if (!arity(1, 2) || !parseKeys(words[1], step, error)) return false;
        if (words.size() == 3 && !parseNumber(words[2], hold, 0, maxWaitMs)) {
            error = "tap wants the hold time in milliseconds";
            return false;
        }
        script.steps.push_back(step);
        addWait(hold);
        add(ScriptStep::Op::Release);
        addWait(settleMs);
    } else if (command == "hardkey") {
        int64_t key = 0, hold = defaultHoldMs;
        if (!arity(1, 2) || !parseNumber(words[1], key, 0, 127)) {
            if (error.empty()) error = "hardkey wants a number 0..127";
            return false;
        }
        if (words.size() == 3 && !parseNumber(words[2], hold, 0, maxWaitMs)) {
            error = "hardkey wants the hold time in milliseconds";
            return false;
        }
        add(ScriptStep::Op::HardkeyDown).number = key;
        addWait(hold);
        add(ScriptStep::Op::HardkeyUp).number = key;
        addWait(settleMs);
    } else if (command == "uart0" || command == "expect-tx") {
        ScriptStep step{command == "uart0" ? ScriptStep::Op::Uart0 : ScriptStep::Op::ExpectTx,
                        number};
        if (!parseHex(words, step.bytes, error)) return false;
        script.steps.push_back(step);
    } else if (command == "shot" || command == "expect-shot") {
        if (!arity(1, 1)) return false;
        add(command == "shot" ? ScriptStep::Op::Shot : ScriptStep::Op::ExpectShot).text = words[1];
    } else if (command == "language") {
        int64_t index = 0;
        if (!arity(1, 1) || !parseNumber(words[1], index, 0, 18)) {
            if (error.empty()) error = "language wants a language index 0..18";
            return false;
        }
        add(ScriptStep::Op::Language).number = index;
    } else if (command == "texts" || command == "state") {
        if (!arity(0, 0)) return false;
        add(command == "texts" ? ScriptStep::Op::Texts : ScriptStep::Op::State);
    } else if (command == "expect-state") {
        if (!arity(1, 1)) return false;
        add(ScriptStep::Op::ExpectState).text = words[1];
    } else if (command == "expect-text" || command == "expect-log") {
        std::string text;
        if (!parseText(rest, text, error)) return false;
        add(command == "expect-text" ? ScriptStep::Op::ExpectText : ScriptStep::Op::ExpectLog)
            .text = text;
    } else {
        error = "unknown command '" + words[0] + "'";
        return false;
    }
    return true;
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
