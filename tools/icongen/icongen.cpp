// Draws the application icon (a drive with a download arrow) and writes it
// as a multi-image .ico. After changing the artwork, rebuild and run
//     icongen app/res/KavloSSDUpdate.ico
// and commit the new icon: the build checks that the two stay in sync.
//
// Everything below is integer arithmetic so the output is byte-identical
// whatever compiler or platform builds the tool.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Artwork

struct Rgb {
    std::uint8_t r, g, b;
};

bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

enum Ink : std::uint8_t {
    kClear,  // background, shows through the AND mask
    kBody,
    kBevel,  // lit top edge of the body
    kPins,
    kArrow,
    kInkCount
};

// Geometry is written in 32nds of the icon size and snapped to whole pixels
// per size, so straight edges stay sharp at every size instead of smearing
// across two pixels.
int snap(int n32, int size) { return (n32 * size + 16) / 32; }

// Sub-sampling grid: each pixel is split into kSub x kSub samples whose
// centres sit on odd coordinates of a grid 2*kSub units per pixel wide, so
// all geometry tests stay in integers.
constexpr int kSub = 8;
constexpr long kUnit = 2 * kSub;

struct Layout {
    // body, in pixels: [bodyL, bodyR) x [bodyT, bodyB)
    int bodyL, bodyR, bodyT, bodyB;
    long radius;  // corner radius, in grid units
    int bevel;    // lit edge thickness, pixels (0 = none)
    // contact strip: pins of width pinW starting at each pinX
    int pinsT, pinsB, pinW;
    std::vector<int> pinX;
    // arrow: shaft [cx-shaftHw, cx+shaftHw) x [shaftT, headT); the head is
    // a triangle with its base on headT, half-width headHw, apex at tipY
    int cx, shaftHw, shaftT, headT, headHw, tipY;
    int gap;  // width of the transparent ring cut around the arrow, pixels
};

Layout makeLayout(int s) {
    Layout l{};
    l.bodyL = snap(1, s);
    l.bodyR = s - l.bodyL;
    l.bodyT = snap(14, s);
    l.bodyB = snap(31, s);
    // At least two pixels, so that even the 16x16 image loses its corner
    // pixels and reads as a rounded case.
    l.radius = 3 * s * kUnit / 32;
    if (l.radius < 2 * kUnit) l.radius = 2 * kUnit;
    // Below 32 pixels a lit edge is just noise.
    l.bevel = s < 32 ? 0 : (s < 128 ? 1 : s / 64);

    l.pinsT = snap(25, s);
    l.pinsB = snap(28, s);
    // Pins and gaps of equal width; keep the count odd so the row is
    // symmetric under the arrow tip.
    const int pitch = s / 8 < 2 ? 2 : s / 8;
    l.pinW = pitch / 2;
    const int regionL = snap(5, s), regionR = s - regionL;
    int n = (regionR - regionL + pitch - l.pinW) / pitch;
    if (n % 2 == 0) --n;
    const int used = n * pitch - (pitch - l.pinW);
    const int first = regionL + (regionR - regionL - used) / 2;
    for (int i = 0; i < n; ++i) l.pinX.push_back(first + i * pitch);

    l.cx = s / 2;
    l.shaftHw = snap(3, s);
    l.shaftT = snap(1, s);
    l.headT = snap(11, s);
    // At 16x16 the full-width head would leave only a one-pixel stub of
    // body beside it; a narrower 45-degree head keeps both shapes readable.
    const bool tiny = s < 24;
    l.headHw = snap(tiny ? 8 : 10, s);
    l.tipY = snap(tiny ? 20 : 22, s);
    l.gap = s >= 64 ? s / 32 : 1;
    return l;
}

bool inRoundRect(long x, long y, long l, long t, long r, long b, long rad) {
    if (x < l || x >= r || y < t || y >= b) return false;
    const long cx = x < l + rad ? l + rad : (x >= r - rad ? r - rad : x);
    const long cy = y < t + rad ? t + rad : (y >= b - rad ? b - rad : y);
    const long dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= rad * rad;
}

// Ink at one sample point (grid units); later layers paint over earlier.
Ink sampleInk(const Layout& l, long x, long y) {
    const long u = kUnit;
    Ink ink = kClear;
    if (inRoundRect(x, y, l.bodyL * u, l.bodyT * u, l.bodyR * u, l.bodyB * u, l.radius)) {
        ink = kBody;
        // The lit edge is what the body does not share with a copy of
        // itself shifted down, so it follows the rounded corners.
        if (l.bevel > 0 && !inRoundRect(x, y, l.bodyL * u, (l.bodyT + l.bevel) * u,
                                        l.bodyR * u, (l.bodyB + l.bevel) * u, l.radius))
            ink = kBevel;
        if (y >= l.pinsT * u && y < l.pinsB * u)
            for (int px : l.pinX)
                if (x >= px * u && x < (px + l.pinW) * u) ink = kPins;
    }
    const long cx = l.cx * u;
    const long ax = x < cx ? cx - x : x - cx;
    if (y >= l.shaftT * u && y < l.headT * u && ax < l.shaftHw * u) ink = kArrow;
    const long headT = l.headT * u, tip = l.tipY * u, hw = l.headHw * u;
    if (y >= headT && y < tip && ax * (tip - headT) < hw * (tip - y)) ink = kArrow;
    return ink;
}

// One rendered size: an ink and a 24-bit colour per pixel, row 0 at the top.
struct Picture {
    int size = 0;
    std::vector<Ink> ink;
    std::vector<Rgb> rgb;

    std::size_t at(int x, int y) const { return static_cast<std::size_t>(y * size + x); }
};

Rgb lerp(Rgb a, Rgb b, int num, int den) {
    if (den <= 0) return a;
    if (num < 0) num = 0;
    if (num > den) num = den;
    auto mix = [&](int p, int q) {
        return static_cast<std::uint8_t>((p * (den - num) + q * num + den / 2) / den);
    };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

// The body and arrow carry a vertical gradient in the true-colour and
// 256-colour images; the 16-colour and mono images use the flat
// per-ink indices further down.
constexpr Rgb kBodyTop{0x4a, 0x58, 0x6e}, kBodyBottom{0x22, 0x2a, 0x36};
constexpr Rgb kBevelRgb{0x7d, 0x8b, 0xa1};
constexpr Rgb kPinsRgb{0xe8, 0xb0, 0x2a};
constexpr Rgb kArrowTop{0x6b, 0xdc, 0x7c}, kArrowBottom{0x16, 0x94, 0x36};

Rgb shade(const Layout& l, Ink ink, int y) {
    switch (ink) {
    case kBody:
        return lerp(kBodyTop, kBodyBottom, y - l.bodyT, l.bodyB - 1 - l.bodyT);
    case kBevel:
        return kBevelRgb;
    case kPins:
        return kPinsRgb;
    case kArrow:
        return lerp(kArrowTop, kArrowBottom, y - l.shaftT, l.tipY - 1 - l.shaftT);
    default:
        return {0, 0, 0};
    }
}

Picture render(int s) {
    const Layout l = makeLayout(s);
    Picture pic;
    pic.size = s;
    pic.ink.assign(static_cast<std::size_t>(s * s), kClear);
    pic.rgb.assign(static_cast<std::size_t>(s * s), Rgb{0, 0, 0});

    // Majority ink per pixel. The AND mask can only say "in" or "out", so
    // there is nothing to gain from keeping partial coverage. Ties go to
    // the lower ink.
    for (int y = 0; y < s; ++y) {
        for (int x = 0; x < s; ++x) {
            int count[kInkCount] = {};
            for (int j = 0; j < kSub; ++j)
                for (int i = 0; i < kSub; ++i)
                    ++count[sampleInk(l, x * kUnit + 2 * i + 1, y * kUnit + 2 * j + 1)];
            int best = kClear;
            for (int k = 1; k < kInkCount; ++k)
                if (count[k] > count[best]) best = k;
            pic.ink[pic.at(x, y)] = static_cast<Ink>(best);
        }
    }

    // Cut a transparent ring around the arrow so it stands apart from the
    // dark body, whatever the background.
    std::vector<Ink> cut = pic.ink;
    const int g = l.gap;
    for (int y = 0; y < s; ++y) {
        for (int x = 0; x < s; ++x) {
            if (pic.ink[pic.at(x, y)] == kArrow) continue;
            bool near = false;
            for (int dy = -g; dy <= g && !near; ++dy)
                for (int dx = -g; dx <= g && !near; ++dx) {
                    const int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= s || yy >= s) continue;
                    if (dx * dx + dy * dy > g * g + g) continue;
                    near = pic.ink[pic.at(xx, yy)] == kArrow;
                }
            if (near) cut[pic.at(x, y)] = kClear;
        }
    }
    pic.ink = cut;

    for (int y = 0; y < s; ++y)
        for (int x = 0; x < s; ++x) pic.rgb[pic.at(x, y)] = shade(l, pic.ink[pic.at(x, y)], y);
    return pic;
}

// ---------------------------------------------------------------------------
// Palettes. Transparent pixels must have an all-zero XOR value, so entry 0
// is black in every palette and kClear always maps to it.

// The 16 colours every Windows display driver provides.
const Rgb kVga[16] = {
    {0x00, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x00, 0x80}, {0x80, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xc0, 0xc0, 0xc0},
    {0x80, 0x80, 0x80}, {0xff, 0x00, 0x00}, {0x00, 0xff, 0x00}, {0xff, 0xff, 0x00},
    {0x00, 0x00, 0xff}, {0xff, 0x00, 0xff}, {0x00, 0xff, 0xff}, {0xff, 0xff, 0xff},
};

// Index per ink: mono is black with white pins; 16 colours are grey body,
// silver edge, yellow pins and a green arrow.
const std::uint8_t kMonoIndex[kInkCount] = {0, 0, 0, 1, 0};
const std::uint8_t kVgaIndex[kInkCount] = {0, 8, 7, 11, 2};

// The 256-colour image gets a palette of exactly the colours its true-colour
// twin uses (in order of first appearance), so the two look the same. Even
// the 128x128 image needs only about 160.
std::vector<Rgb> exactPalette(const Picture& pic) {
    std::vector<Rgb> pal{Rgb{0, 0, 0}};
    for (std::size_t i = 0; i < pic.rgb.size(); ++i) {
        if (pic.ink[i] == kClear) continue;
        bool known = false;
        for (const Rgb& c : pal) known = known || c == pic.rgb[i];
        if (!known) pal.push_back(pic.rgb[i]);
    }
    return pal;
}

std::uint8_t indexOf(const std::vector<Rgb>& pal, Rgb c) {
    for (std::size_t i = 0; i < pal.size(); ++i)
        if (pal[i] == c) return static_cast<std::uint8_t>(i);
    return 0;
}

// ---------------------------------------------------------------------------
// ICO writing: each image is a BITMAPINFOHEADER with doubled height, the
// palette, the XOR bitmap and the 1-bit AND mask, rows bottom-up and each
// padded to 4 bytes.

using Bytes = std::vector<std::uint8_t>;

void put8(Bytes& out, unsigned v) { out.push_back(static_cast<std::uint8_t>(v & 0xffu)); }

void put16(Bytes& out, unsigned v) {
    put8(out, v);
    put8(out, v >> 8);
}

void put32(Bytes& out, unsigned v) {
    put16(out, v & 0xffffu);
    put16(out, v >> 16);
}

std::size_t stride(int width, int bpp) {
    return static_cast<std::size_t>((width * bpp + 31) / 32 * 4);
}

Bytes encodeImage(const Picture& pic, int bpp) {
    const int s = pic.size;
    std::vector<Rgb> pal;
    if (bpp == 1) {
        pal = {kVga[0], kVga[15]};
    } else if (bpp == 4) {
        pal = std::vector<Rgb>(kVga, kVga + 16);
    } else if (bpp == 8) {
        pal = exactPalette(pic);
        if (pal.size() > 256) {
            std::cerr << "icongen: " << s << "x" << s << " uses more than 256 colours\n";
            std::exit(1);
        }
        pal.resize(256, Rgb{0, 0, 0});
    }

    const std::size_t xorStride = stride(s, bpp), andStride = stride(s, 1);
    const auto us = static_cast<unsigned>(s);
    Bytes out;
    put32(out, 40);  // BITMAPINFOHEADER
    put32(out, us);
    put32(out, 2 * us);
    put16(out, 1);
    put16(out, static_cast<unsigned>(bpp));
    put32(out, 0);  // BI_RGB
    put32(out, static_cast<unsigned>((xorStride + andStride) * us));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (const Rgb& c : pal) {
        put8(out, c.b);
        put8(out, c.g);
        put8(out, c.r);
        put8(out, 0);
    }

    for (int y = s - 1; y >= 0; --y) {
        Bytes row(xorStride, 0);
        for (int x = 0; x < s; ++x) {
            const Ink ink = pic.ink[pic.at(x, y)];
            const Rgb c = pic.rgb[pic.at(x, y)];
            const auto ux = static_cast<std::size_t>(x);
            switch (bpp) {
            case 1:
                row[ux / 8] |= static_cast<std::uint8_t>(kMonoIndex[ink] << (7 - ux % 8));
                break;
            case 4:
                row[ux / 2] |= static_cast<std::uint8_t>(kVgaIndex[ink] << (ux % 2 ? 0 : 4));
                break;
            case 8:
                row[ux] = ink == kClear ? 0 : indexOf(pal, c);
                break;
            default:
                row[3 * ux] = c.b;
                row[3 * ux + 1] = c.g;
                row[3 * ux + 2] = c.r;
                break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = s - 1; y >= 0; --y) {
        Bytes row(andStride, 0);
        for (int x = 0; x < s; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            if (pic.ink[pic.at(x, y)] == kClear)
                row[ux / 8] |= static_cast<std::uint8_t>(0x80u >> (ux % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes buildIco() {
    const int sizes[] = {16, 24, 32, 48, 64, 128};
    const int depths[] = {1, 4, 8, 24};

    std::vector<Picture> pics;
    for (int s : sizes) pics.push_back(render(s));

    struct Entry {
        int size, bpp;
        Bytes data;
    };
    // Grouped by depth, smallest first; Windows picks the best match from
    // the whole directory, so the order is only for people reading it.
    std::vector<Entry> entries;
    for (int bpp : depths)
        for (const Picture& pic : pics) entries.push_back({pic.size, bpp, encodeImage(pic, bpp)});

    Bytes out;
    put16(out, 0);
    put16(out, 1);  // icon, not cursor
    put16(out, static_cast<unsigned>(entries.size()));
    auto offset = static_cast<unsigned>(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        put8(out, static_cast<unsigned>(e.size));  // all sizes are below 256
        put8(out, static_cast<unsigned>(e.size));
        put8(out, e.bpp < 8 ? 1u << e.bpp : 0u);
        put8(out, 0);
        put16(out, 1);
        put16(out, static_cast<unsigned>(e.bpp));
        put32(out, static_cast<unsigned>(e.data.size()));
        put32(out, offset);
        offset += static_cast<unsigned>(e.data.size());
    }
    for (const Entry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: icongen OUTPUT.ico\n";
        return 2;
    }
    const Bytes ico = buildIco();
    std::ofstream f(argv[1], std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    f.close();
    if (!f) {
        std::cerr << "icongen: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
