// Arcs of an ellipse drawn with the pen width. The idle animation redraws two of them five
// times a second for as long as the panel is idle, so a frame walks the ring's rows once:
// each row is at most two spans of the ring cut by the angle wedge, and the ring's spans are
// kept for the last radii drawn.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "gfx/gfx.h"
#include "gfx/raster.h"

using namespace gfx;

namespace {

constexpr int INF = 1 << 20;
// Radii beyond this are not drawn: the ring arithmetic squares them twice in 64 bits.
constexpr int MAX_RADIUS = 8191;

struct Span {
    int lo, hi; // inclusive; empty when lo > hi
};

// Largest dx >= 0 with (dx/(a+1/2))^2 + (dy/(b+1/2))^2 <= 1, or -1 when the row misses the
// ellipse. The half pixel keeps a lone pixel from sticking out at the ends of each axis.
int halfWidth(int a, int b, int dy)
{
    if (a < 0 || b < 0 || dy > b) return -1;
    const int64_t A = 2 * a + 1, B = 2 * b + 1, Y = 2 * dy;
    const int64_t limit = A * A * B * B - Y * Y * A * A; // >= (2 dx)^2 B^2
    int dx = static_cast<int>(std::sqrt(static_cast<double>(limit) / double(4 * B * B)));
    while (4 * int64_t{dx + 1} * (dx + 1) * B * B <= limit)
        ++dx;
    while (dx > 0 && 4 * int64_t{dx} * dx * B * B > limit)
        --dx;
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

const RingRows& ringFor(int ox, int oy, int ix, int iy)
{
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
    return ring;
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

// The rows' boundary columns in 16.16 fixed point: floor and ceiling without branches.
constexpr int FRACTION_BITS = 16;
int64_t toFixed(double v) { return static_cast<int64_t>(std::llround(v * (1 << FRACTION_BITS))); }
int floorFixed(int64_t v) { return static_cast<int>(v >> FRACTION_BITS); }
int ceilFixed(int64_t v) { return -static_cast<int>((-v) >> FRACTION_BITS); }

// The points p (y up) with cross(u, p) >= 0, i.e. at or counter-clockwise of direction u,
// on the row py, as an interval of px.
Span leftOf(double ux, double uy, int64_t ratio, int py)
{
    // ux * py - uy * px >= 0
    if (uy > 0) return {-INF, floorFixed(ratio * py)};
    if (uy < 0) return {ceilFixed(ratio * py), INF};
    return ux * py >= 0 ? Span{-INF, INF} : Span{1, 0};
}

// The points with cross(p, u) >= 0, at or clockwise of direction u.
Span rightOf(double ux, double uy, int64_t ratio, int py)
{
    // px * uy - py * ux >= 0
    if (uy > 0) return {ceilFixed(ratio * py), INF};
    if (uy < 0) return {-INF, floorFixed(ratio * py)};
    return -ux * py >= 0 ? Span{-INF, INF} : Span{1, 0};
}

Span meet(Span a, Span b) { return {a.lo > b.lo ? a.lo : b.lo, a.hi < b.hi ? a.hi : b.hi}; }

// Sine of whole degrees 0..90 times 4096, computed by the compiler; whole units keep the axis
// directions exact.
constexpr int SINE_SCALE = 4096;
constexpr std::array<int16_t, 91> makeSines()
{
    std::array<int16_t, 91> t{};
    for (int d = 0; d <= 90; ++d) {
        const double x = d * 3.14159265358979323846 / 180.0;
        double term = x, sum = x;
        for (int k = 1; k < 12; ++k) {
            term *= -x * x / ((2 * k) * (2 * k + 1));
            sum += term;
        }
        t[d] = static_cast<int16_t>(sum * SINE_SCALE + 0.5);
    }
    return t;
}
constexpr std::array<int16_t, 91> SINES = makeSines();

int sine(int degrees)
{
    const int d = ((degrees % 360) + 360) % 360;
    if (d <= 90) return SINES[d];
    if (d <= 180) return SINES[180 - d];
    if (d <= 270) return -SINES[d - 180];
    return -SINES[360 - d];
}
int cosine(int degrees) { return sine(degrees + 90); }

struct Wedge {
    double sx, sy, ex, ey;  // start and end directions
    int64_t sRatio, eRatio; // sx / sy and ex / ey, fixed point
    bool full, convex;
    int pyLow, pyHigh; // rows (y up) that the arc can reach
};

Wedge makeWedge(int startAngle, int endAngle, int ox, int oy, int penRows)
{
    Wedge w{};
    int sweep = endAngle - startAngle;
    w.full = sweep >= 360 || sweep <= -360;
    sweep = ((sweep % 360) + 360) % 360;
    w.convex = sweep <= 180;
    const double c0 = cosine(startAngle), s0 = sine(startAngle);
    const double c1 = cosine(endAngle), s1 = sine(endAngle);
    w.sx = c0 * (ox > 0 ? ox : 1);
    w.sy = s0 * (oy > 0 ? oy : 1);
    w.ex = c1 * (ox > 0 ? ox : 1);
    w.ey = s1 * (oy > 0 ? oy : 1);
    w.sRatio = w.sy != 0 ? toFixed(w.sx / w.sy) : 0;
    w.eRatio = w.ey != 0 ? toFixed(w.ex / w.ey) : 0;

    // Rows from the ends of the arc on both ring edges, and the top or bottom of the ellipse
    // where the arc passes 90 or 270 degrees; one more row each way for rounding.
    w.pyLow = -oy;
    w.pyHigh = oy;
    if (!w.full) {
        // Where a ray of the wedge meets the inner ellipse (the centre when there is none).
        const int ix = ox - penRows, iy = oy - penRows;
        auto innerRow = [&](double c, double s) {
            if (ix <= 0 || iy <= 0) return 0.0;
            const double u = ox * c / ix, v = oy * s / iy;
            return oy * s / std::sqrt(u * u + v * v);
        };
        const double i0 = innerRow(c0, s0) / SINE_SCALE, i1 = innerRow(c1, s1) / SINE_SCALE;
        const double o0 = s0 * oy / SINE_SCALE, o1 = s1 * oy / SINE_SCALE;
        double lo = std::min({o0, i0, o1, i1});
        double hi = std::max({o0, i0, o1, i1});
        const int from = ((startAngle % 360) + 360) % 360;
        auto passes = [&](int angle) { return ((angle - from) % 360 + 360) % 360 <= sweep; };
        if (passes(90)) hi = oy;
        if (passes(270)) lo = -oy;
        w.pyLow = floorOf(lo) - 1;
        w.pyHigh = ceilOf(hi) + 1;
    }
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

// The arc's spans relative to its centre (y downwards), row by row, unclipped.
template <typename Emit>
void arcSpans(int rx, int ry, int startAngle, int endAngle, int pen, Emit emit)
{
    const int ox = rx + (pen - 1) / 2, oy = ry + (pen - 1) / 2;
    if (ox < 0 || oy < 0 || ox > MAX_RADIUS || oy > MAX_RADIUS) return;
    const int ix = ox - pen, iy = oy - pen; // pixels inside the inner ellipse stay untouched
    const Wedge wedge = makeWedge(startAngle, endAngle, ox, oy, pen);
    const RingRows& rows = ringFor(ox, oy, ix, iy);
    const int top = -std::min(oy, wedge.pyHigh), bottom = -std::max(-oy, wedge.pyLow);
    for (int dy = top; dy <= bottom; ++dy) {
        const int distance = dy < 0 ? -dy : dy;
        const int outer =
            distance < CACHED_ROWS ? rows.outer[distance] : halfWidth(ox, oy, distance);
        if (outer < 0) continue;
        const int inner =
            distance < CACHED_ROWS ? rows.inner[distance] : halfWidth(ix, iy, distance);
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
                const Span sp = meet(ringSpans[r], wedgeSpans[w]);
                if (sp.lo <= sp.hi) emit(dy, sp.lo, sp.hi);
            }
    }
}

// The idle animation draws the same 182 arcs again and again, five times a second for as long
// as the panel is idle: their spans are kept, so a frame only paints them.
struct ArcSpan {
    int16_t dy, lo, hi;
};
constexpr size_t ARC_CACHE_ENTRIES = 192;
constexpr size_t ARC_CACHE_SPANS = 192;
struct CachedArc {
    int16_t rx, ry, start, end;
    uint8_t pen;
    bool used;
    uint16_t count;
    std::array<ArcSpan, ARC_CACHE_SPANS> spans;
};
std::array<CachedArc, ARC_CACHE_ENTRIES> arcCache;
size_t nextArc = 0; // replaced in turn once the cache is full

const CachedArc* cachedArc(int16_t rx, int16_t ry, int16_t start, int16_t end, uint8_t pen)
{
    for (const CachedArc& a : arcCache) {
        if (!a.used) break;
        if (a.rx == rx && a.ry == ry && a.start == start && a.end == end && a.pen == pen) return &a;
    }
    CachedArc& a = arcCache[nextArc];
    a = CachedArc{rx, ry, start, end, pen, true, 0, {}};
    bool fits = true;
    arcSpans(rx, ry, start, end, pen, [&](int dy, int lo, int hi) {
        if (a.count == ARC_CACHE_SPANS) {
            fits = false;
            return;
        }
        a.spans[a.count++] = {static_cast<int16_t>(dy), static_cast<int16_t>(lo),
                              static_cast<int16_t>(hi)};
    });
    if (!fits) {
        a.used = false; // too big to keep: drawn directly every time
        return nullptr;
    }
    nextArc = (nextArc + 1) % ARC_CACHE_ENTRIES;
    return &a;
}

} // namespace

void GFX_DrawArc(int16_t cx, int16_t cy, int16_t rx, int16_t ry, int16_t startAngle,
                 int16_t endAngle)
{
    if (startAngle == endAngle) return;
    const uint8_t pen = state().penSize > 1 ? state().penSize : 1;
    if (const CachedArc* a = cachedArc(rx, ry, startAngle, endAngle, pen)) {
        for (uint16_t i = 0; i < a->count; ++i)
            paintSpan(cy + a->spans[i].dy, cx + a->spans[i].lo, cx + a->spans[i].hi);
        return;
    }
    arcSpans(rx, ry, startAngle, endAngle, pen,
             [&](int dy, int lo, int hi) { paintSpan(cy + dy, cx + lo, cx + hi); });
}
