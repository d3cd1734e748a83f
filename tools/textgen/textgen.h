// Shared pieces of the text generator: the languages, the parsed sources and the flash image.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr uint32_t TG_TEXT_COUNT = 395;
inline constexpr uint32_t TG_LANGUAGE_COUNT = 19;
// The catalogue hands out at most this many bytes of a text (its buffer minus the terminator).
inline constexpr size_t TG_MAX_TEXT_BYTES = 1211;
inline constexpr uint32_t TG_COUNTRY_CODE_ID = 393;
inline constexpr uint32_t TG_LANGUAGE_NAME_ID = 394;

// A language by its index: the source file's code and what texts 393 and 394 must say.
struct Language {
    const char* code;
    const char* country;
    const char* name;
};
extern const std::array<Language, TG_LANGUAGE_COUNT> TG_Languages;

struct Diagnostic {
    std::string path;
    int line;
    std::string message;
};

// The texts of one language in identifier order, as UTF-8 bytes without terminators.
using Texts = std::vector<std::string>;

// One parsed source file: TG_TEXT_COUNT texts and the line each came from (0 when missing).
struct Source {
    std::string path;
    Texts texts;
    std::vector<int> lines;
};

// Parses one source file (its whole content). Every problem goes to diagnostics; the source
// is usable only when none was added.
Source TG_Parse(const std::string& path, const std::string& content,
                std::vector<Diagnostic>& diagnostics);

// Checks a parsed language against its row of the language table and, for a translation,
// against the German texts: the same key symbols, so every key a text names is drawn.
void TG_Check(const Source& source, uint8_t language, const Source* german,
              std::vector<Diagnostic>& diagnostics);

// The flash image "Flash20090313" with its parameter area and the language section; a language
// without texts gets an offset table of empty texts.
std::vector<uint8_t>
TG_BuildImage(const std::array<std::optional<Texts>, TG_LANGUAGE_COUNT>& texts);

// The names of the text identifiers, by identifier, and the line each came from (0 when
// missing).
struct Names {
    std::string path;
    std::vector<std::string> names;
    std::vector<int> lines;
};

// Parses the names file (its whole content); usable only when no diagnostic was added.
Names TG_ParseNames(const std::string& path, const std::string& content,
                    std::vector<Diagnostic>& diagnostics);

// The C++ sources the panel compiles.
std::string TG_GermanTableSource(const Texts& german);
std::string TG_ImageSource(const std::vector<uint8_t>& image);
std::string TG_NamesHeader(const Names& names);
