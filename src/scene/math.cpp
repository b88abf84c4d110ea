#include "scene/math.h"

#include <algorithm>
#include <cmath>

namespace morvanex {

namespace {

// Lengths are summed in double so tiny vectors do not underflow to zero and
// huge ones do not overflow to infinity before the square root.
double lengthD(double x, double y, double z, double w = 0.0) {
    return std::sqrt(x * x + y * y + z * z + w * w);
}

float divided(float v, double by) { return static_cast<float>(static_cast<double>(v) / by); }

// Below this volume of the unit-length rows (after balancing row and column
// scales) a matrix is treated as singular. Float rounding leaves a
// rank-deficient matrix around 1e-7, and inverting such noise only gives
// huge meaningless entries.
constexpr double kSingularTolerance = 1e-6;

// Squared sine of the angle between up and forward below which lookAtLH
// picks another up axis.
constexpr float kParallelTolerance = 1e-12f;

// Quaternions this close (cosine of half the angle between them) are
// interpolated linearly; slerp's 1 / sin(theta) loses precision there.
constexpr float kSlerpLinearThreshold = 0.9995f;

Mat4 rows3(Vec3 r0, Vec3 r1, Vec3 r2) {
    Mat4 r;
    r.m[0][0] = r0.x; r.m[0][1] = r0.y; r.m[0][2] = r0.z;
    r.m[1][0] = r1.x; r.m[1][1] = r1.y; r.m[1][2] = r1.z;
    r.m[2][0] = r2.x; r.m[2][1] = r2.y; r.m[2][2] = r2.z;
    return r;
}

// Cofactor expansion in double; returns the determinant and fills adj with
// the adjugate (transposed cofactors), so the inverse is adj / det.
double adjugate(const Mat4& src, double adj[4][4]) {
    double a[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) a[i][j] = src.m[i][j];
    }
    // 2x2 minors of the top two rows (s) and the bottom two rows (c).
    const double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];

    adj[0][0] = a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3;
    adj[0][1] = -a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3;
    adj[0][2] = a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3;
    adj[0][3] = -a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3;
    adj[1][0] = -a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1;
    adj[1][1] = a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1;
    adj[1][2] = -a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1;
    adj[1][3] = a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1;
    adj[2][0] = a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0;
    adj[2][1] = -a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0;
    adj[2][2] = a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0;
    adj[2][3] = -a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0;
    adj[3][0] = -a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0;
    adj[3][1] = a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0;
    adj[3][2] = -a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0;
    adj[3][3] = a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0;

    return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
}

// Whether det (the determinant of a) is negligible for a's shape. Rows and
// then columns are scaled to unit length first: scaling only multiplies the
// determinant, and it keeps a large translation row or a tiny scale from
// looking like dependence. What remains is compared with the most the
// determinant could be (Hadamard: the product of the row lengths).
bool nearlySingular(const Mat4& src, double det) {
    double a[4][4];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) a[i][j] = src.m[i][j];
    }
    double scaled = std::abs(det);
    for (auto& row : a) {
        const double n = lengthD(row[0], row[1], row[2], row[3]);
        if (n == 0.0) return true;
        for (double& v : row) v /= n;
        scaled /= n;
    }
    for (int j = 0; j < 4; ++j) {
        const double n = lengthD(a[0][j], a[1][j], a[2][j], a[3][j]);
        if (n == 0.0) return true;
        for (auto& row : a) row[j] /= n;
        scaled /= n;
    }
    double bound = 1.0;
    for (const auto& row : a) bound *= lengthD(row[0], row[1], row[2], row[3]);
    return scaled <= kSingularTolerance * bound;
}

}  // namespace

// ---------------------------------------------------------------------------
// Vectors

float length(Vec2 a) { return static_cast<float>(lengthD(a.x, a.y, 0.0)); }
float distance(Vec2 a, Vec2 b) { return length(a - b); }

float length(Vec3 a) { return static_cast<float>(lengthD(a.x, a.y, a.z)); }
float distance(Vec3 a, Vec3 b) { return length(a - b); }

Vec3 normalize(Vec3 a) {
    const double len = lengthD(a.x, a.y, a.z);
    if (len == 0.0) return {0.0f, 0.0f, 1.0f};
    return {divided(a.x, len), divided(a.y, len), divided(a.z, len)};
}

float angleBetween(Vec3 a, Vec3 b) {
    const float d = std::clamp(dot(normalize(a), normalize(b)), -1.0f, 1.0f);
    const float angle = std::acos(d);
    return std::isnan(angle) ? 0.0f : angle;
}

float length(Vec4 a) { return static_cast<float>(lengthD(a.x, a.y, a.z, a.w)); }
float distance(Vec4 a, Vec4 b) { return length(a - b); }

// ---------------------------------------------------------------------------
// Matrices

float determinant(const Mat4& a) {
    double adj[4][4];
    return static_cast<float>(adjugate(a, adj));
}

std::optional<Mat4> inverse(const Mat4& a) {
    double adj[4][4];
    const double det = adjugate(a, adj);
    if (det == 0.0 || !std::isfinite(det) || nearlySingular(a, det)) return std::nullopt;

    Mat4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float v = static_cast<float>(adj[i][j] / det);
            if (!std::isfinite(v)) return std::nullopt;
            r.m[i][j] = v;
        }
    }
    return r;
}

Mat4 matrixTranslation(Vec3 t) {
    Mat4 r;
    r.m[3][0] = t.x;
    r.m[3][1] = t.y;
    r.m[3][2] = t.z;
    return r;
}

Mat4 matrixTranslation(float x, float y, float z) { return matrixTranslation(Vec3{x, y, z}); }

Mat4 matrixScaling(Vec3 s) {
    Mat4 r;
    r.m[0][0] = s.x;
    r.m[1][1] = s.y;
    r.m[2][2] = s.z;
    return r;
}

Mat4 matrixScaling(float x, float y, float z) { return matrixScaling(Vec3{x, y, z}); }
Mat4 matrixScaling(float uniform) { return matrixScaling(Vec3{uniform, uniform, uniform}); }

Mat4 matrixRotationX(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return rows3({1, 0, 0}, {0, c, s}, {0, -s, c});
}

Mat4 matrixRotationY(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return rows3({c, 0, -s}, {0, 1, 0}, {s, 0, c});
}

Mat4 matrixRotationZ(float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return rows3({c, s, 0}, {-s, c, 0}, {0, 0, 1});
}

Mat4 matrixRotationAxis(Vec3 axis, float angle) {
    const Vec3 n = normalize(axis);
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    // Rodrigues' formula, transposed for row vectors: c*I + t*n*n^T - s*[n]x.
    return rows3({t * n.x * n.x + c, t * n.x * n.y + s * n.z, t * n.x * n.z - s * n.y},
                 {t * n.x * n.y - s * n.z, t * n.y * n.y + c, t * n.y * n.z + s * n.x},
                 {t * n.x * n.z + s * n.y, t * n.y * n.z - s * n.x, t * n.z * n.z + c});
}

Mat4 matrixFromQuat(Quat q) {
    const Quat u = quatNormalize(q);
    const float x = u.x, y = u.y, z = u.z, w = u.w;
    return rows3({1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w)},
                 {2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w)},
                 {2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y)});
}

Mat4 lookAtLH(Vec3 eye, Vec3 at, Vec3 up) {
    const Vec3 zAxis = normalize(at - eye);
    Vec3 side = cross(normalize(up), zAxis);
    if (lengthSquared(side) < kParallelTolerance) {
        // Looking straight along up (top views): +z as up keeps +x on the right.
        const Vec3 fallback = std::abs(zAxis.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
        side = cross(fallback, zAxis);
    }
    const Vec3 xAxis = normalize(side);
    const Vec3 yAxis = cross(zAxis, xAxis);

    Mat4 r = transpose(rows3(xAxis, yAxis, zAxis));
    r.m[3][0] = -dot(xAxis, eye);
    r.m[3][1] = -dot(yAxis, eye);
    r.m[3][2] = -dot(zAxis, eye);
    return r;
}

Mat4 perspectiveFovLH(float fovY, float aspect, float zNear, float zFar) {
    const float yScale = 1.0f / std::tan(fovY * 0.5f);
    const float xScale = yScale / aspect;
    const float range = zFar / (zFar - zNear);
    Mat4 r;
    r.m[0][0] = xScale;
    r.m[1][1] = yScale;
    r.m[2][2] = range;
    r.m[2][3] = 1.0f;
    r.m[3][2] = -zNear * range;
    r.m[3][3] = 0.0f;
    return r;
}

Mat4 orthoLH(float width, float height, float zNear, float zFar) {
    const float range = 1.0f / (zFar - zNear);
    Mat4 r;
    r.m[0][0] = 2.0f / width;
    r.m[1][1] = 2.0f / height;
    r.m[2][2] = range;
    r.m[3][2] = -zNear * range;
    return r;
}

Vec4 transform(Vec4 v, const Mat4& m) {
    Vec4 r;
    r.x = v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0] + v.w * m.m[3][0];
    r.y = v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1] + v.w * m.m[3][1];
    r.z = v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2] + v.w * m.m[3][2];
    r.w = v.x * m.m[0][3] + v.y * m.m[1][3] + v.z * m.m[2][3] + v.w * m.m[3][3];
    return r;
}

Vec3 transformPoint(Vec3 p, const Mat4& m) {
    const Vec4 r = transform(Vec4{p.x, p.y, p.z, 1.0f}, m);
    if (r.w != 0.0f && r.w != 1.0f) return {r.x / r.w, r.y / r.w, r.z / r.w};
    return {r.x, r.y, r.z};
}

Vec3 transformNormal(Vec3 v, const Mat4& m) {
    const Vec4 r = transform(Vec4{v.x, v.y, v.z, 0.0f}, m);
    return {r.x, r.y, r.z};
}

// ---------------------------------------------------------------------------
// Quaternions

Quat quatFromAxisAngle(Vec3 axis, float angle) {
    const Vec3 n = normalize(axis);
    const float s = std::sin(angle * 0.5f);
    return {n.x * s, n.y * s, n.z * s, std::cos(angle * 0.5f)};
}

AxisAngle quatToAxisAngle(Quat q) {
    Quat u = quatNormalize(q);
    if (u.w < 0.0f) u = {-u.x, -u.y, -u.z, -u.w};
    const Vec3 v{u.x, u.y, u.z};
    // atan2 of the vector length stays accurate for small angles where
    // acos(w) would not.
    return {normalize(v), 2.0f * std::atan2(length(v), u.w)};
}

Quat quatNormalize(Quat q) {
    const double len = lengthD(q.x, q.y, q.z, q.w);
    if (len == 0.0) return Quat{};
    return {divided(q.x, len), divided(q.y, len), divided(q.z, len), divided(q.w, len)};
}

Quat quatInverse(Quat q) {
    const float n = quatDot(q, q);
    if (n == 0.0f) return Quat{};
    const Quat c = quatConjugate(q);
    return {c.x / n, c.y / n, c.z / n, c.w / n};
}

Quat quatSlerp(Quat a, Quat b, float t) {
    a = quatNormalize(a);
    b = quatNormalize(b);
    float d = quatDot(a, b);
    if (d < 0.0f) {
        // q and -q are the same rotation; flipping takes the short way round.
        b = {-b.x, -b.y, -b.z, -b.w};
        d = -d;
    }
    float wa = 1.0f - t, wb = t;
    if (d < kSlerpLinearThreshold) {
        const float theta = std::acos(d);
        const float s = std::sin(theta);
        wa = std::sin((1.0f - t) * theta) / s;
        wb = std::sin(t * theta) / s;
    }
    return quatNormalize(
        {a.x * wa + b.x * wb, a.y * wa + b.y * wb, a.z * wa + b.z * wb, a.w * wa + b.w * wb});
}

Quat quatFromMatrix(const Mat4& m) {
    const Vec3 r0 = normalize({m.m[0][0], m.m[0][1], m.m[0][2]});
    const Vec3 r1 = normalize({m.m[1][0], m.m[1][1], m.m[1][2]});
    const Vec3 r2 = normalize({m.m[2][0], m.m[2][1], m.m[2][2]});
    // Our matrices are the transpose of the column-vector rotation, hence the
    // swapped index pairs in the antisymmetric terms. Pick the largest of
    // w, x, y, z to divide by, for stability.
    const float trace = r0.x + r1.y + r2.z;
    Quat q;
    if (trace > 0.0f) {
        const float s = 2.0f * std::sqrt(trace + 1.0f);
        q = {(r1.z - r2.y) / s, (r2.x - r0.z) / s, (r0.y - r1.x) / s, 0.25f * s};
    } else if (r0.x > r1.y && r0.x > r2.z) {
        const float s = 2.0f * std::sqrt(1.0f + r0.x - r1.y - r2.z);
        q = {0.25f * s, (r0.y + r1.x) / s, (r0.z + r2.x) / s, (r1.z - r2.y) / s};
    } else if (r1.y > r2.z) {
        const float s = 2.0f * std::sqrt(1.0f + r1.y - r0.x - r2.z);
        q = {(r0.y + r1.x) / s, 0.25f * s, (r1.z + r2.y) / s, (r2.x - r0.z) / s};
    } else {
        const float s = 2.0f * std::sqrt(1.0f + r2.z - r0.x - r1.y);
        q = {(r0.z + r2.x) / s, (r1.z + r2.y) / s, 0.25f * s, (r0.y - r1.x) / s};
    }
    return quatNormalize(q);
}

Vec3 rotate(Vec3 v, Quat q) {
    const Quat n = quatNormalize(q);
    const Vec3 u{n.x, n.y, n.z};
    // q v q* expanded for a unit q.
    const Vec3 t = cross(u, v) * 2.0f;
    return v + t * n.w + cross(u, t);
}

}  // namespace morvanex
