// The texts of every language measured in the normal font, as the panel draws them: a line that
// is wider than the display is cut off on screen.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "display/fonts.h"
#include "gfx/gfx.h"

namespace {

// A text line between the frame columns of the display.
constexpr int LINE_WIDTH = 238;
// A menu item of the end-user menu is drawn in x 1..157 of its list; the main menu's items
// are held to the same so that both menus read alike.
constexpr int MENU_ITEM_WIDTH = 156;

// Items of the main menu, then of the end-user menu.
constexpr int GERMAN_MENU_ITEMS[] = {259, 291, 126, 285, 237, 135, 201, 129, 209, 40, 197, 249};

struct Text {
    int id;
    std::string text;
};

// A catalogue source: `N "text"` a line, with the escapes \n, \" and \\; '#' starts a comment.
std::vector<Text> readCatalogue(const std::filesystem::path& path)
{
    std::vector<Text> texts;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        size_t open = line.find('"');
        size_t close = line.rfind('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open) continue;
        Text t{std::stoi(line.substr(0, open)), {}};
        for (size_t i = open + 1; i < close; ++i) {
            if (line[i] == '\\' && i + 1 < close) {
                ++i;
                t.text += line[i] == 'n' ? '\n' : line[i];
            } else {
                t.text += line[i];
            }
        }
        texts.push_back(t);
    }
    return texts;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::filesystem::path> catalogueSources()
{
    std::vector<std::filesystem::path> sources;
    for (const auto& entry : std::filesystem::directory_iterator(PANELSIM_SOURCE_DIR "/texts"))
        if (entry.path().extension() == ".txt") sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    return sources;
}

class TextFit : public ::testing::Test {
  protected:
    void SetUp() override { previous = FNT_SetNormal(); }
    void TearDown() override { GFX_SetFont(previous); }
    const GFX_Font* previous = nullptr;
};

TEST_F(TextFit, EveryLineOfEveryLanguageFitsTheDisplay)
{
    const auto sources = catalogueSources();
    ASSERT_FALSE(sources.empty()) << "no texts/*.txt in " PANELSIM_SOURCE_DIR;
    for (const auto& source : sources) {
        const std::string language = source.stem().string();
        const auto texts = readCatalogue(source);
        EXPECT_FALSE(texts.empty()) << language;
        for (const Text& t : texts) {
            const auto lines = linesOf(t.text);
            for (size_t n = 0; n < lines.size(); ++n) {
                const int width = GFX_TextWidth(lines[n].c_str());
                EXPECT_LE(width, LINE_WIDTH) << language << " text " << t.id << " line " << n + 1
                                             << " \"" << lines[n] << "\" is " << width << " px";
            }
        }
    }
}

TEST_F(TextFit, GermanMenuItemsFitTheMenuList)
{
    const auto texts = readCatalogue(PANELSIM_SOURCE_DIR "/texts/de.txt");
    for (int id : GERMAN_MENU_ITEMS) {
        auto t =
            std::find_if(texts.begin(), texts.end(), [id](const Text& x) { return x.id == id; });
        ASSERT_NE(t, texts.end()) << "de text " << id << " missing";
        const int width = GFX_TextWidth(t->text.c_str());
        EXPECT_LE(width, MENU_ITEM_WIDTH)
            << "de text " << id << " \"" << t->text << "\" is " << width << " px";
    }
}

} // namespace
