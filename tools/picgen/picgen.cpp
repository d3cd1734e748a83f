// picgen: turns the text-art pictures pictures/<name>.pic into the panel's constant bitmaps.
//
//   picgen --out DIR FILE.pic...
//
// Writes DIR/pictures.h (one `extern const GFX_Bitmap PIC_<Name>;` per picture),
// DIR/pictures.cpp and DIR/pictures_index.h (every picture by name, for the tools and tests that
// walk them all; the panel never includes it), each only when its content changes, so an untouched
// picture set does not recompile the panel. A source is a comment line ("// what it is, where it is
// drawn"), a line "size W H" and H rows of W characters, '#' for a set pixel and '.' for a clear
// one. Any fault stops with "file:line: message" and exit status 1: a picture that is drawn wrong
// must not reach the display silently.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The display is the largest place a picture can be drawn.
constexpr int MAX_WIDTH = 240;
constexpr int MAX_HEIGHT = 160;

struct Picture {
    std::string name;        // CamelCase, becomes PIC_<name>
    std::string file;        // as given on the command line, for messages
    std::string description; // the first comment line
    int width = 0;
    int height = 0;
    std::vector<std::string> rows;
};

struct SourceError {
    std::string message; // "file:line: text"
};

[[noreturn]] void fail(const std::string& file, size_t line, const std::string& text)
{
    throw SourceError{file + ":" + std::to_string(line) + ": " + text};
}

// item_heizung -> ItemHeizung; anything but lower-case words joined by '_' is refused, so a
// file name always gives a valid and predictable C++ name.
std::optional<std::string> camelName(const std::string& stem)
{
    if (stem.empty() || !std::islower(static_cast<unsigned char>(stem.front()))) return {};
    std::string name;
    bool upper = true;
    for (const char c : stem) {
        if (c == '_') {
            if (upper) return {}; // doubled or leading '_'
            upper = true;
            continue;
        }
        if (!std::islower(static_cast<unsigned char>(c)) &&
            !std::isdigit(static_cast<unsigned char>(c)))
            return {};
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    if (upper) return {}; // trailing '_'
    return name;
}

bool isBlank(const std::string& line)
{
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

// "size W H" with nothing else on the line.
bool parseSize(const std::string& line, int& width, int& height)
{
    std::istringstream in(line);
    std::string word, rest;
    if (!(in >> word) || word != "size" || !(in >> width >> height)) return false;
    return !(in >> rest);
}

Picture readPicture(const std::string& file)
{
    Picture pic;
    pic.file = file;
    const auto name = camelName(fs::path(file).stem().string());
    if (!name) fail(file, 1, "file name must be lower-case words joined by '_' (item_heizung.pic)");
    pic.name = *name;

    std::ifstream in(file, std::ios::binary);
    if (!in) fail(file, 1, "cannot be read");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }

    size_t i = 0;
    for (; i < lines.size() && !lines[i].starts_with("size"); ++i) {
        if (lines[i].starts_with("//")) {
            if (pic.description.empty()) {
                const size_t start = lines[i].find_first_not_of(" /");
                if (start != std::string::npos) pic.description = lines[i].substr(start);
            }
        } else if (!isBlank(lines[i])) {
            fail(file, i + 1, "expected a '//' comment or the line \"size W H\"");
        }
    }
    if (i == lines.size()) fail(file, lines.size() + 1, "no line \"size W H\"");
    if (pic.description.empty())
        fail(file, i + 1, "a comment line saying what the picture is must come before the size");
    const size_t sizeLine = i + 1;
    if (!parseSize(lines[i], pic.width, pic.height))
        fail(file, sizeLine, "expected \"size W H\" with two whole numbers");
    if (pic.width < 1 || pic.width > MAX_WIDTH || pic.height < 1 || pic.height > MAX_HEIGHT)
        fail(file, sizeLine,
             "size " + std::to_string(pic.width) + " x " + std::to_string(pic.height) +
                 " does not fit the display (1..240 x 1..160)");

    for (++i; i < lines.size() && pic.rows.size() < static_cast<size_t>(pic.height); ++i) {
        const std::string& row = lines[i];
        const size_t bad = row.find_first_not_of("#.");
        if (bad != std::string::npos)
            fail(file, i + 1,
                 "column " + std::to_string(bad + 1) + ": '" + row[bad] +
                     "' is not a pixel ('#' set, '.' clear)");
        if (row.size() != static_cast<size_t>(pic.width))
            fail(file, i + 1,
                 "row has " + std::to_string(row.size()) + " pixels, size says " +
                     std::to_string(pic.width));
        pic.rows.push_back(row);
    }
    if (pic.rows.size() < static_cast<size_t>(pic.height))
        fail(file, lines.size() + 1,
             std::to_string(pic.rows.size()) + " rows, size says " + std::to_string(pic.height));
    for (; i < lines.size(); ++i)
        if (!isBlank(lines[i]))
            fail(file, i + 1, "more rows than the size says (" + std::to_string(pic.height) + ")");
    const bool anySet = std::any_of(pic.rows.begin(), pic.rows.end(), [](const std::string& r) {
        return r.find('#') != std::string::npos;
    });
    if (!anySet) fail(file, sizeLine, "the picture has no set pixel");
    return pic;
}

std::string hexByte(unsigned value)
{
    static constexpr char DIGITS[] = "0123456789abcdef";
    return std::string("0x") + DIGITS[(value >> 4) & 15] + DIGITS[value & 15];
}

// C++ comment text: a description must not end the comment early.
std::string commentText(std::string text)
{
    for (size_t at; (at = text.find("*/")) != std::string::npos;)
        text.replace(at, 2, "* /");
    return text;
}

std::string headerSource(const std::vector<Picture>& pictures)
{
    std::string out =
        "// Generated by picgen from pictures/*.pic: edit the pictures, not this file.\n"
        "#pragma once\n\n#include \"gfx/gfx.h\"\n\n";
    for (const Picture& pic : pictures)
        out += "// " + std::to_string(pic.width) + " x " + std::to_string(pic.height) + ": " +
               commentText(pic.description) + "\nextern const GFX_Bitmap PIC_" + pic.name + ";\n";
    return out;
}

std::string bitmapSource(const std::vector<Picture>& pictures)
{
    std::string out =
        "// Generated by picgen from pictures/*.pic: edit the pictures, not this file.\n"
        "#include \"pictures.h\"\n\n#include <cstdint>\n\nnamespace {\n";
    for (const Picture& pic : pictures) {
        out += "\n// " + fs::path(pic.file).filename().string() + "\nconstexpr uint8_t " +
               pic.name + "Bits[] = {\n";
        for (const std::string& row : pic.rows) {
            out += "   ";
            for (int byte = 0; byte < (pic.width + 7) / 8; ++byte) {
                unsigned value = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const int x = byte * 8 + bit;
                    if (x < pic.width && row[x] == '#') value |= 0x80u >> bit;
                }
                out += ' ';
                out += hexByte(value);
                out += ',';
            }
            out += "\n";
        }
        out += "};\n";
    }
    out += "\n} // namespace\n\n";
    for (const Picture& pic : pictures)
        out += "const GFX_Bitmap PIC_" + pic.name + "{" + std::to_string(pic.width) + ", " +
               std::to_string(pic.height) + ", " + std::to_string((pic.width + 7) / 8) + ", 1, " +
               pic.name + "Bits};\n";
    return out;
}

std::string indexSource(const std::vector<Picture>& pictures)
{
    std::string out =
        "// Generated by picgen from pictures/*.pic: edit the pictures, not this file.\n"
        "// Every picture by name, for tools and tests that walk them all.\n"
        "#pragma once\n\n#include \"pictures.h\"\n\n"
        "struct PIC_IndexEntry {\n    const char* name;\n    const GFX_Bitmap* bitmap;\n};\n\n"
        "inline constexpr PIC_IndexEntry PIC_INDEX[] = {\n";
    for (const Picture& pic : pictures)
        out += "    {\"PIC_" + pic.name + "\", &PIC_" + pic.name + "},\n";
    return out + "};\n";
}

std::optional<std::string> readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool writeIfChanged(const fs::path& path, const std::string& content)
{
    if (readFile(path) == content) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out.flush());
}

int usage()
{
    std::fputs("usage: picgen --out DIR FILE.pic...\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::optional<fs::path> outDir;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc)
            outDir = argv[++i];
        else if (arg.starts_with("--"))
            return usage();
        else
            files.push_back(arg);
    }
    if (!outDir || files.empty()) return usage();

    std::vector<Picture> pictures;
    try {
        for (const std::string& file : files) {
            Picture pic = readPicture(file);
            for (const Picture& other : pictures)
                if (other.name == pic.name)
                    fail(file, 1, "PIC_" + pic.name + " is already made by " + other.file);
            pictures.push_back(std::move(pic));
        }
    } catch (const SourceError& error) {
        std::fprintf(stderr, "%s\n", error.message.c_str());
        return 1;
    }
    // Sorted by name, so the order of the command line never changes the output.
    std::sort(pictures.begin(), pictures.end(),
              [](const Picture& a, const Picture& b) { return a.name < b.name; });

    std::error_code ec;
    fs::create_directories(*outDir, ec);
    if (!writeIfChanged(*outDir / "pictures.h", headerSource(pictures)) ||
        !writeIfChanged(*outDir / "pictures.cpp", bitmapSource(pictures)) ||
        !writeIfChanged(*outDir / "pictures_index.h", indexSource(pictures))) {
        std::fprintf(stderr, "picgen: cannot write into %s\n", outDir->string().c_str());
        return 1;
    }
    return 0;
}
