#include "widgets/hourglass.h"

#include <array>

#include "display/lcd.h"

namespace {

constexpr int W = UI_HOURGLASS_WIDTH;
constexpr int H = UI_HOURGLASS_HEIGHT;
constexpr int BYTES_PER_ROW = (W + 7) / 8;
constexpr int LAST = UI_HOURGLASS_FRAMES - 1;

// The glass: caps of two rows, walls that narrow from the caps to a neck at rows 17 and 18.
constexpr int CAP_ROWS = 2;
constexpr int NECK_TOP = 17, NECK_BOTTOM = 18;
constexpr int BULB_ROWS = NECK_TOP - CAP_ROWS + 1; // rows 2..17 and 18..33
// Half the inner width at a row of the glass: 6 at the caps, 0 at the neck.
constexpr int halfWidth(int y)
{
    const int fromCap = y <= NECK_TOP ? y - CAP_ROWS : (H - 1 - CAP_ROWS) - y;
    return 6 - fromCap * 6 / (BULB_ROWS - 1);
}
// Sand rows: the top bulb empties from its top down, the bottom bulb fills from its floor up.
constexpr int SAND_ROWS = 12;
constexpr int topSandFrom(int frame) { return NECK_TOP - SAND_ROWS + 1 + SAND_ROWS * frame / LAST; }
constexpr int bottomSandFrom(int frame)
{
    return (H - 1 - CAP_ROWS) - SAND_ROWS * frame / LAST + 1;
}

using Frame = std::array<uint8_t, BYTES_PER_ROW * H>;

constexpr void set(Frame& f, int x, int y)
{
    f[y * BYTES_PER_ROW + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

constexpr Frame drawFrame(int frame)
{
    Frame f{};
    const int centre = W / 2; // the glass is symmetric about the line between 7 and 8
    for (int y = 0; y < H; ++y) {
        if (y < CAP_ROWS || y >= H - CAP_ROWS) {
            for (int x = 0; x < W; ++x)
                set(f, x, y);
            continue;
        }
        const int h = halfWidth(y);
        set(f, centre - 2 - h, y); // walls
        set(f, centre + 1 + h, y);
        const bool topSand = y <= NECK_TOP && y >= topSandFrom(frame);
        const bool bottomSand = y > NECK_TOP && y >= bottomSandFrom(frame);
        if (topSand || bottomSand)
            for (int x = centre - 1 - h; x <= centre + h; ++x)
                set(f, x, y);
        // The falling stream, broken every other row so that it seems to move.
        const bool running = frame > 0 && frame < LAST;
        if (running && y >= NECK_TOP && y < bottomSandFrom(frame) && (y + frame) % 2 == 0)
            set(f, centre - 1 + frame % 2, y);
    }
    return f;
}

constexpr std::array<Frame, UI_HOURGLASS_FRAMES> makeFrames()
{
    std::array<Frame, UI_HOURGLASS_FRAMES> frames{};
    for (int i = 0; i < UI_HOURGLASS_FRAMES; ++i)
        frames[i] = drawFrame(i);
    return frames;
}
constexpr std::array<Frame, UI_HOURGLASS_FRAMES> FRAMES = makeFrames();

GFX_Rect field{};
uint8_t current = 0;

} // namespace

GFX_Bitmap UI_HourglassFrame(uint8_t frame)
{
    return {static_cast<uint16_t>(W), static_cast<uint16_t>(H), BYTES_PER_ROW, 1,
            FRAMES[frame % UI_HOURGLASS_FRAMES].data()};
}

void UI_HourglassStart(int16_t x, int16_t y)
{
    const int16_t half = UI_HOURGLASS_FIELD / 2;
    field = {static_cast<int16_t>(x - half), static_cast<int16_t>(y - half),
             static_cast<int16_t>(x - half + UI_HOURGLASS_FIELD - 1),
             static_cast<int16_t>(y - half + UI_HOURGLASS_FIELD - 1)};
    current = 0;
}

void UI_HourglassStep()
{
    GFX_ClearRect(field);
    GFX_DrawBitmap(UI_HourglassFrame(current),
                   static_cast<int16_t>(field.x0 + (UI_HOURGLASS_FIELD - W) / 2),
                   static_cast<int16_t>(field.y0 + (UI_HOURGLASS_FIELD - H) / 2));
    current = static_cast<uint8_t>((current + 1) % UI_HOURGLASS_FRAMES);
    lcd_refreshRect(field);
}
