// Reading the text sources: one line per identifier, `N "text"`, escapes \n, \" and \\, lines
// starting with # are comments. The reader is strict so that a slip in a translation stops the
// build with its line instead of showing up as a wrong text on the panel.
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "base/utf8.h"
#include "textgen.h"

const std::array<Language, TG_LANGUAGE_COUNT> TG_Languages{{
    {"de", "DE", "Deutsch"},    {"cs", "CZ", "Česky"},     {"da", "DK", "Dansk"},
    {"en", "GB", "English"},    {"es", "ES", "Español"},   {"et", "EE", "Estnisch"},
    {"fr", "FR", "Français"},   {"hr", "HR", "Hrvatski"},  {"it", "IT", "Italiano"},
    {"lv", "LV", "Lettisch"},   {"lt", "LT", "Litauisch"}, {"hu", "HU", "magyar"},
    {"nl", "NL", "Nederlands"}, {"pl", "PL", "Polski"},    {"ru", "RU", "Русский"},
    {"ro", "RO", "Română"},     {"sl", "SL", "Slovensko"}, {"sv", "SE", "Svenska"},
    {"tr", "TR", "Türkçe"},
}};

namespace {

constexpr uint16_t firstKeySymbol = 0x266C;
constexpr uint16_t lastKeySymbol = 0x2674;
constexpr uint32_t maxIdentifierDigits = 5;

std::string format(const char* fmt, auto... args)
{
    char text[256];
    std::snprintf(text, sizeof text, fmt, args...);
    return text;
}

// The characters of a text as the panel decodes them; a text the panel would show with
// replacement marks is an error of the source.
std::optional<std::string> characterProblem(const std::string& text)
{
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t at = i;
        const auto byte = static_cast<unsigned char>(text[static_cast<size_t>(at)]);
        if ((byte < 0x20 && byte != '\n') || byte == 0x7F)
            return format("control character 0x%02X (a line break is written \\n)", byte);
        if (GFX_DecodeUtf8(text.data(), length, i) == 0xFFFD &&
            text.compare(static_cast<size_t>(at), 3, "\xEF\xBF\xBD") != 0)
            return format("byte %d of the text is not UTF-8, or starts a character beyond "
                          "U+FFFF that the panel cannot draw",
                          at + 1);
    }
    if (text.size() > TG_MAX_TEXT_BYTES)
        return format("%zu bytes, more than the %zu the catalogue can return", text.size(),
                      TG_MAX_TEXT_BYTES);
    return std::nullopt;
}

// The text between the quotation marks of a line (rest starts after the opening mark).
std::optional<std::string> unquote(std::string_view rest, std::string& problem)
{
    std::string text;
    size_t i = 0;
    while (i < rest.size()) {
        const char c = rest[i++];
        if (c == '"') {
            if (i != rest.size()) {
                problem = "text after the closing quotation mark (a quotation mark inside a "
                          "text is written \\\")";
                return std::nullopt;
            }
            return text;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (i == rest.size()) break;
        const char e = rest[i++];
        if (e == 'n') {
            text += '\n';
        } else if (e == '"' || e == '\\') {
            text += e;
        } else {
            problem = format("unknown escape \\%c (only \\n, \\\" and \\\\)", e);
            return std::nullopt;
        }
    }
    problem = "the text has no closing quotation mark";
    return std::nullopt;
}

std::vector<uint16_t> keySymbols(const std::string& text)
{
    std::vector<uint16_t> symbols;
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        const uint16_t c = GFX_DecodeUtf8(text.data(), length, i);
        if (c >= firstKeySymbol && c <= lastKeySymbol) symbols.push_back(c);
    }
    std::sort(symbols.begin(), symbols.end());
    return symbols;
}

std::string describe(const std::vector<uint16_t>& symbols)
{
    if (symbols.empty()) return "none";
    std::string out;
    for (uint16_t s : symbols)
        out += format("%sU+%04X", out.empty() ? "" : " ", s);
    return out;
}

} // namespace

Source TG_Parse(const std::string& path, const std::string& content,
                std::vector<Diagnostic>& diagnostics)
{
    Source source{path, Texts(TG_TEXT_COUNT), std::vector<int>(TG_TEXT_COUNT, 0)};
    int lineNumber = 0;
    uint32_t expected = 0;
    size_t pos = 0;
    while (pos < content.size()) {
        size_t end = content.find('\n', pos);
        if (end == std::string::npos) end = content.size();
        const std::string_view line(content.data() + pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        auto error = [&](const std::string& message) {
            diagnostics.push_back({path, lineNumber, message});
        };

        if (line.find('\r') != std::string_view::npos) {
            error("carriage return: the sources end their lines with a plain line feed");
            continue;
        }
        if (line.empty() || line.front() == '#') continue;

        size_t digits = 0;
        uint32_t id = 0;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') {
            if (digits < maxIdentifierDigits)
                id = id * 10 + static_cast<uint32_t>(line[digits] - '0');
            ++digits;
        }
        if (digits == 0 || line.substr(digits, 2) != " \"") {
            error("not a text line: the identifier, one blank, then the text in double quotes");
            continue;
        }
        std::string problem;
        const std::optional<std::string> text = unquote(line.substr(digits + 2), problem);
        if (!text) {
            error(problem);
            continue;
        }
        if (digits > maxIdentifierDigits || id >= TG_TEXT_COUNT) {
            error(format("identifier %.*s beyond the last one, %u", static_cast<int>(digits),
                         line.data(), TG_TEXT_COUNT - 1));
            continue;
        }
        if (source.lines[id] != 0) {
            error(format("identifier %u twice (first on line %d)", id, source.lines[id]));
            continue;
        }
        if (id != expected) error(format("identifier %u out of order: expected %u", id, expected));
        expected = std::max(expected, id + 1);
        if (const auto bad = characterProblem(*text))
            error(format("text %u: %s", id, bad->c_str()));
        source.texts[id] = *text;
        source.lines[id] = lineNumber;
    }

    for (uint32_t id = 0; id < TG_TEXT_COUNT; ++id) {
        if (source.lines[id] != 0) continue;
        uint32_t last = id;
        while (last + 1 < TG_TEXT_COUNT && source.lines[last + 1] == 0)
            ++last;
        diagnostics.push_back({path, lineNumber,
                               last == id ? format("identifier %u is missing", id)
                                          : format("identifiers %u..%u are missing", id, last)});
        id = last;
    }
    return source;
}

void TG_Check(const Source& source, uint8_t language, const Source* german,
              std::vector<Diagnostic>& diagnostics)
{
    const Language& row = TG_Languages[language];
    const struct {
        uint32_t id;
        const char* expected;
        const char* what;
    } fixed[] = {{TG_COUNTRY_CODE_ID, row.country, "country code"},
                 {TG_LANGUAGE_NAME_ID, row.name, "language name"}};
    for (const auto& f : fixed)
        if (source.texts[f.id] != f.expected)
            diagnostics.push_back(
                {source.path, source.lines[f.id],
                 format("text %u is the %s of language %u: \"%s\", not \"%s\"", f.id, f.what,
                        language, f.expected, source.texts[f.id].c_str())});

    if (german == nullptr) return;
    for (uint32_t id = 0; id < TG_TEXT_COUNT; ++id) {
        const std::vector<uint16_t> want = keySymbols(german->texts[id]);
        const std::vector<uint16_t> have = keySymbols(source.texts[id]);
        if (want != have)
            diagnostics.push_back({source.path, source.lines[id],
                                   format("text %u: key symbols %s, the German text has %s", id,
                                          describe(have).c_str(), describe(want).c_str())});
    }
}
