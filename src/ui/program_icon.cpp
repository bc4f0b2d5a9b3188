#include "ui/program_icon.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSize = 32;

struct Rgb {
    double r, g, b;
};
constexpr Rgb kBackground{0.12, 0.35, 0.66};
constexpr Rgb kGlyph{1.0, 1.0, 1.0};

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// How much of a pixel lies inside a stroke of half-width w whose centre line is at distance d.
double Coverage(double d, double w) {
    return std::clamp(w - d + 0.5, 0.0, 1.0);
}

std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::lround(v * 255.0));
}

}  // namespace

// A magnifying glass on a rounded blue square: the tool searches the network for devices.
win::IconImage ProgramIcon() {
    win::IconImage image;
    image.width = kSize;
    image.height = kSize;
    image.rgba.resize(static_cast<std::size_t>(kSize * kSize * 4));
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            // Rounded square: distance outside a 24 x 24 core with a corner radius of 4.
            const double qx = std::max(std::abs(px - 16.0) - 12.0, 0.0);
            const double qy = std::max(std::abs(py - 16.0) - 12.0, 0.0);
            const double alpha = Coverage(std::hypot(qx, qy), 4.0);

            const double ring = Coverage(std::abs(std::hypot(px - 13.5, py - 13.5) - 7.5), 1.4);
            const double handle = Coverage(SegmentDistance(px, py, 19.5, 19.5, 26.0, 26.0), 2.0);
            const double glyph = std::max(ring, handle);

            std::uint8_t* out = &image.rgba[static_cast<std::size_t>((y * kSize + x) * 4)];
            out[0] = Channel(kBackground.r + (kGlyph.r - kBackground.r) * glyph);
            out[1] = Channel(kBackground.g + (kGlyph.g - kBackground.g) * glyph);
            out[2] = Channel(kBackground.b + (kGlyph.b - kBackground.b) * glyph);
            out[3] = Channel(alpha);
        }
    }
    return image;
}
