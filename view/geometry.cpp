#include "view/geometry.h"

#include <cmath>

#include "cadlib/WmCadApiDb.h"

namespace {
// 1e-5 and 0.001 until the settings give 10^-(digits + 1).
double g_eps = 1e-5;
double g_epsAngle = 0.001;
constexpr double kOnSegmentTolerance = 1e-8;
constexpr double kPi = 3.14159265358979323846;

bool Within(double v, double a, double b) { return v >= std::fmin(a, b) && v <= std::fmax(a, b); }
}  // namespace

double GetDrawingTolerance() { return g_eps; }
void SetDrawingTolerance(double tolerance) {
    if (std::isfinite(tolerance) && tolerance > 0) g_eps = tolerance;
}

double GetAngleTolerance() { return g_epsAngle; }

void SetGeometryTolerances(double distance, double angle) {
    SetDrawingTolerance(distance);
    if (std::isfinite(angle) && angle > 0) g_epsAngle = angle;
    DAriSetEps(g_eps, g_epsAngle);
}

int IsNotFinite(double value) { return std::isfinite(value) ? 0 : 1; }

int IntersectLines(double* out, const double* p1, const double* p2, const double* p3, const double* p4) {
    const double eps = g_eps;
    const bool v1 = std::fabs(p1[0] - p2[0]) <= eps, h1 = std::fabs(p1[1] - p2[1]) <= eps;
    const bool v2 = std::fabs(p3[0] - p4[0]) <= eps, h2 = std::fabs(p3[1] - p4[1]) <= eps;
    const double m1 = v1 ? 0 : (p2[1] - p1[1]) / (p2[0] - p1[0]), k1 = p1[1] - m1 * p1[0];
    const double m2 = v2 ? 0 : (p4[1] - p3[1]) / (p4[0] - p3[0]), k2 = p3[1] - m2 * p3[0];
    double x, y;
    if (v1) {
        if (v2) return 0;
        x = p1[0];
        y = h2 ? p3[1] : k2 + m2 * p1[0];
    } else if (h1) {
        if (h2) return 0;
        y = p1[1];
        x = v2 ? p3[0] : (p1[1] - k2) / m2;
    } else if (v2) {
        x = p3[0];
        y = k1 + m1 * p3[0];
    } else if (h2) {
        y = p3[1];
        x = (p3[1] - k1) / m1;
    } else {
        if (std::fabs(m1 - m2) < eps) return 0;
        x = (k2 - k1) / (m1 - m2);
        y = k1 + m1 * x;
    }
    out[0] = x;
    out[1] = y;
    return 1;
}

int IntersectLineCircle(double* out1, double* out2, const double* a, const double* b, const double* c, double r) {
    const double eps = g_eps;
    double x1, y1, x2, y2;
    bool byX = false;  // which range of the segment decides
    if (std::fabs(a[0] - b[0]) <= eps) {
        const double xa = a[0];
        if (xa < c[0] - r || xa > c[0] + r) return 0;
        if (std::fabs(xa - (c[0] - r)) <= eps || std::fabs(xa - (c[0] + r)) <= eps) {
            out1[0] = out2[0] = xa;
            out1[1] = out2[1] = c[1];
            return Within(c[1], a[1], b[1]) ? 1 : 0;
        }
        double d = std::sqrt(r * r - (xa - c[0]) * (xa - c[0]));
        x1 = x2 = xa;
        y1 = c[1] + d;
        y2 = c[1] - d;
    } else if (std::fabs(a[1] - b[1]) <= eps) {
        byX = true;
        const double ya = a[1];
        if (ya < c[1] - r || ya > c[1] + r) return 0;
        if (std::fabs(ya - (c[1] - r)) <= eps || std::fabs(ya - (c[1] + r)) <= eps) {
            out1[0] = out2[0] = c[0];
            out1[1] = out2[1] = ya;
            return Within(c[0], a[0], b[0]) ? 1 : 0;
        }
        double d = std::sqrt(r * r - (ya - c[1]) * (ya - c[1]));
        y1 = y2 = ya;
        x1 = c[0] + d;
        x2 = c[0] - d;
    } else {
        const double m = (b[1] - a[1]) / (b[0] - a[0]), k = a[1] - m * a[0];
        const double A = m * m + 1, B = 2 * (m * (k - c[1]) - c[0]);
        const double C = (k - c[1]) * (k - c[1]) + c[0] * c[0] - r * r;
        const double disc = B * B - 4 * A * C;
        if (disc < 0) return 0;
        if (disc <= eps) {
            double x = -B / (2 * A);
            out1[0] = out2[0] = x;
            out1[1] = out2[1] = m * x + k;
            return Within(out1[1], a[1], b[1]) ? 1 : 0;
        }
        const double s = std::sqrt(disc);
        x1 = (-B + s) / (2 * A);
        x2 = (-B - s) / (2 * A);
        y1 = m * x1 + k;
        y2 = m * x2 + k;
    }
    const bool in1 = byX ? Within(x1, a[0], b[0]) : Within(y1, a[1], b[1]);
    const bool in2 = byX ? Within(x2, a[0], b[0]) : Within(y2, a[1], b[1]);
    out1[0] = x1;
    out1[1] = y1;
    out2[0] = x2;
    out2[1] = y2;
    if (in1) return in2 ? 2 : 1;
    if (in2) {
        out1[0] = x2;
        out1[1] = y2;
        return 1;
    }
    return 0;
}

double PointDistance(const double* a, const double* b) {
    const double dx = a[0] - b[0], dy = a[1] - b[1];
    return std::sqrt(dx * dx + dy * dy);
}

int IsPointOnSegment(const double* p, const double* a, const double* b) {
    double sum = PointDistance(p, a) + PointDistance(p, b) - PointDistance(a, b);
    return std::fabs(sum) <= kOnSegmentTolerance ? 1 : 0;
}

void RotatePoint2D(double* p, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double x = p[0] * c - p[1] * s, y = p[0] * s + p[1] * c;
    p[0] = x;
    p[1] = y;
}

double SafeAtan2(double y, double x) {
    if (x == 0 && y == 0) return 0;
    double r = std::atan2(y, x);
    return std::isfinite(r) ? r : 0;
}

double VectorAngle(double y, double x) {
    if (x == 0 && y == 0) return 0;
    if (std::fabs(x) < g_eps) return y < 0 ? -kPi / 2 : kPi / 2;
    if (std::fabs(y) < g_eps) return x < 0 ? kPi : 0;
    double r = std::atan2(y, x);
    return std::isfinite(r) ? r : 0;
}

void TransformPointAffine(double* x, double* y, const double* t) {
    const double dx = *x - t[5], dy = *y - t[6];
    const double nx = (dy * t[2] + dx * t[1]) * t[9] + t[7];
    const double ny = (dy * t[4] + dx * t[3]) * t[10] + t[8];
    *x = nx;
    *y = ny;
}

void ScaleValue(double* value, const double* factor) { *value *= *factor; }
