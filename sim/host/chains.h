// The runner's expectations on what the panel produced: the debug log, everything printed,
// the serial bytes and the queued commands. A script's expect-... lines of one kind form a
// chain; each is searched from the end of the previous one's first match. The runner knows the
// whole script before it starts, so it searches while the stream arrives and keeps nothing of
// the stream itself: its memory stays the same however long the panel runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Texts (or byte strings) found in order in a stream of characters.
class TextChain {
  public:
    // Appends the next expectation, in script order, before the stream starts; returns its
    // index.
    size_t add(const std::string& needle);
    void feed(const char* data, size_t length);
    // Whether expectation i has been found (and with it all before it).
    bool found(size_t i) const { return i < next_; }

  private:
    struct Needle {
        std::string text;
        std::vector<size_t> border; // border[i]: longest proper border of text[0..i]
    };
    void skipEmpty();

    std::vector<Needle> needles_;
    size_t next_ = 0;    // the expectation being searched
    size_t matched_ = 0; // its characters matched by the end of the stream so far
};

// Commands found in order among the entries the panel queued (expect-cmd, expect-entry), and
// the commands that must not come after a match (expect-no-cmd).
class CommandChain {
  public:
    static constexpr int ANY_BYTE = -1;
    static constexpr size_t CODE_BYTE = 3;

    // An entry with this command code whose bytes from byte 4 begin with `parameters`.
    size_t addCommand(uint8_t code, const std::vector<int>& parameters);
    // An entry whose bytes from byte 0 begin with `bytes`.
    size_t addEntry(const std::vector<int>& bytes);
    // A command code that must not be queued after the match of the expectations added before
    // it, up to the moment its step runs; returns its index.
    size_t addAbsence(uint8_t code);

    void feed(std::span<const uint8_t> entry);
    bool found(size_t i) const { return i < next_; }
    // Whether absence w's command has been queued since the match before it.
    bool seen(size_t w) const { return absences_[w].seen; }
    // Absence w's step has run: what comes later no longer concerns it.
    void close(size_t w) { absences_[w].open = false; }

  private:
    struct Pattern {
        size_t from; // first byte of the entry compared
        std::vector<int> bytes;
        int code; // -1: any command
    };
    struct Absence {
        uint8_t code;
        size_t after; // number of patterns that must have been found first
        bool seen = false;
        bool open = true;
    };
    static bool matches(const Pattern& p, std::span<const uint8_t> entry);

    std::vector<Pattern> patterns_;
    std::vector<Absence> absences_;
    size_t next_ = 0;
    size_t firstOpen_ = 0;
};
