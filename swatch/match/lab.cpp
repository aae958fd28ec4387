#include "swatch/match/lab.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "swatch/colour_space.h"

namespace {

struct Matrix {
    double m[3][3];
};

struct Vector {
    double x;
    double y;
    double z;
};

constexpr Matrix Multiply(const Matrix& p, const Matrix& q) {
    Matrix r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                r.m[i][j] += p.m[i][k] * q.m[k][j];
            }
        }
    }
    return r;
}

constexpr Vector Apply(const Matrix& p, const Vector& v) {
    return {p.m[0][0] * v.x + p.m[0][1] * v.y + p.m[0][2] * v.z,
            p.m[1][0] * v.x + p.m[1][1] * v.y + p.m[1][2] * v.z,
            p.m[2][0] * v.x + p.m[2][1] * v.y + p.m[2][2] * v.z};
}

constexpr Matrix Inverse(const Matrix& p) {
    const auto& m = p.m;
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    return {{{c00 / det, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det,
              (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det},
             {c01 / det, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det,
              (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det},
             {c02 / det, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det,
              (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det}}};
}

// Linear sRGB to XYZ as IEC 61966-2-1 gives it; its rows add up to the D65 white.
constexpr Matrix kSrgbToXyz = {
    {{0.4124, 0.3576, 0.1805}, {0.2126, 0.7152, 0.0722}, {0.0193, 0.1192, 0.9505}}};
constexpr Vector kD65 = Apply(kSrgbToXyz, {1, 1, 1});
// The ICC profile connection white.
constexpr Vector kD50 = {0.9642, 1.0, 0.8249};

constexpr Matrix kBradford = {
    {{0.8951, 0.2664, -0.1614}, {-0.7502, 1.7135, 0.0367}, {0.0389, -0.0685, 1.0296}}};

constexpr Matrix D65ToD50() {
    const Vector from = Apply(kBradford, kD65);
    const Vector to = Apply(kBradford, kD50);
    const Matrix scale = {{{to.x / from.x, 0, 0}, {0, to.y / from.y, 0}, {0, 0, to.z / from.z}}};
    return Multiply(Inverse(kBradford), Multiply(scale, kBradford));
}

constexpr Matrix kToXyzD50 = Multiply(D65ToD50(), kSrgbToXyz);
constexpr Matrix kFromXyzD50 = Inverse(kToXyzD50);

constexpr double kEpsilon = 216.0 / 24389.0;
constexpr double kKappa = 24389.0 / 27.0;

double Linear(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double Encode(double linear) {
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

// The 256 levels of an 8-bit channel, worked out once: a table's worth of records convert at
// every load.
double LinearOfByte(unsigned level) {
    static const struct Levels {
        double linear[256];
        Levels() : linear() {
            for (unsigned i = 0; i < 256; ++i) {
                linear[i] = Linear(i / 255.0);
            }
        }
    } levels;
    return levels.linear[level & 0xFF];
}

// The cube root of a positive number to about 1e-14: a third of the exponent as a first guess
// (3 % off at worst), then two Halley steps, each cubing the error. The library's is several
// times slower, and the largest file needs 196,605 of them at each load.
double CubeRoot(double t) {
    std::uint64_t bits;
    std::memcpy(&bits, &t, sizeof bits);
    // The high word alone: a 64-bit division is a library call on a 32-bit build.
    bits = std::uint64_t{static_cast<std::uint32_t>(bits >> 32) / 3 + 0x2A9F7893u} << 32;
    double root;
    std::memcpy(&root, &bits, sizeof root);
    for (int step = 0; step < 2; ++step) {
        const double cube = root * root * root;
        root *= (cube + 2 * t) / (2 * cube + t);
    }
    return root;
}

double F(double t) {
    return t > kEpsilon ? CubeRoot(t) : (kKappa * t + 16) / 116;
}

double InverseF(double f) {
    const double cube = f * f * f;
    return cube > kEpsilon ? cube : (116 * f - 16) / kKappa;
}

// Out of line, so that every colour reaches Lab through the same instructions: on an x87 build
// an inlined copy could round differently, and a user's colour would then differ by a hair
// from the very same colour stored in a file.
__attribute__((noinline)) Lab LinearToLab(const Vector& linear) {
    const Vector xyz = Apply(kToXyzD50, linear);
    const double fx = F(xyz.x * (1 / kD50.x));
    const double fy = F(xyz.y);
    const double fz = F(xyz.z * (1 / kD50.z));
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

unsigned Component(const SwatchEntry& entry, int index) {
    return static_cast<unsigned>(entry.components[2 * index]) << 8 |
           entry.components[2 * index + 1];
}

double Unit(const SwatchEntry& entry, int index) {
    return Component(entry, index) / 65535.0;
}

struct Encoded {
    double red;
    double green;
    double blue;
};

Encoded Hsb(const SwatchEntry& entry) {
    const double sextant = Unit(entry, 0) * 6;  // hue / 60 degrees
    const double saturation = Unit(entry, 1);
    const double brightness = Unit(entry, 2);
    // A hue of 65535 is 360 degrees, the same as 0.
    const int index = static_cast<int>(sextant) % 6;
    const double fraction = sextant - std::floor(sextant);
    const double p = brightness * (1 - saturation);
    const double q = brightness * (1 - saturation * fraction);
    const double t = brightness * (1 - saturation * (1 - fraction));
    switch (index) {
    case 0:
        return {brightness, t, p};
    case 1:
        return {q, brightness, p};
    case 2:
        return {p, brightness, t};
    case 3:
        return {p, q, brightness};
    case 4:
        return {t, p, brightness};
    default:
        return {brightness, p, q};
    }
}

// The sRGB colour, 0 to 1 a channel, of a record in a space that stores one by another name.
bool EncodedOf(const SwatchEntry& entry, Encoded* out) {
    switch (entry.colourSpace) {
    case ColourSpace::kHsb:
        *out = Hsb(entry);
        return true;
    case ColourSpace::kCmyk: {
        // Stored inverted, 65535 being no ink.
        const double black = Unit(entry, 3);
        *out = {Unit(entry, 0) * black, Unit(entry, 1) * black, Unit(entry, 2) * black};
        return true;
    }
    case ColourSpace::kGrey: {
        // 0 is white and 10000 black; a larger value is taken as black.
        const double value = Component(entry, 0);
        const double level = value >= 10000 ? 0 : 1 - value / 10000;
        *out = {level, level, level};
        return true;
    }
    default:
        return false;
    }
}

COLORREF RgbOf(const SwatchEntry& entry) {
    return static_cast<COLORREF>(entry.components[0]) |
           static_cast<COLORREF>(entry.components[2]) << 8 |
           static_cast<COLORREF>(entry.components[4]) << 16;
}

Lab StoredLab(const SwatchEntry& entry) {
    return {Component(entry, 0) / 100.0, static_cast<std::int16_t>(Component(entry, 1)) / 100.0,
            static_cast<std::int16_t>(Component(entry, 2)) / 100.0};
}

COLORREF Rounded(double red, double green, double blue) {
    const auto channel = [](double value) -> COLORREF {
        const double level = std::round(value * 255);
        // Also a NaN, which neither comparison passes, ends up as 0.
        return level >= 255 ? 255 : level > 0 ? static_cast<COLORREF>(level) : 0;
    };
    return channel(red) | channel(green) << 8 | channel(blue) << 16;
}

// The one choice of how a record's colour is read, for both conversions: its sRGB bytes, its
// stored Lab, or its encoded channels (HSB, CMYK, grey); false for any other space.
template <typename Out, typename FromRgb, typename FromLab, typename FromEncoded>
bool Convert(const SwatchEntry& entry, Out* out, FromRgb fromRgb, FromLab fromLab,
             FromEncoded fromEncoded) {
    Encoded encoded;
    if (entry.colourSpace == ColourSpace::kRgb) {
        *out = fromRgb(RgbOf(entry));
    } else if (entry.colourSpace == ColourSpace::kLab) {
        *out = fromLab(StoredLab(entry));
    } else if (EncodedOf(entry, &encoded)) {
        *out = fromEncoded(encoded);
    } else {
        return false;
    }
    return true;
}

}  // namespace

Lab SrgbToLab(COLORREF colour) {
    return LinearToLab(
        {LinearOfByte(colour & 0xFF), LinearOfByte(colour >> 8), LinearOfByte(colour >> 16)});
}

bool EntryToLab(const SwatchEntry& entry, Lab* out) {
    return Convert(
        entry, out, SrgbToLab, [](const Lab& lab) { return lab; },
        [](const Encoded& e) {
            return LinearToLab({Linear(e.red), Linear(e.green), Linear(e.blue)});
        });
}

bool EntryToSrgb(const SwatchEntry& entry, COLORREF* out) {
    return Convert(
        entry, out, [](COLORREF colour) { return colour; }, LabToSrgb,
        [](const Encoded& e) { return Rounded(e.red, e.green, e.blue); });
}

COLORREF LabToSrgb(const Lab& colour) {
    const double fy = (colour.L + 16) / 116;
    const double fx = fy + colour.a / 500;
    const double fz = fy - colour.b / 200;
    const double y = colour.L > kKappa * kEpsilon ? fy * fy * fy : colour.L / kKappa;
    const Vector linear =
        Apply(kFromXyzD50, {InverseF(fx) * kD50.x, y * kD50.y, InverseF(fz) * kD50.z});
    return Rounded(Encode(linear.x), Encode(linear.y), Encode(linear.z));
}
