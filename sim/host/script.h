// The headless runner's script language: one command a line, '#' starts a comment.
//   clock YYYY-MM-DD HH:MM:SS   wait MS   press KEY[+KEY]   release   tap KEY[+KEY] [MS]
//   hardkey N [MS]   uart0 HEX...   shot FILE.png   texts   state   expect-state NAME
//   expect-text TEXT   expect-log TEXT   expect-tx HEX...   expect-shot FILE.png   language N
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
        ExpectTx,    // bytes
        ExpectShot,  // text = golden file
        Language,    // number = language index of the data pool's setting
    };
    ScriptStep(Op o, int l) : op(o), line(l) {}
    Op op;
    int line;
    int64_t number = 0;
    std::string text;
    std::vector<uint8_t> bytes;
    int hardkey = -1;     // Press: the hardkey that holds the keys, or -1 for a raw pattern
    uint32_t pattern = 0; // Press with hardkey -1: the key pattern
};

struct Script {
    std::vector<ScriptStep> steps;
};

// Reads a whole script; false with "line N: reason" in `error` for the first bad line.
bool SCRIPT_Parse(const std::string& source, Script& script, std::string& error);

// "2026-01-05 10:00:00" as seconds since 1970 (no time zone); false when malformed.
bool SCRIPT_ParseClock(const std::string& text, int64_t& seconds);
