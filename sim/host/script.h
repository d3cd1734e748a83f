// The headless runner's script language: one command a line, '#' starts a comment. The
// commands are rows of one table in script.cpp, which also writes their help (SCRIPT_Help).
// Composite commands (tap, hardkey) are expanded into primitive steps when the script is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ScriptStep {
    enum class Op {
        Clock, // number = local seconds since 1970
        Wait,  // number = milliseconds
        Press, // keys = hardkeys to hold (one, a combination hardkey, or a raw pattern)
        Release,
        HardkeyDown, // number = hardkey
        HardkeyUp,
        Uart0, // bytes
        Shot,  // text = file
        Texts,
        State,
        ExpectState, // text = state name
        ExpectText,  // text = part of a visible text
        ExpectLog,   // text = part of the debug log
        ExpectOut,   // text = part of everything the runner prints
        ExpectTx,    // bytes
        ExpectShot,  // text = golden file
        Language,    // number = language index of the data pool's setting
        BusWrite,    // number = block, bytes = data
        BusWriteRaw, // bytes = the whole frame
        Answer,      // number = message, circuit, bytes = data
        BusRead,     // number = command byte
        ExpectCmd,   // number = command code, match = its bytes from byte 4 on
        ExpectEntry, // match = the entry's bytes from byte 0 on
        ExpectNoCmd, // number = command code
    };
    ScriptStep(Op o, int l) : op(o), line(l) {}
    Op op;
    int line;
    int64_t number = 0;
    std::string text;
    std::vector<uint8_t> bytes;
    std::vector<int> match; // bytes to compare, ANY_BYTE for '..'
    uint8_t circuit = 0;
    int hardkey = -1;       // Press: the hardkey that holds the keys, or -1 for a raw pattern
    uint32_t pattern = 0;   // Press with hardkey -1: the key pattern
    size_t expectation = 0; // the runner's: the step's place among the expectations of its kind

    static constexpr int ANY_BYTE = -1;
};

struct Script {
    std::vector<ScriptStep> steps;
};

// Reads a whole script; false with "line N: reason" in `error` for the first bad line.
bool SCRIPT_Parse(const std::string& source, Script& script, std::string& error);

// "2026-01-05 10:00:00" as seconds since 1970 (no time zone); false when malformed.
bool SCRIPT_ParseClock(const std::string& text, int64_t& seconds);

// The script commands and the runner's output lines, as --help shows them.
std::string SCRIPT_Help();
