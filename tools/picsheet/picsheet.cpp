// picsheet: draws every panel picture for review, on black in the display grey.
//
//   picsheet OUT.png
//
// The upper part shows each picture magnified 4x with a one-pixel grid (menu icons also inside
// the inverted selection bar); the lower part shows the screens that draw them at 1x, with the
// panel's own drawing operations and fonts, where they sit on the 240 x 160 display.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "display/fonts.h"
#include "gfx/gfx.h"
#include "pictures_index.h"
#include "sim/hal/host_services.h"
#include "sim/host/lcd_view.h"

namespace {

constexpr int MAG = 4;
constexpr int MARGIN = 16;
constexpr int SHEET_WIDTH = 1040;
constexpr uint32_t LABEL = 0xE0A040;
constexpr uint32_t FRAME = 0x702020;
constexpr uint32_t GRID_CLEAR = 0x303030;
constexpr uint32_t BACKGROUND = 0x000000;

class Sheet {
  public:
    Sheet(int width, int height) : width_(width), height_(height), rgb_(width * height * 3, 0) {}
    void put(int x, int y, uint32_t colour)
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
        uint8_t* p = &rgb_[(y * width_ + x) * 3];
        p[0] = colour >> 16;
        p[1] = colour >> 8;
        p[2] = colour;
    }
    void fill(int x, int y, int w, int h, uint32_t colour)
    {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                put(x + i, y + j, colour);
    }
    void frame(int x, int y, int w, int h, uint32_t colour)
    {
        fill(x, y, w, 1, colour);
        fill(x, y + h - 1, w, 1, colour);
        fill(x, y, 1, h, colour);
        fill(x + w - 1, y, 1, h, colour);
    }
    int width() const { return width_; }
    int height() const { return height_; }
    const uint8_t* data() const { return rgb_.data(); }

  private:
    int width_, height_;
    std::vector<uint8_t> rgb_;
};

uint32_t setGrey() { return SIM_LcdSetColour(50, 4); }

uint32_t darker(uint32_t c)
{
    const auto part = [&](int shift) { return ((c >> shift) & 0xFF) * 3 / 4; };
    return part(16) << 16 | part(8) << 8 | part(0);
}

bool pixel(const GFX_Bitmap& b, int x, int y)
{
    return b.bits[y * b.bytesPerRow + x / 8] & (0x80 >> (x % 8));
}

// Text through the panel's own font, drawn into the display memory and copied out piece by piece,
// so a label may be wider than the display.
void drawLabel(Sheet& sheet, const std::string& text, int x, int y)
{
    GFX_SetFont(&FNT_GetNormal());
    const int h = FNT_GetNormal().height;
    size_t start = 0;
    while (start < text.size()) {
        // The longest piece up to a blank that fits, or as many bytes as fit in a long name.
        size_t end = text.size();
        while (end > start + 1 &&
               GFX_TextWidth(text.substr(start, end - start).c_str()) > GFX_WIDTH - 8) {
            const size_t blank = text.rfind(' ', end - 1);
            end = blank != std::string::npos && blank > start ? blank : end - 1;
        }
        const std::string piece = text.substr(start, end - start);
        GFX_Clear();
        GFX_TextAt(piece.c_str(), 0, 0);
        const int w = GFX_TextWidth(piece.c_str());
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (GFX_GetPixel(static_cast<int16_t>(i), static_cast<int16_t>(j)))
                    sheet.put(x + i, y + j, LABEL);
        x += w;
        start = end;
    }
}

// One picture magnified, each pixel a 4 x 4 block whose top and left edge is the grid; `inverted`
// shows it as it reads inside the selection bar, with one bar row above and below.
void drawMagnified(Sheet& sheet, const GFX_Bitmap& b, int x, int y, bool inverted)
{
    const int rows = b.height + (inverted ? 2 : 0);
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < b.width; ++i) {
            const int py = inverted ? j - 1 : j;
            bool set = py >= 0 && py < b.height && pixel(b, i, py);
            if (inverted) set = !set;
            const uint32_t colour = set ? setGrey() : BACKGROUND;
            const uint32_t grid = set ? darker(setGrey()) : GRID_CLEAR;
            const int bx = x + i * MAG, by = y + j * MAG;
            sheet.fill(bx, by, MAG, MAG, colour);
            sheet.fill(bx, by, MAG, 1, grid);
            sheet.fill(bx, by, 1, MAG, grid);
        }
    }
    sheet.fill(x, y + rows * MAG, b.width * MAG + 1, 1, GRID_CLEAR);
    sheet.fill(x + b.width * MAG, y, 1, rows * MAG, GRID_CLEAR);
}

bool isMenuIcon(const PIC_IndexEntry& e) { return std::strncmp(e.name, "PIC_Icon", 8) == 0; }

// Lays the magnified pictures out in rows, largest first; returns the height used.
int drawMagnifiedSection(Sheet* sheet, int top)
{
    std::vector<PIC_IndexEntry> entries(std::begin(PIC_INDEX), std::end(PIC_INDEX));
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        if (a.bitmap->height != b.bitmap->height) return a.bitmap->height > b.bitmap->height;
        return a.bitmap->width > b.bitmap->width;
    });
    const int labelHeight = FNT_GetNormal().height;
    int x = MARGIN, y = top, rowHeight = 0;
    for (const auto& e : entries) {
        const GFX_Bitmap& b = *e.bitmap;
        const int copies = isMenuIcon(e) ? 2 : 1;
        const int w =
            std::max<int>(copies * (b.width * MAG + 1) + (copies - 1) * 8, GFX_TextWidth(e.name));
        const int h = labelHeight + 4 + (b.height + (copies == 2 ? 2 : 0)) * MAG + 1;
        if (x + w > SHEET_WIDTH - MARGIN) {
            x = MARGIN;
            y += rowHeight + MARGIN;
            rowHeight = 0;
        }
        if (sheet) {
            drawLabel(*sheet, e.name, x, y);
            drawMagnified(*sheet, b, x, y + labelHeight + 4, false);
            if (copies == 2)
                drawMagnified(*sheet, b, x + b.width * MAG + 1 + 8, y + labelHeight + 4, true);
        }
        x += w + MARGIN;
        rowHeight = std::max(rowHeight, h);
    }
    return y + rowHeight - top;
}

// ---- the screens, drawn with the panel's operations

constexpr GFX_Rect HEADER{1, 0, 238, 26};
constexpr GFX_Rect FOOTER{1, 133, 238, 159};
const char* const CHOOSE_HINT = "W\xC3\xA4hlen mit \xE2\x99\xAF"; // "Wählen mit ♯"

void frameScreen(const char* title, const char* right)
{
    GFX_Clear();
    GFX_SetFont(&FNT_GetNormal());
    GFX_TextInRect(title, HEADER, GFX_ALIGN_LEFT_CENTER);
    if (right) GFX_TextInRect(right, HEADER, GFX_ALIGN_RIGHT_CENTER);
    GFX_DrawHLine(27, 0, 239);
}

void footer(const char* hint)
{
    GFX_DrawHLine(132, 0, 239);
    GFX_TextInRect(hint, FOOTER, GFX_ALIGN_CENTER);
}

// A menu list of four 24-pixel lines from y 29, the cursor line inverted.
void menuList(const char* const* items, int count, int top, int cursor, int right,
              const GFX_Bitmap* const* icons = nullptr)
{
    for (int k = 0; k < 4 && top + k < count; ++k) {
        const int16_t y0 = 29 + k * 26;
        const GFX_Rect line{1, y0, static_cast<int16_t>(right - 1), static_cast<int16_t>(y0 + 23)};
        GFX_TextInRect(items[top + k], line, GFX_ALIGN_LEFT_CENTER);
        if (icons) GFX_DrawBitmap(*icons[top + k], line.x1 - 22, y0 + 1);
        if (top + k == cursor) GFX_InvertRect(0, y0, right, y0 + 23);
    }
}

void pictureArea()
{
    GFX_ClearRect(159, 28, 239, 131);
    GFX_DrawVLine(160, 29, 130);
}

using ScreenPainter = void (*)(int variant);

void basicDisplay(int item)
{
    static const char* const ITEMS[] = {"St\xC3\xB6rung",
                                        "Wartung",
                                        "Heizung",
                                        "Warmwasser",
                                        "Solarenergie",
                                        "Information",
                                        "Pr\xC3\xBC"
                                        "fbetrieb",
                                        "Hilfe"};
    static const GFX_Bitmap* const PICTURES[] = {
        &PIC_ItemStoerung, &PIC_ItemWartung,     &PIC_ItemHeizung,      &PIC_ItemWarmwasser,
        &PIC_ItemSolar,    &PIC_ItemInformation, &PIC_ItemPruefbetrieb, &PIC_ItemHilfe};
    frameScreen("Kesseltemperatur", "58\xC2\xB0"
                                    "C");
    menuList(ITEMS, 8, std::max(0, item - 3), item, 158);
    pictureArea();
    GFX_DrawBitmap(*PICTURES[item], 176, 57);
    if (item == 2 || item == 3 || item == 6) {
        GFX_ClearRect(159, 100, 239, 131);
        GFX_DrawBitmap(PIC_Flame, 185, 104);
    }
    footer(CHOOSE_HINT);
}

void mainMenu(int variant)
{
    static const char* const ITEMS[] = {"St\xC3\xB6rung", "Wartung",       "Heizung", "Warmwasser",
                                        "Information",    "Einstellungen", "Service"};
    static const GFX_Bitmap* const ICONS[] = {
        &PIC_IconStoerung,    &PIC_IconWartung,       &PIC_IconHeizung, &PIC_IconWarmwasser,
        &PIC_IconInformation, &PIC_IconEinstellungen, &PIC_IconService};
    static constexpr int TOPS[] = {0, 3, 3, 0};
    static constexpr int CURSORS[] = {0, 4, 6, 2};
    frameScreen("Men\xC3\xBC", nullptr);
    menuList(ITEMS, 7, TOPS[variant], CURSORS[variant], 239, ICONS);
    footer(CHOOSE_HINT);
}

void endUserMenu(int variant)
{
    static const char* const ITEMS[] = {"Raum-Solltemp.", "Betriebsprogramm", "Partybetrieb",
                                        "Sparbetrieb"};
    static constexpr int CURSORS[] = {0, 1, 1, 1, 2, 3};
    static const GFX_Bitmap* const PROGRAMS[] = {&PIC_ProgramHeatingAndHotWater,
                                                 &PIC_ProgramHotWaterOnly, &PIC_ProgramStandby};
    constexpr GFX_Rect VALUE{162, 41, 238, 65};
    frameScreen("Heizkreis 1", nullptr);
    menuList(ITEMS, 4, 0, CURSORS[variant], 158);
    pictureArea();
    switch (CURSORS[variant]) {
    case 0:
        GFX_TextInRect("20\xC2\xB0"
                       "C",
                       VALUE, GFX_ALIGN_CENTER);
        GFX_DrawBitmap(PIC_RoomTemperature, 177, 76);
        break;
    case 1: {
        const GFX_Bitmap& b = *PROGRAMS[variant - 1];
        GFX_DrawBitmap(b, (400 - b.width) / 2, (159 - b.height) / 2);
        break;
    }
    case 2:
        GFX_TextInRect("Aus", VALUE, GFX_ALIGN_CENTER);
        GFX_DrawBitmap(PIC_Party, 177, 76);
        break;
    default:
        GFX_TextInRect("Ein", VALUE, GFX_ALIGN_CENTER);
        GFX_DrawBitmap(PIC_Economy, 177, 76);
        break;
    }
    footer(CHOOSE_HINT);
}

void messageNotice(int variant)
{
    GFX_Clear();
    GFX_SetFont(&FNT_GetNormal());
    GFX_TextInRect(variant == 0 ? "St\xC3\xB6rung" : "Wartung", GFX_Rect{0, 22, 239, 45},
                   GFX_ALIGN_CENTER);
    GFX_DrawBitmap(variant == 0 ? PIC_Fault : PIC_Maintenance, 90, 55);
    footer("Weiter mit OK");
}

void flueGasTest(int variant)
{
    const bool on = variant == 0;
    frameScreen("Pr\xC3\xBC"
                "fbetrieb",
                nullptr);
    GFX_DrawBitmap(on ? PIC_FlueGasOn : PIC_FlueGasOff, 216, 3);
    constexpr GFX_Rect LINE{1, 28, 238, 131};
    GFX_TextInRect("Kesseltemperatur", LINE, GFX_ALIGN_LEFT_CENTER);
    GFX_TextInRect("61\xC2\xB0"
                   "C",
                   LINE, GFX_ALIGN_RIGHT_CENTER);
    GFX_ClearRect(189, 100, 239, 131);
    if (on) GFX_DrawBitmap(PIC_Flame, 200, 104);
    footer("Beenden mit OK");
}

struct Screen {
    ScreenPainter paint;
    int variant;
    const char* label;
};

constexpr Screen SCREENS[] = {
    {basicDisplay, 0, "Grundanzeige: St\xC3\xB6rung"},
    {basicDisplay, 1, "Grundanzeige: Wartung"},
    {basicDisplay, 2, "Heizung, Brenner ein"},
    {basicDisplay, 3, "Warmwasser, Brenner ein"},
    {basicDisplay, 4, "Grundanzeige: Solarenergie"},
    {basicDisplay, 5, "Grundanzeige: Information"},
    {basicDisplay, 6,
     "Pr\xC3\xBC"
     "fbetrieb, Brenner ein"},
    {basicDisplay, 7, "Grundanzeige: Hilfe"},
    {mainMenu, 0, "Men\xC3\xBC"},
    {mainMenu, 3, "Men\xC3\xBC"},
    {mainMenu, 1, "Men\xC3\xBC, Service-Modus"},
    {mainMenu, 2, "Men\xC3\xBC, Service-Modus"},
    {endUserMenu, 0, "Endbenutzer: Raum-Solltemp."},
    {endUserMenu, 1, "Heizen und Warmwasser"},
    {endUserMenu, 2, "Nur Warmwasser"},
    {endUserMenu, 3, "Abschaltbetrieb"},
    {endUserMenu, 4, "Endbenutzer: Partybetrieb"},
    {endUserMenu, 5, "Endbenutzer: Sparbetrieb"},
    {messageNotice, 0, "Meldung: St\xC3\xB6rung"},
    {messageNotice, 1, "Meldung: Wartung"},
    {flueGasTest, 0, "Abgasmessung, Brenner ein"},
    {flueGasTest, 1, "Abgasmessung, Brenner aus"},
};

constexpr int SCREEN_COLUMNS = 4;
constexpr int SCREEN_PITCH_X = GFX_WIDTH + 2 + 16;

int screenPitchY() { return FNT_GetNormal().height + 4 + GFX_HEIGHT + 2 + MARGIN; }

void drawScreens(Sheet& sheet, int top)
{
    const uint32_t grey = setGrey();
    for (size_t n = 0; n < std::size(SCREENS); ++n) {
        const int x = MARGIN + static_cast<int>(n % SCREEN_COLUMNS) * SCREEN_PITCH_X;
        const int y = top + static_cast<int>(n / SCREEN_COLUMNS) * screenPitchY();
        SCREENS[n].paint(SCREENS[n].variant);
        drawLabel(sheet, SCREENS[n].label, x, y);
        const int sy = y + FNT_GetNormal().height + 4;
        sheet.frame(x, sy, GFX_WIDTH + 2, GFX_HEIGHT + 2, FRAME);
        for (int j = 0; j < GFX_HEIGHT; ++j)
            for (int i = 0; i < GFX_WIDTH; ++i)
                sheet.put(x + 1 + i, sy + 1 + j,
                          GFX_GetPixel(static_cast<int16_t>(i), static_cast<int16_t>(j))
                              ? grey
                              : BACKGROUND);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: picsheet OUT.png\n", stderr);
        return 2;
    }
    GFX_Init(&FNT_GetNormal());
    const int lineHeight = FNT_GetNormal().height;
    const int magnifiedTop = MARGIN + lineHeight + 8;
    const int magnifiedHeight = drawMagnifiedSection(nullptr, magnifiedTop);
    const int screensTop = magnifiedTop + magnifiedHeight + 2 * MARGIN + lineHeight + 8;
    const int screenRows =
        (static_cast<int>(std::size(SCREENS)) + SCREEN_COLUMNS - 1) / SCREEN_COLUMNS;
    Sheet sheet(SHEET_WIDTH, screensTop + screenRows * screenPitchY());

    drawLabel(sheet, "Pictures 4x, one square a pixel (menu icons also in the selection bar)",
              MARGIN, MARGIN);
    drawMagnifiedSection(&sheet, magnifiedTop);
    drawLabel(sheet, "At 1x, where the screens draw them on the 240 x 160 display", MARGIN,
              screensTop - lineHeight - 8);
    drawScreens(sheet, screensTop);

    std::string error;
    if (!PNG_WriteRgb(argv[1], sheet.data(), sheet.width(), sheet.height(), &error)) {
        std::fprintf(stderr, "picsheet: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
