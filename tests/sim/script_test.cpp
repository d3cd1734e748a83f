#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "sim/hal/keys.h"
#include "sim/host/headless.h"
#include "sim/host/script.h"

namespace {

using Op = ScriptStep::Op;

Script parse(const std::string& source)
{
    Script script;
    std::string error;
    EXPECT_TRUE(SCRIPT_Parse(source, script, error)) << error;
    return script;
}

std::string parseError(const std::string& source)
{
    Script script;
    std::string error;
    EXPECT_FALSE(SCRIPT_Parse(source, script, error)) << source;
    return error;
}

TEST(Script, CompositeCommandsExpandIntoSteps)
{
    const Script s = parse("# a comment\n\ntap ok 250\nhardkey 13\n");
    ASSERT_EQ(s.steps.size(), 8u);
    EXPECT_EQ(s.steps[0].op, Op::Press);
    EXPECT_EQ(s.steps[0].hardkey, HARDKEY_OK);
    EXPECT_EQ(s.steps[1].op, Op::Wait);
    EXPECT_EQ(s.steps[1].number, 250);
    EXPECT_EQ(s.steps[2].op, Op::Release);
    EXPECT_EQ(s.steps[3].number, 100);
    EXPECT_EQ(s.steps[4].op, Op::HardkeyDown);
    EXPECT_EQ(s.steps[4].number, 13);
    EXPECT_EQ(s.steps[5].number, 100) << "default hold";
    EXPECT_EQ(s.steps[6].op, Op::HardkeyUp);
    EXPECT_EQ(s.steps[7].line, 4);
}

TEST(Script, KeyPairsUseTheCombinationHardkeys)
{
    struct Case {
        const char* keys;
        int hardkey;
        uint32_t pattern;
    };
    for (const Case c :
         {Case{"Menu+OK", 10, 0xA0}, Case{"ok+menu", 10, 0xA0}, Case{"OK+Up", 8, 0x28},
          Case{"Down+OK", 9, 0x30}, Case{"menu+down", 11, 0x90}, Case{"Back+OK", 12, 0x21},
          Case{"Left+Right", -1, 0x06}, Case{"HELP", HARDKEY_HELP, 0x40}}) {
        const Script s = parse(std::string("press ") + c.keys);
        ASSERT_EQ(s.steps.size(), 1u);
        EXPECT_EQ(s.steps[0].hardkey, c.hardkey) << c.keys;
        EXPECT_EQ(s.steps[0].pattern, c.pattern) << c.keys;
    }
}

TEST(Script, TextArgumentsTakeTheRestOfTheLineOrAQuotedString)
{
    const Script s = parse("expect-text Weiter mit OK\nexpect-log \"\\n BGA_Grundanzeige Entry\"  "
                           "# comment\nexpect-text Wählen mit ♯ # hint\n");
    ASSERT_EQ(s.steps.size(), 3u);
    EXPECT_EQ(s.steps[0].text, "Weiter mit OK");
    EXPECT_EQ(s.steps[1].text, "\n BGA_Grundanzeige Entry");
    EXPECT_EQ(s.steps[2].text, "Wählen mit ♯");
}

TEST(Script, BytesClockAndFiles)
{
    const Script s = parse("uart0 05 a0 FF\nexpect-tx 06\nclock 2026-03-29 02:30:00\nshot a.png\n");
    EXPECT_EQ(s.steps[0].bytes, (std::vector<uint8_t>{0x05, 0xA0, 0xFF}));
    EXPECT_EQ(s.steps[1].op, Op::ExpectTx);
    EXPECT_EQ(s.steps[2].number, 1774751400);
    EXPECT_EQ(s.steps[3].text, "a.png");
}

TEST(Script, ErrorsNameTheLine)
{
    EXPECT_EQ(parseError("wait 10\nfly away\n"), "line 2: unknown command 'fly'");
    EXPECT_NE(parseError("press Enter").find("line 1: unknown key 'Enter'"), std::string::npos);
    EXPECT_NE(parseError("press OK+Up+Down").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("wait -5").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("uart0 5").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("clock 2026-02-30 10:00:00").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("hardkey x").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("expect-text \"open").find("line 1"), std::string::npos);
    EXPECT_NE(parseError("state now").find("line 1"), std::string::npos);
}

TEST(Script, TheControllersSideParsesIntoTransfersAndExpectations)
{
    const Script s = parse("bus-write 28 02 00 c3\n"
                           "bus-write 0x10 A0\n"
                           "bus-write-raw 03 10 A0 01 B2\n"
                           "answer 22 0 00 0A 07\n"
                           "answer 10 1\n"
                           "bus-read 64\n"
                           "bus-read 0x40\n"
                           "expect-cmd 235 55\n"
                           "expect-cmd 231 .. 00\n"
                           "expect-cmd 240\n"
                           "expect-entry 14 .. 00 E7\n"
                           "expect-no-cmd 235\n"
                           "expect-out @ rx 22 0 accepted\n");
    ASSERT_EQ(s.steps.size(), 13u);
    EXPECT_EQ(s.steps[0].op, Op::BusWrite);
    EXPECT_EQ(s.steps[0].number, 28);
    EXPECT_EQ(s.steps[0].bytes, (std::vector<uint8_t>{0x02, 0x00, 0xC3}));
    EXPECT_EQ(s.steps[1].number, 16) << "numbers may be hexadecimal after 0x";
    EXPECT_EQ(s.steps[2].op, Op::BusWriteRaw);
    EXPECT_EQ(s.steps[2].bytes.size(), 5u);
    EXPECT_EQ(s.steps[3].op, Op::Answer);
    EXPECT_EQ(s.steps[3].number, 22);
    EXPECT_EQ(s.steps[3].circuit, 0);
    EXPECT_EQ(s.steps[3].bytes, (std::vector<uint8_t>{0x00, 0x0A, 0x07}));
    EXPECT_EQ(s.steps[4].circuit, 1);
    EXPECT_TRUE(s.steps[4].bytes.empty()) << "a message of header and circuit only";
    EXPECT_EQ(s.steps[5].op, Op::BusRead);
    EXPECT_EQ(s.steps[5].number, 64);
    EXPECT_EQ(s.steps[6].number, 64);
    EXPECT_EQ(s.steps[7].op, Op::ExpectCmd);
    EXPECT_EQ(s.steps[7].number, 235);
    EXPECT_EQ(s.steps[7].match, (std::vector<int>{0x55}));
    EXPECT_EQ(s.steps[8].match, (std::vector<int>{ScriptStep::ANY_BYTE, 0x00}));
    EXPECT_TRUE(s.steps[9].match.empty());
    EXPECT_EQ(s.steps[10].op, Op::ExpectEntry);
    EXPECT_EQ(s.steps[10].match, (std::vector<int>{0x14, ScriptStep::ANY_BYTE, 0x00, 0xE7}));
    EXPECT_EQ(s.steps[11].op, Op::ExpectNoCmd);
    EXPECT_EQ(s.steps[11].number, 235);
    EXPECT_EQ(s.steps[12].op, Op::ExpectOut);
    EXPECT_EQ(s.steps[12].text, "@ rx 22 0 accepted");
}

TEST(Script, BadBytesNumbersAndMissingArgumentsNameTheirLine)
{
    struct Case {
        const char* line;
        const char* why;
    };
    const Case cases[] = {
        {"bus-write 16 0G", "bad hex"},
        {"bus-write 16 A", "one hex digit"},
        {"bus-write 16 .. 01", "no wildcard in what is written"},
        {"bus-write 256 01", "a block outside 0..255"},
        {"bus-write -1 01", "a negative block"},
        {"bus-write 0x100 01", "a block outside 0..255 in hex"},
        {"bus-write 16", "no bytes"},
        {"bus-write", "no block"},
        {"bus-write-raw", "no bytes"},
        {"bus-write-raw 3", "bad hex"},
        {"answer 22", "no circuit"},
        {"answer", "no message"},
        {"answer 32 0 00", "a message outside 0..31"},
        {"answer 22 256 00", "a circuit outside 0..255"},
        {"answer 22 0 xx", "bad hex"},
        {"bus-read", "no command byte"},
        {"bus-read 256", "a command byte outside 0..255"},
        {"bus-read 40 41", "two command bytes"},
        {"expect-cmd", "no command code"},
        {"expect-cmd 235 5", "bad hex"},
        {"expect-cmd 1000", "a code outside 0..255"},
        {"expect-entry", "no bytes"},
        {"expect-entry 14 ...", "bad wildcard"},
        {"expect-no-cmd", "no command code"},
        {"expect-no-cmd 235 55", "bytes after the code"},
        {"expect-out", "no text"},
        {"hardkey 34", "a hardkey the device does not have"},
    };
    for (const Case& c : cases) {
        const std::string error = parseError(std::string("wait 10\n# comment\n") + c.line + "\n");
        EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << c.line << " (" << c.why << "): " << error;
    }
}

TEST(Script, TheHelpListsEveryCommandTheParserKnowsAndNoOther)
{
    const std::string help = SCRIPT_Help();
    std::vector<std::string> listed;
    std::stringstream lines(help);
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 2 && line.rfind("  ", 0) == 0 && std::islower(line[2]))
            listed.push_back(line.substr(2, line.find(' ', 2) - 2));
    for (const char* name :
         {"clock",        "wait",        "press",        "release",       "tap",
          "hardkey",      "uart0",       "shot",         "texts",         "state",
          "expect-state", "expect-text", "expect-log",   "expect-out",    "expect-tx",
          "expect-shot",  "language",    "bus-write",    "bus-write-raw", "answer",
          "bus-read",     "expect-cmd",  "expect-entry", "expect-no-cmd"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
    for (const std::string& name : listed) {
        Script script;
        std::string error;
        SCRIPT_Parse(name + "\n", script, error);
        EXPECT_EQ(error.find("unknown command"), std::string::npos) << name;
    }
    // The range the help names is the parser's.
    EXPECT_NE(help.find("hardkey N [MS]              press hardkey N (0..33)"), std::string::npos);
    parse("hardkey 33");
    EXPECT_FALSE(parseError("hardkey 34").empty());
}

TEST(Script, AScriptErrorEndsTheRunWithStatusTwoAndItsLine)
{
    const std::string path = testing::TempDir() + "panelsim_script_error.script";
    for (const char* bad : {"wait 10\n\nbus-write 300 01\n", "wait 10\n\nanswer 22\n",
                            "wait 10\n\nexpect-cmd 235 5\n"}) {
        std::ofstream(path) << bad;
        testing::internal::CaptureStdout();
        HeadlessOptions options;
        options.scriptPath = path;
        const int status = HEADLESS_Run(options);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(status, 2) << bad;
        EXPECT_EQ(out.rfind("@ ERROR line 3: ", 0), 0u) << out;
    }
    std::remove(path.c_str());
}

} // namespace
