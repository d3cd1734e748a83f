#include <cstring>

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace {

TEST(Utf8, DecodesAndConvertsBothWays)
{
    const char* text = "Wählen ♯ Ж";
    uint16_t ucs2[16];
    const uint16_t n = GFX_Utf8ToUcs2(text, static_cast<uint16_t>(strlen(text)), ucs2, 16);
    ASSERT_EQ(n, 10);
    EXPECT_EQ(ucs2[1], 0xE4);
    EXPECT_EQ(ucs2[7], 0x266F);
    EXPECT_EQ(ucs2[9], 0x416);
    char back[32];
    const uint16_t bytes = GFX_Ucs2ToUtf8(ucs2, n, back, sizeof back);
    EXPECT_EQ(std::string(back, bytes), text);
}

TEST(Utf8, TruncatedAndMalformedSequencesNeverReadPastTheEnd)
{
    struct Case {
        const char* bytes;
        int32_t length;
        uint16_t first;
        int32_t advance;
    };
    const Case cases[] = {
        {"\xC3", 1, 0xFFFD, 1},      // lead byte at the very end
        {"\xE2\x99", 2, 0xFFFD, 1},  // three-byte sequence cut after two
        {"\xE2\x99", -1, 0xFFFD, 1}, // ... and at the terminator
        {"\x80"
         "a",
         2, 0xFFFD, 1},                     // stray continuation byte
        {"\xC0\x80", 2, 0xFFFD, 2},         // overlong encoding of 0
        {"\xF0\x9F\x98\x80", 4, 0xFFFD, 4}, // beyond the 16-bit range
        {"\xED\xA0\x80", 3, 0xFFFD, 3},     // surrogate
        {"\xFF", 1, 0xFFFD, 1},
        {"", -1, 0, 0},
    };
    for (const Case& c : cases) {
        int32_t i = 0;
        EXPECT_EQ(GFX_DecodeUtf8(c.bytes, c.length, i), c.first) << c.bytes;
        EXPECT_EQ(i, c.advance) << c.bytes;
    }
}

TEST(Utf8, EncodingStopsBeforeACharacterThatDoesNotFit)
{
    const uint16_t ucs2[] = {'a', 0xE4, 0x266C};
    char out[8];
    EXPECT_EQ(GFX_Ucs2ToUtf8(ucs2, 3, out, 3), 3); // "a" + "ä", not the 3-byte symbol
    EXPECT_EQ(GFX_Ucs2ToUtf8(ucs2, 3, out, 2), 1);
    EXPECT_EQ(GFX_Ucs2ToUtf8(ucs2, 3, out, 6), 6);
}

TEST(Utf8, PrefixEndsOnACharacterBoundary)
{
    const char* text = "aä♯"; // 1 + 2 + 3 bytes
    EXPECT_EQ(GFX_Utf8Prefix(text, 6), 6);
    EXPECT_EQ(GFX_Utf8Prefix(text, 5), 3);
    EXPECT_EQ(GFX_Utf8Prefix(text, 4), 3);
    EXPECT_EQ(GFX_Utf8Prefix(text, 2), 1);
    EXPECT_EQ(GFX_Utf8Prefix(text, 1), 1);
    EXPECT_EQ(GFX_Utf8Prefix(text, 0), 0);
}

} // namespace
