// Pixel width of texts in one of the panel's fonts, line by line.
//
//   textwidth [--font small|normal|large] [--max N] [--text-file FILE] < lines
//
// Without --text-file every line of stdin is one text. A catalogue file holds `N "text"` per
// line with the escapes \n, \" and \\; each line of a text is measured on its own. Code points
// the font lacks count 0 and are named; the exit status is then 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "display/fonts.h"

namespace {

struct Measure {
    int width = 0;
    std::vector<uint32_t> missing;
};

Measure measure(const GFX_Font& font, const std::string& line)
{
    Measure m;
    for (size_t i = 0; i < line.size();) {
        auto b = static_cast<unsigned char>(line[i]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        uint32_t cp = extra == 0 ? b : b & (0x3Fu >> extra);
        for (int k = 1; k <= extra && i + k < line.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(line[i + k]) & 0x3Fu);
        i += 1 + extra;
        const GFX_Glyph* g =
            cp <= 0xFFFF ? GFX_FindGlyph(font, static_cast<uint16_t>(cp)) : nullptr;
        if (g != nullptr)
            m.width += g->advance;
        else
            m.missing.push_back(cp);
    }
    return m;
}

// The text between the quotes of a catalogue line, escapes resolved; false if there is none.
bool catalogueText(const std::string& line, std::string& id, std::string& text)
{
    size_t open = line.find('"');
    size_t close = line.rfind('"');
    if (open == std::string::npos || close <= open) return false;
    id = line.substr(0, line.find_first_of(" \t"));
    text.clear();
    for (size_t i = open + 1; i < close; ++i) {
        if (line[i] == '\\' && i + 1 < close) {
            ++i;
            text += line[i] == 'n' ? '\n' : line[i];
        } else {
            text += line[i];
        }
    }
    return true;
}

bool report(const GFX_Font& font, const std::string& where, const std::string& line, int max)
{
    Measure m = measure(font, line);
    if (m.width > max || !m.missing.empty()) {
        std::printf("%s: %d px \"%s\"", where.c_str(), m.width, line.c_str());
        for (uint32_t cp : m.missing)
            std::printf(" missing U+%04X", cp);
        std::printf("\n");
    }
    return m.missing.empty();
}

int usage()
{
    std::fprintf(stderr,
                 "usage: textwidth [--font small|normal|large] [--max N] [--text-file FILE]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const GFX_Font* font = &FNT_GetNormal();
    int max = -1;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 >= argc) return usage();
        const char* value = argv[++i];
        if (std::strcmp(argv[i - 1], "--font") == 0) {
            if (std::strcmp(value, "small") == 0)
                font = &FNT_GetSmall();
            else if (std::strcmp(value, "large") == 0)
                font = &FNT_GetLarge();
            else if (std::strcmp(value, "normal") != 0)
                return usage();
        } else if (std::strcmp(argv[i - 1], "--max") == 0) {
            max = std::atoi(value);
        } else if (std::strcmp(argv[i - 1], "--text-file") == 0) {
            file = value;
        } else {
            return usage();
        }
    }

    bool complete = true;
    std::string line;
    if (file == nullptr) {
        for (int n = 1; std::getline(std::cin, line); ++n)
            complete = report(*font, "line " + std::to_string(n), line, max) && complete;
        return complete ? 0 : 1;
    }
    std::ifstream in(file);
    if (!in) {
        std::fprintf(stderr, "textwidth: cannot read %s\n", file);
        return 2;
    }
    std::string id, text;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || !catalogueText(line, id, text)) continue;
        size_t start = 0;
        for (int n = 1;; ++n) {
            size_t end = text.find('\n', start);
            std::string where = std::string(file) + " " + id + " line " + std::to_string(n);
            complete = report(*font, where, text.substr(start, end - start), max) && complete;
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    return complete ? 0 : 1;
}
