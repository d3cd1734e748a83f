#include "sim/host/chains.h"

size_t TextChain::add(const std::string& needle)
{
    Needle n{needle, std::vector<size_t>(needle.size(), 0)};
    for (size_t i = 1, k = 0; i < needle.size(); ++i) {
        while (k > 0 && needle[i] != needle[k])
            k = n.border[k - 1];
        if (needle[i] == needle[k]) ++k;
        n.border[i] = k;
    }
    needles_.push_back(std::move(n));
    skipEmpty();
    return needles_.size() - 1;
}

// An empty text is found wherever the search stands.
void TextChain::skipEmpty()
{
    while (next_ < needles_.size() && needles_[next_].text.empty())
        ++next_;
}

void TextChain::feed(const char* data, size_t length)
{
    for (size_t i = 0; i < length && next_ < needles_.size(); ++i) {
        const Needle& n = needles_[next_];
        const char c = data[i];
        while (matched_ > 0 && n.text[matched_] != c)
            matched_ = n.border[matched_ - 1];
        if (n.text[matched_] == c) ++matched_;
        if (matched_ < n.text.size()) continue;
        // The next expectation is searched after this match, never overlapping it.
        ++next_;
        matched_ = 0;
        skipEmpty();
    }
}

size_t CommandChain::addCommand(uint8_t code, const std::vector<int>& parameters)
{
    patterns_.push_back({CODE_BYTE + 1, parameters, code});
    return patterns_.size() - 1;
}

size_t CommandChain::addEntry(const std::vector<int>& bytes)
{
    patterns_.push_back({0, bytes, -1});
    return patterns_.size() - 1;
}

size_t CommandChain::addAbsence(uint8_t code)
{
    absences_.push_back({code, patterns_.size()});
    return absences_.size() - 1;
}

bool CommandChain::matches(const Pattern& p, std::span<const uint8_t> entry)
{
    if (entry.size() <= CODE_BYTE || entry.size() < p.from + p.bytes.size()) return false;
    if (p.code >= 0 && entry[CODE_BYTE] != p.code) return false;
    for (size_t i = 0; i < p.bytes.size(); ++i)
        if (p.bytes[i] != ANY_BYTE && p.bytes[i] != entry[p.from + i]) return false;
    return true;
}

void CommandChain::feed(std::span<const uint8_t> entry)
{
    // Absences first: the entry that makes the match before an absence is not after it.
    while (firstOpen_ < absences_.size() && !absences_[firstOpen_].open)
        ++firstOpen_;
    for (size_t w = firstOpen_; w < absences_.size() && absences_[w].after <= next_; ++w)
        if (absences_[w].open && entry.size() > CODE_BYTE && entry[CODE_BYTE] == absences_[w].code)
            absences_[w].seen = true;
    if (next_ < patterns_.size() && matches(patterns_[next_], entry)) ++next_;
}
