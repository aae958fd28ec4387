#include "swatch/match/ciede2000.h"

#include <cfloat>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180;
constexpr double kPow25To7 = 6103515625.0;  // 25^7

double Seventh(double c) {
    const double c2 = c * c;
    return c2 * c2 * c2 * c;
}

double ToDouble(double value) {
#if FLT_EVAL_METHOD != 0
    // x87 registers hold more bits than a double, and whether a value keeps them depends on
    // where the compiler spills it: stored through memory, it is a double. Applied to every
    // value a branch or an exact zero depends on, so that the x87 build gives what the others
    // give (identical colours 0, the published pairs at the 180 degree boundary).
    volatile double stored = value;
    return stored;
#else
    return value;
#endif
}

// Hue angle in degrees, 0 to 360; 0 for a neutral colour.
double Hue(double b, double aPrime) {
    if (b == 0 && aPrime == 0) {
        return 0;
    }
    const double h = ToDouble(std::atan2(b, aPrime) / kDegree);
    return h < 0 ? ToDouble(h + 360) : h;
}

}  // namespace

double Ciede2000(const Lab& x, const Lab& y) {
    const double c1 = ToDouble(std::sqrt(x.a * x.a + x.b * x.b));
    const double c2 = ToDouble(std::sqrt(y.a * y.a + y.b * y.b));
    const double cMean7 = Seventh((c1 + c2) / 2);
    const double g = ToDouble(0.5 * (1 - std::sqrt(cMean7 / (cMean7 + kPow25To7))));
    const double a1 = ToDouble((1 + g) * x.a);
    const double a2 = ToDouble((1 + g) * y.a);
    const double c1Prime = ToDouble(std::sqrt(a1 * a1 + x.b * x.b));
    const double c2Prime = ToDouble(std::sqrt(a2 * a2 + y.b * y.b));
    const double h1 = Hue(x.b, a1);
    const double h2 = Hue(y.b, a2);
    const bool neutral = c1Prime * c2Prime == 0;

    const double deltaL = ToDouble(y.L - x.L);
    const double deltaC = ToDouble(c2Prime - c1Prime);
    // Hues exactly opposite, as in published pairs 13 and 14, are exactly 180 degrees apart:
    // their angles, each rounded, may land either side of it, which flips the sign of dH' and
    // the mean hue. The cross product of exactly opposite vectors is exactly 0.
    const bool opposite = !neutral && a1 * y.b - a2 * x.b == 0 && a1 * a2 + x.b * y.b < 0;
    double deltaH = 0;
    double hMean = ToDouble(h1 + h2);
    if (opposite) {
        deltaH = h1 < 180 ? 180 : -180;
        hMean = h1 < 180 ? ToDouble(h1 + 90) : ToDouble(h1 - 90);
    } else if (!neutral) {
        deltaH = ToDouble(h2 - h1);
        if (deltaH > 180) {
            deltaH = ToDouble(deltaH - 360);
        } else if (deltaH < -180) {
            deltaH = ToDouble(deltaH + 360);
        }
        if (std::fabs(ToDouble(h1 - h2)) <= 180) {
            hMean /= 2;
        } else {
            hMean = hMean < 360 ? (hMean + 360) / 2 : (hMean - 360) / 2;
        }
    }
    const double deltaBigH = 2 * std::sqrt(c1Prime * c2Prime) * std::sin(deltaH / 2 * kDegree);

    const double lMean = (x.L + y.L) / 2;
    const double cPrimeMean = (c1Prime + c2Prime) / 2;
    const double t =
        1 - 0.17 * std::cos((hMean - 30) * kDegree) + 0.24 * std::cos(2 * hMean * kDegree) +
        0.32 * std::cos((3 * hMean + 6) * kDegree) - 0.20 * std::cos((4 * hMean - 63) * kDegree);
    const double hOff = (hMean - 275) / 25;
    const double deltaTheta = 30 * std::exp(-hOff * hOff);
    const double cPrimeMean7 = Seventh(cPrimeMean);
    const double rc = 2 * std::sqrt(cPrimeMean7 / (cPrimeMean7 + kPow25To7));
    const double lOff2 = (lMean - 50) * (lMean - 50);
    const double sl = 1 + 0.015 * lOff2 / std::sqrt(20 + lOff2);
    const double sc = 1 + 0.045 * cPrimeMean;
    const double sh = 1 + 0.015 * cPrimeMean * t;
    const double rt = -std::sin(2 * deltaTheta * kDegree) * rc;

    const double lTerm = deltaL / sl;
    const double cTerm = deltaC / sc;
    const double hTerm = deltaBigH / sh;
    return ToDouble(std::sqrt(lTerm * lTerm + cTerm * cTerm + hTerm * hTerm + rt * cTerm * hTerm));
}
