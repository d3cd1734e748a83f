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
    int d = degrees % 360;
    if (d < 0) d += 360;
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
        // Where a ray of the wedge meets the inner ellipse (the centre when there is none); the
        // sine's scale cancels out.
        const int ix = ox - penRows, iy = oy - penRows;
        auto innerRow = [&](double c, double s) {
            if (ix <= 0 || iy <= 0) return 0.0;
            const double u = ox * c / ix, v = oy * s / iy;
            return oy * s / std::sqrt(u * u + v * v);
        };
        const double i0 = innerRow(c0, s0), i1 = innerRow(c1, s1);
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

// The wedge of the last arc drawn: the idle animation draws each arc twice a frame, once
// around each of its ends.
struct LastWedge {
    int start = 0, end = 0, ox = -1, oy = -1, pen = 0;
    Wedge wedge{};
};
LastWedge lastWedge;

const Wedge& wedgeFor(int startAngle, int endAngle, int ox, int oy, int pen)
{
    LastWedge& w = lastWedge;
    if (w.start != startAngle || w.end != endAngle || w.ox != ox || w.oy != oy || w.pen != pen)
        w = {startAngle, endAngle, ox, oy, pen, makeWedge(startAngle, endAngle, ox, oy, pen)};
    return w.wedge;
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

// One side of a wedge up to a half turn as a bound on the columns of a row: leftOf or rightOf
// with the case of the direction decided once for all rows.
struct Bound {
    enum Kind : int8_t { Upper, Lower, Rows } kind; // at most floor, at least ceil, whole rows
    int8_t side;   // Rows: the rows kept are those with side * py >= 0
    int64_t ratio; // Upper and Lower: the boundary column per row, fixed point
    // Narrows [lo, hi] on row py.
    void apply(int py, int& lo, int& hi) const
    {
        if (kind == Upper) {
            const int f = floorFixed(ratio * py);
            if (f < hi) hi = f;
        } else if (kind == Lower) {
            const int c = ceilFixed(ratio * py);
            if (c > lo) lo = c;
        } else if (side * py < 0) {
            lo = 1;
            hi = 0;
        }
    }
};

Bound leftBound(double ux, double uy, int64_t ratio)
{
    if (uy > 0) return {Bound::Upper, 0, ratio};
    if (uy < 0) return {Bound::Lower, 0, ratio};
    return {Bound::Rows, static_cast<int8_t>(ux > 0 ? 1 : -1), 0};
}

Bound rightBound(double ux, double uy, int64_t ratio)
{
    if (uy > 0) return {Bound::Lower, 0, ratio};
    if (uy < 0) return {Bound::Upper, 0, ratio};
    return {Bound::Rows, static_cast<int8_t>(ux > 0 ? -1 : 1), 0};
}

// The arc's spans relative to its centre (y downwards), row by row, on the rows rowFrom to
// rowTo, unclipped otherwise.
template <typename Emit>
void arcSpans(int rx, int ry, int startAngle, int endAngle, int pen, int rowFrom, int rowTo,
              Emit emit)
{
    const int ox = rx + (pen - 1) / 2, oy = ry + (pen - 1) / 2;
    if (ox < 0 || oy < 0 || ox > MAX_RADIUS || oy > MAX_RADIUS) return;
    const int ix = ox - pen, iy = oy - pen; // pixels inside the inner ellipse stay untouched
    const Wedge& wedge = wedgeFor(startAngle, endAngle, ox, oy, pen);
    const RingRows& rows = ringFor(ox, oy, ix, iy);
    const int top = std::max(-std::min(oy, wedge.pyHigh), rowFrom);
    const int bottom = std::min(-std::max(-oy, wedge.pyLow), rowTo);
    auto ringRow = [&](int dy, int& outer, int& inner) {
        const int distance = dy < 0 ? -dy : dy;
        outer = distance < CACHED_ROWS ? rows.outer[distance] : halfWidth(ox, oy, distance);
        inner = distance < CACHED_ROWS ? rows.inner[distance] : halfWidth(ix, iy, distance);
    };
    if (!wedge.full && wedge.convex && oy < CACHED_ROWS) {
        // Up to a half turn, the common case: each row is the ring cut by one interval.
        const Bound from = leftBound(wedge.sx, wedge.sy, wedge.sRatio);
        const Bound to = rightBound(wedge.ex, wedge.ey, wedge.eRatio);
        const int16_t* outerRows = rows.outer;
        const int16_t* innerRows = rows.inner;
        for (int dy = top; dy <= bottom; ++dy) {
            const int distance = dy < 0 ? -dy : dy;
            const int outer = outerRows[distance];
            if (outer < 0) continue;
            int lo = -INF, hi = INF;
            from.apply(-dy, lo, hi);
            to.apply(-dy, lo, hi);
            // The ring's row: one span, or a left and a right one around the inner ellipse.
            const int inner = innerRows[distance];
            const int leftEnd = inner < 0 ? outer : -inner - 1;
            const int rightStart = inner < 0 ? outer + 1 : inner + 1;
            const int leftLo = lo > -outer ? lo : -outer, leftHi = hi < leftEnd ? hi : leftEnd;
            if (leftLo <= leftHi) emit(dy, leftLo, leftHi);
            const int rightLo = lo > rightStart ? lo : rightStart,
                      rightHi = hi < outer ? hi : outer;
            if (rightLo <= rightHi) emit(dy, rightLo, rightHi);
        }
        return;
    }
    for (int dy = top; dy <= bottom; ++dy) {
        int outer, inner;
        ringRow(dy, outer, inner);
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
                const Span sp = meet(ringSpans[r], wedgeSpans[w]);
                if (sp.lo <= sp.hi) emit(dy, sp.lo, sp.hi);
            }
    }
}

// Paints the spans of an arc around its centre; the rows are inside the clip rectangle. The
// operation is a constant, so that a span of a few bytes costs a few instructions.
template <SpanOp OP> struct Painter {
    int cx, cy;
    int clipX0, clipX1; // copies: the bytes painted could alias the drawing state
    [[gnu::always_inline]] void operator()(int dy, int lo, int hi) const
    {
        const int x0 = cx + lo > clipX0 ? cx + lo : clipX0;
        const int x1 = cx + hi < clipX1 ? cx + hi : clipX1;
        if (x0 <= x1) applySpan(row(cy + dy), spanBytes(x0, x1), OP);
    }
};

} // namespace

void GFX_DrawArc(int16_t cx, int16_t cy, int16_t rx, int16_t ry, int16_t startAngle,
                 int16_t endAngle)
{
    if (startAngle == endAngle) return;
    const uint8_t pen = state().penSize > 1 ? state().penSize : 1;
    const GFX_Rect& clip = state().clip;
    const int from = clip.y0 - cy, to = clip.y1 - cy;
    const SpanOp op = paintOp();
    if (op == SET)
        arcSpans(rx, ry, startAngle, endAngle, pen, from, to,
                 Painter<SET>{cx, cy, clip.x0, clip.x1});
    else if (op == CLEAR)
        arcSpans(rx, ry, startAngle, endAngle, pen, from, to,
                 Painter<CLEAR>{cx, cy, clip.x0, clip.x1});
    else
        arcSpans(rx, ry, startAngle, endAngle, pen, from, to,
                 Painter<INVERT>{cx, cy, clip.x0, clip.x1});
}

GFX_Rect GFX_ArcBounds(int16_t cx, int16_t cy, int16_t rx, int16_t ry, int16_t startAngle,
                       int16_t endAngle)
{
    const int pen = state().penSize > 1 ? state().penSize : 1;
    const int ox = rx + (pen - 1) / 2, oy = ry + (pen - 1) / 2;
    if (startAngle == endAngle || ox < 0 || oy < 0 || ox > MAX_RADIUS || oy > MAX_RADIUS)
        return {0, 0, -1, -1};
    const int ix = ox - pen, iy = oy - pen;
    // Both ends of the arc on the outer and the inner ellipse (y up), and the outer ellipse's
    // extremes that the arc passes.
    double left = ox, right = -ox, bottom = oy, top = -oy;
    auto take = [&](double x, double y) {
        left = x < left ? x : left;
        right = x > right ? x : right;
        bottom = y < bottom ? y : bottom;
        top = y > top ? y : top;
    };
    if (ix <= 0 || iy <= 0) take(0, 0); // no inner ring: the arc reaches the centre
    for (const int angle : {int{startAngle}, int{endAngle}}) {
        const double x = double(ox) * cosine(angle) / SINE_SCALE;
        const double y = double(oy) * sine(angle) / SINE_SCALE;
        take(x, y);
        if (ix > 0 && iy > 0) {
            const double u = x / ix, v = y / iy;
            const double k = 1 / std::sqrt(u * u + v * v);
            take(x * k, y * k);
        }
    }
    int sweep = endAngle - startAngle;
    const bool full = sweep >= 360 || sweep <= -360;
    sweep = ((sweep % 360) + 360) % 360;
    const int from = ((startAngle % 360) + 360) % 360;
    auto passes = [&](int angle) { // angle 0..270
        const int along = angle >= from ? angle - from : angle - from + 360;
        return full || along <= sweep;
    };
    if (passes(0)) take(ox, 0);
    if (passes(90)) take(0, oy);
    if (passes(180)) take(-ox, 0);
    if (passes(270)) take(0, -oy);
    // A pixel more each way: the pixel centres, the half pixel of the ellipses, rounding.
    constexpr int MARGIN = 1;
    auto onDisplay = [](int v, int size) { return static_cast<int16_t>(std::clamp(v, -1, size)); };
    const GFX_Rect r{onDisplay(cx + floorOf(left) - MARGIN, GFX_WIDTH),
                     onDisplay(cy - ceilOf(top) - MARGIN, GFX_HEIGHT),
                     onDisplay(cx + ceilOf(right) + MARGIN, GFX_WIDTH),
                     onDisplay(cy - floorOf(bottom) + MARGIN, GFX_HEIGHT)};
    return intersect(r, DISPLAY);
}
