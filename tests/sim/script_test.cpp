#include <gtest/gtest.h>

#include "sim/hal/keys.h"
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

} // namespace
