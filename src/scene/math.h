// Vector, matrix and quaternion math of the scene.
//
// Conventions kept everywhere on the CPU side:
//  - row vectors: p' = p * M, and applying A then B is A * B;
//  - left-handed view space, depth from 0 (near) to 1 (far);
//  - quaternions (x, y, z, w) compose as q2 * q1 when q1 is applied first;
//  - normalising the zero vector gives (0, 0, 1);
//  - angles are radians, colours are RGBA floats from 0 to 1.
#pragma once

#include <optional>

namespace morvanex {

struct Vec2 {
    float x = 0.0f, y = 0.0f;
};

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct Vec4 {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};

struct Quat {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
};

// Row-major 4x4 matrix; m[row][column]. Translation sits in row 3.
struct Mat4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// ---------------------------------------------------------------------------
// Constants and scalars

inline constexpr float kPi = 3.14159265358979323846f;
inline constexpr float kHalfPi = kPi * 0.5f;
inline constexpr float kTwoPi = kPi * 2.0f;

constexpr float radians(float deg) { return deg * (kPi / 180.0f); }
constexpr float degrees(float rad) { return rad * (180.0f / kPi); }
constexpr float lerp(float a, float b, float t) { return a + (b - a) * t; }

// ---------------------------------------------------------------------------
// Vec2

constexpr Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
constexpr Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
constexpr Vec2 operator-(Vec2 a) { return {-a.x, -a.y}; }
constexpr Vec2 operator*(Vec2 a, float s) { return {a.x * s, a.y * s}; }
constexpr Vec2 operator*(float s, Vec2 a) { return a * s; }
constexpr Vec2 operator/(Vec2 a, float s) { return {a.x / s, a.y / s}; }
constexpr Vec2& operator+=(Vec2& a, Vec2 b) { return a = a + b; }
constexpr Vec2& operator-=(Vec2& a, Vec2 b) { return a = a - b; }
constexpr Vec2& operator*=(Vec2& a, float s) { return a = a * s; }
constexpr Vec2& operator/=(Vec2& a, float s) { return a = a / s; }

constexpr float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
constexpr float lengthSquared(Vec2 a) { return dot(a, a); }
constexpr Vec2 lerp(Vec2 a, Vec2 b, float t) { return a + (b - a) * t; }
float length(Vec2 a);
float distance(Vec2 a, Vec2 b);

// ---------------------------------------------------------------------------
// Vec3

// Exact comparison, component by component.
constexpr bool operator==(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
constexpr Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
constexpr Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
constexpr Vec3 operator*(float s, Vec3 a) { return a * s; }
constexpr Vec3 operator/(Vec3 a, float s) { return {a.x / s, a.y / s, a.z / s}; }
constexpr Vec3& operator+=(Vec3& a, Vec3 b) { return a = a + b; }
constexpr Vec3& operator-=(Vec3& a, Vec3 b) { return a = a - b; }
constexpr Vec3& operator*=(Vec3& a, float s) { return a = a * s; }
constexpr Vec3& operator/=(Vec3& a, float s) { return a = a / s; }

// Component-wise helpers, mostly for scales and bounding boxes.
constexpr Vec3 componentMul(Vec3 a, Vec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
constexpr Vec3 componentMin(Vec3 a, Vec3 b) {
    return {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.z < b.z ? a.z : b.z};
}
constexpr Vec3 componentMax(Vec3 a, Vec3 b) {
    return {a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y, a.z > b.z ? a.z : b.z};
}

constexpr float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// Same formula in either handedness; in our left-handed space cross(x, y) = z
// points into the screen.
constexpr Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
constexpr float lengthSquared(Vec3 a) { return dot(a, a); }
constexpr Vec3 lerp(Vec3 a, Vec3 b, float t) { return a + (b - a) * t; }
float length(Vec3 a);
float distance(Vec3 a, Vec3 b);
// Unit vector along a; the zero vector gives (0, 0, 1) so callers always get
// a usable direction.
Vec3 normalize(Vec3 a);
// acos of the clamped dot product of the normalised vectors (so a zero vector
// counts as (0, 0, 1)); 0 when that is not a number (NaN or infinite input).
float angleBetween(Vec3 a, Vec3 b);

// ---------------------------------------------------------------------------
// Vec4

constexpr Vec4 operator+(Vec4 a, Vec4 b) { return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w}; }
constexpr Vec4 operator-(Vec4 a, Vec4 b) { return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w}; }
constexpr Vec4 operator-(Vec4 a) { return {-a.x, -a.y, -a.z, -a.w}; }
constexpr Vec4 operator*(Vec4 a, float s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
constexpr Vec4 operator*(float s, Vec4 a) { return a * s; }
constexpr Vec4 operator/(Vec4 a, float s) { return {a.x / s, a.y / s, a.z / s, a.w / s}; }
constexpr Vec4& operator+=(Vec4& a, Vec4 b) { return a = a + b; }
constexpr Vec4& operator-=(Vec4& a, Vec4 b) { return a = a - b; }
constexpr Vec4& operator*=(Vec4& a, float s) { return a = a * s; }
constexpr Vec4& operator/=(Vec4& a, float s) { return a = a / s; }

constexpr float dot(Vec4 a, Vec4 b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
constexpr float lengthSquared(Vec4 a) { return dot(a, a); }
constexpr Vec4 lerp(Vec4 a, Vec4 b, float t) { return a + (b - a) * t; }
float length(Vec4 a);
float distance(Vec4 a, Vec4 b);

// ---------------------------------------------------------------------------
// Mat4 (row vectors: p' = p * M; "A then B" is A * B)

constexpr Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}
constexpr Mat4& operator*=(Mat4& a, const Mat4& b) { return a = a * b; }

constexpr Mat4 identity() { return Mat4{}; }

constexpr Mat4 transpose(const Mat4& a) {
    Mat4 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) r.m[i][j] = a.m[j][i];
    }
    return r;
}

float determinant(const Mat4& a);
// General inverse. Empty when the matrix is singular, or so close to it that
// a float result would be noise (rows nearly dependent once their scales are
// balanced, so large translations and small scales are fine), or when the
// result would not be finite: a NaN-filled matrix never escapes unnoticed.
std::optional<Mat4> inverse(const Mat4& a);

Mat4 matrixTranslation(Vec3 t);
Mat4 matrixTranslation(float x, float y, float z);
Mat4 matrixScaling(Vec3 s);
Mat4 matrixScaling(float x, float y, float z);
Mat4 matrixScaling(float uniform);
// Rotations for row vectors in left-handed space: looking from the positive
// end of the axis towards the origin, a positive angle turns clockwise
// (rotationY(+90 deg) maps +x to -z).
Mat4 matrixRotationX(float angle);
Mat4 matrixRotationY(float angle);
Mat4 matrixRotationZ(float angle);
// The axis is normalised first (a zero axis therefore means +z).
Mat4 matrixRotationAxis(Vec3 axis, float angle);
// Rotation matrix of q (normalised first; the zero quaternion is identity).
Mat4 matrixFromQuat(Quat q);

// World-to-view matrix: the eye at the origin looking along +z, y up.
// at == eye looks along +z; an up parallel to the view direction is replaced
// by another world axis rather than producing a degenerate matrix.
Mat4 lookAtLH(Vec3 eye, Vec3 at, Vec3 up);
// View-to-clip projection: depth 0 at zNear, 1 at zFar, clip w = view z
// (m[2][3] = 1). Expects fovY in (0, pi), aspect > 0 and zNear != zFar.
Mat4 perspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// Orthographic projection of a width x height view volume centred on the
// view axis; depth 0 at zNear, 1 at zFar. Expects non-zero sizes and zNear != zFar.
Mat4 orthoLH(float width, float height, float zNear, float zFar);

// (p, 1) * m, divided by the resulting w unless w is 0 (a point at infinity,
// returned undivided) or exactly 1 (affine matrices, no division needed).
Vec3 transformPoint(Vec3 p, const Mat4& m);
// (v, 0) * m: directions ignore translation. For non-uniform scale transform
// surface normals with the inverse transpose instead.
Vec3 transformNormal(Vec3 v, const Mat4& m);
Vec4 transform(Vec4 v, const Mat4& m);

// ---------------------------------------------------------------------------
// Quat (x, y, z, w); w is the scalar part.

struct AxisAngle {
    Vec3 axis{0.0f, 0.0f, 1.0f};
    float angle = 0.0f;
};

constexpr float quatDot(Quat a, Quat b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }
constexpr Quat quatConjugate(Quat q) { return {-q.x, -q.y, -q.z, q.w}; }
// Plain Hamilton product a (x) b: rotating by the result applies b first,
// then a. Prefer quatThen when thinking in application order.
constexpr Quat quatMultiply(Quat a, Quat b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}
// The rotation "first, then second", i.e. second (x) first; matches the
// matrix product matrixFromQuat(first) * matrixFromQuat(second).
constexpr Quat quatThen(Quat first, Quat second) { return quatMultiply(second, first); }

// The axis is normalised first (a zero axis therefore means +z).
Quat quatFromAxisAngle(Vec3 axis, float angle);
// Unit axis and angle in [0, pi] (q and -q are the same rotation, so the
// shorter way round is reported). No rotation gives axis (0, 0, 1), angle 0.
AxisAngle quatToAxisAngle(Quat q);
// Unit quaternion; the zero quaternion gives the identity.
Quat quatNormalize(Quat q);
// Multiplicative inverse; the zero quaternion gives the identity.
Quat quatInverse(Quat q);
// Spherical interpolation along the shortest path, normalised; nearly equal
// inputs fall back to a normalised lerp where slerp loses precision.
Quat quatSlerp(Quat a, Quat b, float t);
// Rotation of the upper 3x3 of m. Row lengths are divided out, so positive
// scale applied before the rotation (S * R, as in scale-rotate-translate) is
// ignored; shear and mirroring are not recovered.
Quat quatFromMatrix(const Mat4& m);
// v rotated by q (normalised first); agrees with transformNormal(v, matrixFromQuat(q)).
Vec3 rotate(Vec3 v, Quat q);

// ---------------------------------------------------------------------------
// Cubic Bezier curves: p0 and p3 are the ends, h1 and h2 the handles.

constexpr Vec3 cubicBezier(Vec3 p0, Vec3 h1, Vec3 h2, Vec3 p3, float t) {
    const float u = 1.0f - t;
    return p0 * (u * u * u) + h1 * (3.0f * u * u * t) + h2 * (3.0f * u * t * t) + p3 * (t * t * t);
}
// Derivative with respect to t (the unnormalised tangent).
constexpr Vec3 cubicBezierTangent(Vec3 p0, Vec3 h1, Vec3 h2, Vec3 p3, float t) {
    const float u = 1.0f - t;
    return (h1 - p0) * (3.0f * u * u) + (h2 - h1) * (6.0f * u * t) + (p3 - h2) * (3.0f * t * t);
}

}  // namespace morvanex
