// Arcs of an ellipse drawn with the pen width. The idle animation redraws two of them five
// times a second for as long as the panel is idle, so a frame walks the ring's rows once:
// each row is at most two spans of the ring cut by the angle wedge, and the ring's spans are
// kept for the last radii drawn.
#include <cmath>
#include <cstdint>

#include "gfx/gfx.h"
#include "gfx/raster.h"

using namespace gfx;

namespace {

constexpr int INF = 1 << 20;

struct Span {
    int lo, hi; // inclusive; empty when lo > hi
};

// Largest dx >= 0 with (dx/a)^2 + (dy/b)^2 <= 1, or -1 when the row misses the ellipse.
int halfWidth(int a, int b, int dy)
{
    if (a < 0 || b < 0 || dy > b) return -1;
    if (b == 0) return a;
    const int64_t limit = int64_t{a} * a * b * b - int64_t{dy} * dy * a * a;
    int dx = static_cast<int>(std::sqrt(static_cast<double>(limit) / (double(b) * b)));
    while (int64_t{dx + 1} * (dx + 1) * b * b <= limit) ++dx;
    while (dx > 0 && int64_t{dx} * dx * b * b > limit) --dx;
    return dx;
}

// Row spans of the last ring drawn: outer and inner half widths by distance from the centre.
constexpr int CACHED_ROWS = 256;
struct RingRows {
    int ox = -1, oy = -1, ix = -1, iy = -1;
    int16_t outer[CACHED_ROWS];
    int16_t inner[CACHED_ROWS];
};
RingRows ring;

void ringRow(int ox, int oy, int ix, int iy, int dy, int& outer, int& inner)
{
    if (dy >= CACHED_ROWS) {
        outer = halfWidth(ox, oy, dy);
        inner = halfWidth(ix, iy, dy);
        return;
    }
    if (ring.ox != ox || ring.oy != oy || ring.ix != ix || ring.iy != iy) {
        ring.ox = ox;
        ring.oy = oy;
        ring.ix = ix;
        ring.iy = iy;
        for (int r = 0; r < CACHED_ROWS; ++r) {
            ring.outer[r] = static_cast<int16_t>(halfWidth(ox, oy, r));
            ring.inner[r] = static_cast<int16_t>(halfWidth(ix, iy, r));
        }
    }
    outer = ring.outer[dy];
    inner = ring.inner[dy];
}

int floorOf(double v)
{
    const int t = static_cast<int>(v);
    return t > v ? t - 1 : t;
}
int ceilOf(double v)
{
    const int t = static_cast<int>(v);
    return t < v ? t + 1 : t;
}

// The points p (y up) with cross(u, p) >= 0, i.e. at or counter-clockwise of direction u,
// on the row py, as an interval of px.
Span leftOf(double ux, double uy, double ratio, int py)
{
    // ux * py - uy * px >= 0
    if (uy > 0) return {-INF, floorOf(ratio * py)};
    if (uy < 0) return {ceilOf(ratio * py), INF};
    return ux * py >= 0 ? Span{-INF, INF} : Span{1, 0};
}

// The points with cross(p, u) >= 0, at or clockwise of direction u.
Span rightOf(double ux, double uy, double ratio, int py)
{
    // px * uy - py * ux >= 0
    if (uy > 0) return {ceilOf(ratio * py), INF};
    if (uy < 0) return {-INF, floorOf(ratio * py)};
    return -ux * py >= 0 ? Span{-INF, INF} : Span{1, 0};
}

Span meet(Span a, Span b) { return {a.lo > b.lo ? a.lo : b.lo, a.hi < b.hi ? a.hi : b.hi}; }

struct Wedge {
    double sx, sy, ex, ey; // start and end directions
    double sRatio, eRatio; // sx / sy and ex / ey
    bool full, convex;
};

Wedge makeWedge(int startAngle, int endAngle, int ox, int oy)
{
    Wedge w{};
    int sweep = endAngle - startAngle;
    w.full = sweep >= 360 || sweep <= -360;
    sweep = ((sweep % 360) + 360) % 360;
    w.convex = sweep <= 180;
    constexpr double RAD = 3.14159265358979323846 / 180.0;
    // Rounded to whole units of a large scale, so the axis directions come out exact.
    auto axis = [](double v, int r) { return std::round(v * 4096.0) * (r > 0 ? r : 1); };
    w.sx = axis(std::cos(startAngle * RAD), ox);
    w.sy = axis(std::sin(startAngle * RAD), oy);
    w.ex = axis(std::cos(endAngle * RAD), ox);
    w.ey = axis(std::sin(endAngle * RAD), oy);
    w.sRatio = w.sy != 0 ? w.sx / w.sy : 0;
    w.eRatio = w.ey != 0 ? w.ex / w.ey : 0;
    return w;
}

// The wedge's points on row py: at most two intervals.
int wedgeRow(const Wedge& w, int py, Span out[2])
{
    if (w.full) {
        out[0] = {-INF, INF};
        return 1;
    }
    const Span a = leftOf(w.sx, w.sy, w.sRatio, py);
    const Span b = rightOf(w.ex, w.ey, w.eRatio, py);
    if (w.convex) {
        out[0] = meet(a, b);
        return out[0].lo <= out[0].hi ? 1 : 0;
    }
    // Wider than a half turn: either side of the missing wedge.
    if (a.lo > a.hi) {
        out[0] = b;
        return b.lo <= b.hi ? 1 : 0;
    }
    if (b.lo > b.hi) {
        out[0] = a;
        return 1;
    }
    if (a.lo <= b.hi + 1 && b.lo <= a.hi + 1) {
        out[0] = {a.lo < b.lo ? a.lo : b.lo, a.hi > b.hi ? a.hi : b.hi};
        return 1;
    }
    out[0] = a.lo < b.lo ? a : b;
    out[1] = a.lo < b.lo ? b : a;
    return 2;
}

} // namespace

void GFX_DrawArc(int16_t cx, int16_t cy, int16_t rx, int16_t ry, int16_t startAngle,
                 int16_t endAngle)
{
    if (startAngle == endAngle) return;
    const int pen = state().penSize > 1 ? state().penSize : 1;
    const int ox = rx + (pen - 1) / 2, oy = ry + (pen - 1) / 2;
    if (ox < 0 || oy < 0) return;
    const int ix = ox - pen, iy = oy - pen; // pixels inside the inner ellipse stay untouched
    const Wedge wedge = makeWedge(startAngle, endAngle, ox, oy);

    const GFX_Rect& clip = state().clip;
    const int yFirst = cy - oy > clip.y0 ? cy - oy : clip.y0;
    const int yLast = cy + oy < clip.y1 ? cy + oy : clip.y1;
    for (int y = yFirst; y <= yLast; ++y) {
        const int dy = y - cy;
        int outer, inner;
        ringRow(ox, oy, ix, iy, dy < 0 ? -dy : dy, outer, inner);
        if (outer < 0) continue;
        Span ringSpans[2];
        int ringCount = 1;
        if (inner < 0) {
            ringSpans[0] = {-outer, outer};
        } else {
            ringSpans[0] = {-outer, -inner - 1};
            ringSpans[1] = {inner + 1, outer};
            ringCount = 2;
        }
        Span wedgeSpans[2];
        const int wedgeCount = wedgeRow(wedge, -dy, wedgeSpans);
        for (int r = 0; r < ringCount; ++r)
            for (int w = 0; w < wedgeCount; ++w) {
                const Span s = meet(ringSpans[r], wedgeSpans[w]);
                if (s.lo <= s.hi) paintSpan(y, cx + s.lo, cx + s.hi);
            }
    }
}
