// The runner's expectations searched while the stream arrives find exactly what a search of
// the whole kept stream would find.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/host/chains.h"

namespace {

// The search over a kept stream: each needle from the end of the previous match.
size_t foundInKeptStream(const std::vector<std::string>& needles, const std::string& stream)
{
    size_t at = 0, found = 0;
    for (const std::string& n : needles) {
        const size_t p = stream.find(n, at);
        if (p == std::string::npos) break;
        at = p + n.size();
        ++found;
    }
    return found;
}

TEST(TextChain, FindsWhatASearchOfTheWholeStreamFindsWhateverTheChunks)
{
    std::mt19937 rng(11);
    auto text = [&](size_t maxLength) {
        std::string s(rng() % (maxLength + 1), ' ');
        for (char& c : s)
            c = "aab\n"[rng() % 4];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> needles;
        TextChain chain;
        for (int i = 0; i < 6; ++i) {
            needles.push_back(text(5));
            EXPECT_EQ(chain.add(needles.back()), static_cast<size_t>(i));
        }
        const std::string stream = text(80);
        std::string fed;
        for (size_t at = 0; at < stream.size();) {
            const size_t n = std::min<size_t>(rng() % 7, stream.size() - at);
            chain.feed(stream.data() + at, n);
            fed += stream.substr(at, n);
            at += n;
            const size_t want = foundInKeptStream(needles, fed);
            for (size_t i = 0; i < needles.size(); ++i)
                ASSERT_EQ(chain.found(i), i < want)
                    << "round " << round << " needle " << i << " in \"" << fed << "\"";
        }
    }
}

TEST(TextChain, MatchesDoNotOverlapAndAnEmptyTextIsFoundAtOnce)
{
    TextChain chain;
    chain.add("");
    chain.add("aa");
    chain.add("aa");
    EXPECT_TRUE(chain.found(0));
    chain.feed("aaa", 3);
    EXPECT_TRUE(chain.found(1));
    EXPECT_FALSE(chain.found(2)) << "the second match starts after the first";
    chain.feed("a", 1);
    EXPECT_TRUE(chain.found(2));
}

std::vector<uint8_t> entry(uint8_t code, std::vector<uint8_t> parameters)
{
    std::vector<uint8_t> e(13, 0);
    e[0] = 20;
    e[1] = 0x0A;
    e[3] = code;
    std::copy(parameters.begin(), parameters.end(), e.begin() + 4);
    return e;
}

TEST(CommandChain, CommandsAndEntriesAreFoundInOrderWithAnyByteWildcards)
{
    CommandChain chain;
    chain.addCommand(235, {0x55});
    chain.addEntry({20, CommandChain::ANY_BYTE, 0, 231, 3});
    chain.addCommand(231, {});
    chain.feed(entry(231, {3}));
    EXPECT_FALSE(chain.found(0)) << "in order: 235 first";
    chain.feed(entry(235, {0xAA}));
    EXPECT_FALSE(chain.found(0)) << "parameters differ";
    chain.feed(entry(235, {0x55, 1}));
    EXPECT_TRUE(chain.found(0)) << "the parameters begin with 55";
    chain.feed(entry(231, {3}));
    EXPECT_TRUE(chain.found(1));
    EXPECT_FALSE(chain.found(2)) << "one entry matches one expectation";
    chain.feed(entry(231, {}));
    EXPECT_TRUE(chain.found(2));
}

TEST(CommandChain, AnAbsenceCountsOnlyCommandsQueuedAfterTheMatchBeforeIt)
{
    CommandChain chain;
    chain.addCommand(240, {});
    const size_t none = chain.addAbsence(235);
    chain.addCommand(235, {});
    const size_t noneAfter = chain.addAbsence(235);
    chain.feed(entry(235, {}));
    EXPECT_FALSE(chain.seen(none)) << "before the match it follows";
    chain.feed(entry(240, {}));
    EXPECT_FALSE(chain.seen(none));
    chain.feed(entry(234, {}));
    EXPECT_FALSE(chain.seen(none));
    chain.close(none);
    chain.feed(entry(235, {}));
    EXPECT_TRUE(chain.found(1));
    EXPECT_FALSE(chain.seen(none)) << "its step has run";
    EXPECT_FALSE(chain.seen(noneAfter)) << "the matching entry itself is not after the match";
    chain.feed(entry(235, {}));
    EXPECT_TRUE(chain.seen(noneAfter));
}

} // namespace
