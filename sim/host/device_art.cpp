// The built-in device picture of the window host, drawn when the host starts: the front of
// the panel and the same picture with the hardkeys marked in red and the display area in green.
//
// The hardkeys are numbered in the order the host discovers them, top to bottom and left to
// right, so the layout fixes the numbering the panel relies on: Back, Up, Left, OK, Right,
// Down, Help, Menu, then the five key combinations, then the 21 simulation commands.
#include <cmath>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "display/fonts.h"
#include "gfx/font.h"
#include "sim/host/device.h"

namespace {

constexpr int width = 830;
constexpr int height = 664;

constexpr uint32_t body = 0xD4D7DA;
constexpr uint32_t bodyEdge = 0x6E7378;
constexpr uint32_t bezel = 0x2A2D30;
constexpr uint32_t keyFace = 0xF2F3F4;
constexpr uint32_t keyEdge = 0x5A5F64;
constexpr uint32_t okFace = 0xDCE6F0;
constexpr uint32_t commandFace = 0xE6E0D2;
constexpr uint32_t idleFace = 0xDDDDDD;
constexpr uint32_t ink = 0x1E2124;
constexpr uint32_t faint = 0x707478;

struct Box {
    int x0, y0, x1, y1;
    int cx() const { return (x0 + x1) / 2; }
    int cy() const { return (y0 + y1) / 2; }
};

struct Canvas {
    RgbImage front;
    std::vector<Box> keys; // in drawing order
    Box lcd{};

    Canvas()
    {
        front.width = width;
        front.height = height;
        front.pixels.assign(size_t(width) * height, DEVICE_TRANSPARENT);
    }

    void pixel(int x, int y, uint32_t c)
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        front.pixels[size_t(y) * width + x] = c;
    }

    // The front with every key painted solid in the hardkey colour and the display area in the
    // display colour: a run of marked pixels must not be broken by a label.
    RgbImage marks() const
    {
        RgbImage m = front;
        auto paint = [&](const Box& b, uint32_t colour) {
            for (int y = b.y0; y <= b.y1; ++y)
                for (int x = b.x0; x <= b.x1; ++x)
                    m.pixels[size_t(y) * width + x] = colour;
        };
        for (const Box& k : keys)
            paint(k, DEVICE_HARDKEY_MARK);
        paint(lcd, DEVICE_LCD_MARK);
        return m;
    }

    void roundedBox(Box b, int radius, uint32_t fill, uint32_t edge, int edgeWidth)
    {
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x) {
                const int dx = x < b.x0 + radius ? b.x0 + radius - x
                                                 : (x > b.x1 - radius ? x - (b.x1 - radius) : 0);
                const int dy = y < b.y0 + radius ? b.y0 + radius - y
                                                 : (y > b.y1 - radius ? y - (b.y1 - radius) : 0);
                const double d = std::sqrt(double(dx * dx + dy * dy));
                if (d > radius) continue;
                const bool onEdge = d > radius - edgeWidth || x < b.x0 + edgeWidth ||
                                    x > b.x1 - edgeWidth || y < b.y0 + edgeWidth ||
                                    y > b.y1 - edgeWidth;
                pixel(x, y, onEdge ? edge : fill);
            }
    }

    void fill(Box b, uint32_t c)
    {
        for (int y = b.y0; y <= b.y1; ++y)
            for (int x = b.x0; x <= b.x1; ++x)
                pixel(x, y, c);
    }

    // A triangle pointing in a direction, centred on (cx, cy).
    void arrow(int cx, int cy, int size, char direction, uint32_t c)
    {
        for (int i = 0; i <= size; ++i)
            for (int j = -i; j <= i; ++j) {
                const int along = i - size / 2, across = j;
                switch (direction) {
                case 'u': pixel(cx + across, cy + along, c); break;
                case 'd': pixel(cx + across, cy - along, c); break;
                case 'l': pixel(cx + along, cy + across, c); break;
                case 'r': pixel(cx - along, cy + across, c); break;
                }
            }
    }

    int textWidth(const GFX_Font& font, const std::string& text)
    {
        int w = 0;
        int32_t i = 0;
        while (uint16_t c = GFX_DecodeUtf8(text.c_str(), int32_t(text.size()), i))
            if (const GFX_Glyph* g = GFX_FindGlyph(font, c)) w += g->advance;
        return w;
    }

    void text(const GFX_Font& font, const std::string& text, int x, int y, uint32_t c)
    {
        int32_t i = 0;
        while (uint16_t code = GFX_DecodeUtf8(text.c_str(), int32_t(text.size()), i)) {
            const GFX_Glyph* g = GFX_FindGlyph(font, code);
            if (!g) continue;
            for (int row = 0; row < font.height; ++row)
                for (int col = 0; col < g->width; ++col)
                    if (g->bitmap[row * g->bytesPerRow + col / 8] & (0x80 >> (col % 8)))
                        pixel(x + col, y + row, c);
            x += g->advance;
        }
    }

    void centred(const GFX_Font& font, const std::string& s, int cx, int y, uint32_t c)
    {
        text(font, s, cx - textWidth(font, s) / 2, y, c);
    }

    void key(Box b, uint32_t face)
    {
        roundedBox(b, 6, face, keyEdge, 2);
        keys.push_back(b);
    }
};

void drawPanelKeys(Canvas& c)
{
    const GFX_Font& normal = FNT_GetNormal();
    const GFX_Font& small = FNT_GetSmall();
    // The key cross around OK, with Back above and Help and Menu below (this order of rows is
    // the order of the hardkey numbers 0..7).
    const int kx = 600, kw = 64, kh = 48, gap = 10;
    const Box back{kx, 70, kx + kw - 1, 70 + kh - 1};
    const Box up{kx + kw + gap, 150, kx + 2 * kw + gap - 1, 150 + kh - 1};
    const Box left{kx, 150 + kh + gap, kx + kw - 1, 150 + 2 * kh + gap - 1};
    const Box ok{up.x0, left.y0, up.x1, left.y1};
    const Box right{up.x1 + gap + 1, left.y0, up.x1 + gap + kw, left.y1};
    const Box down{up.x0, left.y1 + gap + 1, up.x1, left.y1 + gap + kh};
    const Box help{kx, 400, kx + kw + kw / 2, 400 + kh - 1};
    const Box menu{right.x1 - kw - kw / 2, 400, right.x1, 400 + kh - 1};

    c.key(back, keyFace);
    c.text(normal, "\u2673", back.cx() - 9, back.cy() - 10, ink);
    c.centred(small, "Back", back.cx(), back.y1 + 4, faint);
    c.key(up, keyFace);
    c.arrow(up.cx(), up.cy(), 16, 'u', ink);
    c.key(left, keyFace);
    c.arrow(left.cx(), left.cy(), 16, 'l', ink);
    c.key(ok, okFace);
    c.centred(normal, "OK", ok.cx(), ok.cy() - 10, ink);
    c.key(right, keyFace);
    c.arrow(right.cx(), right.cy(), 16, 'r', ink);
    c.key(down, keyFace);
    c.arrow(down.cx(), down.cy(), 16, 'd', ink);
    c.key(help, keyFace);
    c.centred(normal, "?", help.cx(), help.cy() - 10, ink);
    c.centred(small, "Help", help.cx(), help.y1 + 4, faint);
    c.key(menu, keyFace);
    c.text(normal, "\u2674", menu.cx() - 7, menu.cy() - 10, ink);
    c.centred(small, "Menu", menu.cx(), menu.y1 + 4, faint);
}

void drawStrip(Canvas& c, int y, const char* title,
               const std::vector<std::pair<std::string, std::string>>& labels, int perRow,
               int keyHeight, uint32_t face)
{
    const GFX_Font& normal = FNT_GetNormal();
    const GFX_Font& small = FNT_GetSmall();
    c.text(small, title, 40, y, faint);
    const int x0 = 40, x1 = width - 41, gap = 8;
    const int keyWidth = (x1 - x0 + 1 - (perRow - 1) * gap) / perRow;
    for (size_t i = 0; i < labels.size(); ++i) {
        const int row = int(i) / perRow, col = int(i) % perRow;
        const Box b{x0 + col * (keyWidth + gap), y + 12 + row * (keyHeight + gap),
                    x0 + col * (keyWidth + gap) + keyWidth - 1,
                    y + 12 + row * (keyHeight + gap) + keyHeight - 1};
        const bool none = labels[i].second.empty();
        c.key(b, none ? idleFace : face);
        const GFX_Font& font = keyHeight >= 40 ? normal : small;
        c.centred(font, labels[i].first, b.cx(), b.y0 + 4, none ? faint : ink);
        c.centred(small, none ? "(no function)" : labels[i].second, b.cx(), b.y1 - 11,
                  none ? faint : ink);
    }
}

void draw(Canvas& c)
{
    const GFX_Font& normal = FNT_GetNormal();
    const GFX_Font& small = FNT_GetSmall();
    c.roundedBox({8, 8, width - 9, height - 9}, 28, body, bodyEdge, 3);
    c.text(normal, "panelsim", 40, 20, faint);
    c.text(small, "operator panel simulation", 130, 27, faint);
    // The display: its bezel, and the area the host fills with the 240 x 160 pixels (x 2).
    c.roundedBox({28, 52, 28 + 480 + 40 - 1, 52 + 320 + 40 - 1}, 10, bezel, bezel, 1);
    c.lcd = {48, 72, 48 + 480 - 1, 72 + 320 - 1};
    c.fill(c.lcd, 0x000000);

    drawPanelKeys(c);

    drawStrip(c, 452, "Key combinations (hardkeys 8..12)",
              {{"OK + Up", "contrast up"},
               {"OK + Down", "contrast down"},
               {"Menu + OK", "service menu (4 s)"},
               {"Menu + Down", "test programme (2 s)"},
               {"OK + Back", "coding level 2 (2 s)"}},
              5, 40, keyFace);

    std::vector<std::pair<std::string, std::string>> commands = {
        {"Cmd 0", "3 o'clock restart"}, {"Cmd 1", "controller reset"}, {"Cmd 2", "calibration on"},
        {"Cmd 3", "calibration off"},   {"Cmd 4", "param. on"},        {"Cmd 5", "param. off"},
    };
    for (int i = 6; i <= 17; ++i)
        commands.push_back({"Cmd " + std::to_string(i), ""});
    commands.push_back({"Cmd 18", "OK + Back now"});
    commands.push_back({"Cmd 19", "service now"});
    commands.push_back({"Cmd 20", ""});
    drawStrip(c, 520, "Simulation commands (hardkeys 13..33)", commands, 7, 28, commandFace);
}

} // namespace

void DEVICE_DrawBuiltin(RgbImage& front, RgbImage& marks)
{
    Canvas canvas;
    draw(canvas);
    marks = canvas.marks();
    front = std::move(canvas.front);
}
