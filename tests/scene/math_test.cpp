#include "scene/math.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace morvanex {
namespace {

constexpr float kEps = 1e-5f;

::testing::AssertionResult vecNear(Vec3 a, Vec3 b, float eps = kEps) {
    if (std::abs(a.x - b.x) <= eps && std::abs(a.y - b.y) <= eps && std::abs(a.z - b.z) <= eps)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") vs ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

::testing::AssertionResult matNear(const Mat4& a, const Mat4& b, float eps = kEps) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (!(std::abs(a.m[i][j] - b.m[i][j]) <= eps))
                return ::testing::AssertionFailure() << "m[" << i << "][" << j << "]: " << a.m[i][j]
                                                     << " vs " << b.m[i][j];
        }
    }
    return ::testing::AssertionSuccess();
}

// q and -q are the same rotation.
::testing::AssertionResult sameRotation(Quat a, Quat b, float eps = kEps) {
    const float d = std::abs(quatDot(quatNormalize(a), quatNormalize(b)));
    if (std::abs(d - 1.0f) <= eps) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ", " << a.w
                                         << ") vs (" << b.x << ", " << b.y << ", " << b.z << ", "
                                         << b.w << ")";
}

bool allFinite(const Mat4& a) {
    for (const auto& row : a.m)
        for (float v : row)
            if (!std::isfinite(v)) return false;
    return true;
}

const Vec3 kX{1, 0, 0};
const Vec3 kY{0, 1, 0};
const Vec3 kZ{0, 0, 1};

// A handful of axes and angles that avoid special values.
struct AxisAngleCase {
    Vec3 axis;
    float angle;
};
const std::vector<AxisAngleCase> kRotations = {
    {{1, 0, 0}, 0.7f}, {{0, 1, 0}, -1.3f}, {{0, 0, 1}, 2.9f},
    {{1, 2, 3}, 0.4f}, {{-2, 0.5f, 1}, 3.0f}, {{0.3f, -0.8f, 0.1f}, 5.5f},
};

// ---------------------------------------------------------------------------

TEST(MathScalars, AngleUnitsAndConstants) {
    EXPECT_FLOAT_EQ(radians(180.0f), kPi);
    EXPECT_FLOAT_EQ(radians(90.0f), kHalfPi);
    EXPECT_FLOAT_EQ(radians(360.0f), kTwoPi);
    EXPECT_FLOAT_EQ(degrees(kHalfPi), 90.0f);
    EXPECT_NEAR(std::cos(kPi), -1.0f, 1e-7f);
    EXPECT_FLOAT_EQ(lerp(2.0f, 6.0f, 0.25f), 3.0f);
}

// ---------------------------------------------------------------------------

TEST(MathVectors, Arithmetic) {
    const Vec3 a{1, 2, 3}, b{4, -5, 6};
    EXPECT_TRUE(vecNear(a + b, {5, -3, 9}));
    EXPECT_TRUE(vecNear(a - b, {-3, 7, -3}));
    EXPECT_TRUE(vecNear(-a, {-1, -2, -3}));
    EXPECT_TRUE(vecNear(a * 2.0f, {2, 4, 6}));
    EXPECT_TRUE(vecNear(2.0f * a, {2, 4, 6}));
    EXPECT_TRUE(vecNear(b / 2.0f, {2, -2.5f, 3}));
    Vec3 c = a;
    c += b;
    c -= Vec3{1, 1, 1};
    c *= 2.0f;
    c /= 4.0f;
    EXPECT_TRUE(vecNear(c, {2, -2, 4}));

    const Vec2 p{1, 2}, q{3, 5};
    const Vec2 s = (q - p) * 2.0f + -p;
    EXPECT_FLOAT_EQ(s.x, 3.0f);
    EXPECT_FLOAT_EQ(s.y, 4.0f);

    const Vec4 u{1, 2, 3, 4}, v{4, 3, 2, 1};
    const Vec4 w = (u + v) / 5.0f - u * 0.0f;
    EXPECT_FLOAT_EQ(w.x, 1.0f);
    EXPECT_FLOAT_EQ(w.w, 1.0f);
    EXPECT_FLOAT_EQ(dot(u, v), 20.0f);
}

TEST(MathVectors, ComponentHelpers) {
    const Vec3 a{1, -2, 3}, b{-1, 4, 2};
    EXPECT_TRUE(vecNear(componentMul(a, b), {-1, -8, 6}));
    EXPECT_TRUE(vecNear(componentMin(a, b), {-1, -2, 2}));
    EXPECT_TRUE(vecNear(componentMax(a, b), {1, 4, 3}));
}

TEST(MathVectors, CrossFollowsLeftHandedAxes) {
    // x right, y up: their cross product points forward, into the screen.
    EXPECT_TRUE(vecNear(cross(kX, kY), kZ));
    EXPECT_TRUE(vecNear(cross(kY, kZ), kX));
    EXPECT_TRUE(vecNear(cross(kZ, kX), kY));
    EXPECT_TRUE(vecNear(cross(kY, kX), -kZ));
    const Vec3 a{1, 2, 3}, b{-4, 0.5f, 2};
    const Vec3 c = cross(a, b);
    EXPECT_NEAR(dot(c, a), 0.0f, kEps);
    EXPECT_NEAR(dot(c, b), 0.0f, kEps);
    EXPECT_TRUE(vecNear(cross(a, a), {0, 0, 0}));
}

TEST(MathVectors, LengthAndDistance) {
    EXPECT_FLOAT_EQ(length(Vec3{3, 4, 0}), 5.0f);
    EXPECT_FLOAT_EQ(lengthSquared(Vec3{3, 4, 0}), 25.0f);
    EXPECT_FLOAT_EQ(length(Vec2{-3, 4}), 5.0f);
    EXPECT_FLOAT_EQ(length(Vec4{1, 1, 1, 1}), 2.0f);
    EXPECT_FLOAT_EQ(distance(Vec3{1, 1, 1}, Vec3{3, 3, 2}), 3.0f);
    EXPECT_FLOAT_EQ(distance(Vec2{1, 1}, Vec2{4, 5}), 5.0f);
    EXPECT_FLOAT_EQ(distance(Vec4{0, 0, 0, 1}, Vec4{0, 0, 0, -1}), 2.0f);
}

TEST(MathVectors, LengthOfExtremeMagnitudesStaysExact) {
    // Squaring these in float would underflow to 0 or overflow to infinity.
    EXPECT_FLOAT_EQ(length(Vec3{3e-30f, 4e-30f, 0}), 5e-30f);
    EXPECT_FLOAT_EQ(length(Vec3{3e30f, 4e30f, 0}), 5e30f);
}

TEST(MathVectors, NormalizeGivesUnitLength) {
    EXPECT_TRUE(vecNear(normalize(Vec3{0, -7, 0}), {0, -1, 0}));
    const Vec3 n = normalize(Vec3{1, 2, -3});
    EXPECT_NEAR(length(n), 1.0f, kEps);
    EXPECT_NEAR(angleBetween(n, Vec3{1, 2, -3}), 0.0f, 1e-3f);
}

TEST(MathVectors, NormalizeZeroGivesForward) {
    EXPECT_TRUE(vecNear(normalize(Vec3{0, 0, 0}), {0, 0, 1}, 0.0f));
    EXPECT_TRUE(vecNear(normalize(Vec3{-0.0f, 0, -0.0f}), {0, 0, 1}, 0.0f));
}

TEST(MathVectors, NormalizeTinyVectorIsNotZero) {
    // A tiny but non-zero vector still has a direction of its own.
    EXPECT_TRUE(vecNear(normalize(Vec3{-1e-30f, 0, 0}), {-1, 0, 0}));
    EXPECT_TRUE(vecNear(normalize(Vec3{0, 1e30f, 1e30f}), {0, std::sqrt(0.5f), std::sqrt(0.5f)}));
}

TEST(MathVectors, Lerp) {
    const Vec3 a{0, 10, -2}, b{4, 20, 2};
    EXPECT_TRUE(vecNear(lerp(a, b, 0.0f), a));
    EXPECT_TRUE(vecNear(lerp(a, b, 1.0f), b));
    EXPECT_TRUE(vecNear(lerp(a, b, 0.25f), {1, 12.5f, -1}));
    const Vec2 m = lerp(Vec2{0, 0}, Vec2{2, -4}, 0.5f);
    EXPECT_FLOAT_EQ(m.x, 1.0f);
    EXPECT_FLOAT_EQ(m.y, -2.0f);
    EXPECT_FLOAT_EQ(lerp(Vec4{0, 0, 0, 0}, Vec4{0, 0, 0, 8}, 0.75f).w, 6.0f);
}

TEST(MathVectors, AngleBetweenParallelIsZero) {
    EXPECT_FLOAT_EQ(angleBetween(Vec3{1, 2, 3}, Vec3{2, 4, 6}), 0.0f);
    // Rounding can push the dot of a unit vector with itself past 1; the clamp
    // keeps acos from returning NaN there.
    for (const Vec3 v : {Vec3{1, 1, 1}, Vec3{0.1f, 0.7f, -0.3f}, Vec3{1e-3f, 5, 1e3f}}) {
        const float a = angleBetween(v, v);
        EXPECT_FALSE(std::isnan(a));
        EXPECT_NEAR(a, 0.0f, 1e-3f);
    }
}

TEST(MathVectors, AngleBetweenOppositeIsPi) {
    EXPECT_NEAR(angleBetween(Vec3{1, 2, 3}, Vec3{-0.5f, -1, -1.5f}), kPi, 1e-3f);
    EXPECT_NEAR(angleBetween(kY, -kY), kPi, 1e-6f);
}

TEST(MathVectors, AngleBetweenPerpendicularAndOblique) {
    EXPECT_NEAR(angleBetween(kX, Vec3{0, 5, 0}), kHalfPi, 1e-6f);
    EXPECT_NEAR(angleBetween(Vec3{1, 2, 0}, Vec3{-2, 1, 7}), kHalfPi, 1e-6f);
    EXPECT_NEAR(angleBetween(kX, Vec3{1, 1, 0}), kPi / 4.0f, 1e-6f);
    EXPECT_NEAR(angleBetween(kX, Vec3{-1, 1, 0}), 3.0f * kPi / 4.0f, 1e-6f);
}

TEST(MathVectors, AngleBetweenZeroVectorUsesForward) {
    // The zero vector normalises to +z, so it is measured as +z.
    const Vec3 zero{0, 0, 0};
    EXPECT_FLOAT_EQ(angleBetween(zero, zero), 0.0f);
    EXPECT_FLOAT_EQ(angleBetween(zero, Vec3{0, 0, 3}), 0.0f);
    EXPECT_NEAR(angleBetween(zero, kX), kHalfPi, 1e-6f);
    EXPECT_NEAR(angleBetween(Vec3{0, 0, -2}, zero), kPi, 1e-6f);
}

TEST(MathVectors, AngleBetweenNotANumberGivesZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(angleBetween(Vec3{nan, 0, 0}, kX), 0.0f);
    EXPECT_EQ(angleBetween(kY, Vec3{0, nan, 1}), 0.0f);
    EXPECT_EQ(angleBetween(Vec3{inf, 0, 0}, kX), 0.0f);
}

// ---------------------------------------------------------------------------

TEST(MathMatrices, DefaultIsIdentity) {
    const Mat4 a;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_EQ(a.m[i][j], i == j ? 1.0f : 0.0f);
    EXPECT_TRUE(matNear(identity(), a, 0.0f));
    const Mat4 r = matrixRotationAxis({1, 2, 3}, 0.5f) * matrixTranslation(1, 2, 3);
    EXPECT_TRUE(matNear(r * identity(), r, 0.0f));
    EXPECT_TRUE(matNear(identity() * r, r, 0.0f));
}

TEST(MathMatrices, ProductKnownValue) {
    Mat4 a, b;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            a.m[i][j] = static_cast<float>(i * 4 + j);
            b.m[i][j] = (i == j) ? 2.0f : (j == 0 ? 1.0f : 0.0f);
        }
    }
    // Column 0 of b sums every entry of a row plus the diagonal 2 term.
    const Mat4 c = a * b;
    EXPECT_FLOAT_EQ(c.m[1][0], 4 * 2 + 5 + 6 + 7);
    EXPECT_FLOAT_EQ(c.m[1][1], 5 * 2);
    EXPECT_FLOAT_EQ(c.m[3][3], 15 * 2);
    Mat4 d = a;
    d *= b;
    EXPECT_TRUE(matNear(d, c, 0.0f));
}

TEST(MathMatrices, TranslationLivesInRowThree) {
    const Mat4 t = matrixTranslation({5, -6, 7});
    EXPECT_EQ(t.m[3][0], 5.0f);
    EXPECT_EQ(t.m[3][1], -6.0f);
    EXPECT_EQ(t.m[3][2], 7.0f);
    EXPECT_EQ(t.m[0][3], 0.0f);
    EXPECT_TRUE(vecNear(transformPoint({1, 1, 1}, t), {6, -5, 8}));
    EXPECT_TRUE(vecNear(transformNormal({1, 1, 1}, t), {1, 1, 1}));
}

TEST(MathMatrices, Scaling) {
    EXPECT_TRUE(vecNear(transformPoint({1, 2, 3}, matrixScaling({2, 3, -1})), {2, 6, -3}));
    EXPECT_TRUE(vecNear(transformPoint({1, 2, 3}, matrixScaling(2, 1, 1)), {2, 2, 3}));
    EXPECT_TRUE(vecNear(transformPoint({1, 2, 3}, matrixScaling(0.5f)), {0.5f, 1, 1.5f}));
}

TEST(MathMatrices, RowVectorOrderTranslateThenRotate) {
    // Rotating +x a quarter turn about z lands on +y.
    const Mat4 t = matrixTranslation(1, 0, 0);
    const Mat4 r = matrixRotationZ(kHalfPi);
    const Vec3 p{1, 0, 0};
    // Translate to (2, 0, 0), then rotate.
    EXPECT_TRUE(vecNear(transformPoint(p, t * r), {0, 2, 0}));
    // Rotate to (0, 1, 0), then translate.
    EXPECT_TRUE(vecNear(transformPoint(p, r * t), {1, 1, 0}));
    // Same as applying the matrices one at a time.
    EXPECT_TRUE(vecNear(transformPoint(transformPoint(p, t), r), transformPoint(p, t * r)));
}

TEST(MathMatrices, RotationYQuarterTurnMapsXToMinusZ) {
    const Mat4 r = matrixRotationY(kHalfPi);
    EXPECT_TRUE(vecNear(transformNormal(kX, r), -kZ));
    EXPECT_TRUE(vecNear(transformNormal(kZ, r), kX));
    EXPECT_TRUE(vecNear(transformNormal(kY, r), kY));

    const float a = 0.3f, c = std::cos(a), s = std::sin(a);
    const Mat4 m = matrixRotationY(a);
    Mat4 expected;
    expected.m[0][0] = c;
    expected.m[0][2] = -s;
    expected.m[2][0] = s;
    expected.m[2][2] = c;
    EXPECT_TRUE(matNear(m, expected));
}

TEST(MathMatrices, RotationXAndZQuarterTurns) {
    EXPECT_TRUE(vecNear(transformNormal(kY, matrixRotationX(kHalfPi)), kZ));
    EXPECT_TRUE(vecNear(transformNormal(kZ, matrixRotationX(kHalfPi)), -kY));
    EXPECT_TRUE(vecNear(transformNormal(kX, matrixRotationZ(kHalfPi)), kY));
    EXPECT_TRUE(vecNear(transformNormal(kY, matrixRotationZ(kHalfPi)), -kX));
}

TEST(MathMatrices, RotationAxisMatchesAxisRotations) {
    for (float a : {-2.5f, -0.4f, 0.0f, 0.9f, kHalfPi, 3.0f}) {
        EXPECT_TRUE(matNear(matrixRotationAxis(kX, a), matrixRotationX(a))) << a;
        EXPECT_TRUE(matNear(matrixRotationAxis(kY, a), matrixRotationY(a))) << a;
        EXPECT_TRUE(matNear(matrixRotationAxis(kZ, a), matrixRotationZ(a))) << a;
        // The axis length does not matter, its sign reverses the turn.
        EXPECT_TRUE(matNear(matrixRotationAxis({0, 7, 0}, a), matrixRotationY(a))) << a;
        EXPECT_TRUE(matNear(matrixRotationAxis({-3, 0, 0}, a), matrixRotationX(-a))) << a;
    }
}

TEST(MathMatrices, RotationAxisZeroAxisMeansZ) {
    EXPECT_TRUE(matNear(matrixRotationAxis({0, 0, 0}, 1.1f), matrixRotationZ(1.1f)));
}

TEST(MathMatrices, RotationAxisIsProperRotationAboutItsAxis) {
    for (const auto& [axis, angle] : kRotations) {
        const Mat4 r = matrixRotationAxis(axis, angle);
        EXPECT_TRUE(vecNear(transformNormal(axis, r), axis, 1e-4f));
        EXPECT_NEAR(determinant(r), 1.0f, 1e-5f);
        EXPECT_TRUE(matNear(r * transpose(r), identity()));
        // A vector perpendicular to the axis turns by exactly the angle.
        const Vec3 perp = cross(axis, Vec3{0.2f, 0.9f, -0.4f});
        const float expected = std::acos(std::cos(angle));  // folded into [0, pi]
        EXPECT_NEAR(angleBetween(perp, transformNormal(perp, r)), expected, 1e-3f);
    }
}

TEST(MathMatrices, Transpose) {
    Mat4 a;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) a.m[i][j] = static_cast<float>(10 * i + j);
    const Mat4 t = transpose(a);
    EXPECT_EQ(t.m[0][3], 30.0f);
    EXPECT_EQ(t.m[3][0], 3.0f);
    EXPECT_EQ(t.m[2][1], 12.0f);
    EXPECT_TRUE(matNear(transpose(t), a, 0.0f));
}

TEST(MathMatrices, DeterminantKnownValues) {
    EXPECT_FLOAT_EQ(determinant(identity()), 1.0f);
    EXPECT_FLOAT_EQ(determinant(matrixScaling(2, 3, 4)), 24.0f);
    EXPECT_FLOAT_EQ(determinant(matrixScaling(1, -1, 1)), -1.0f);
    EXPECT_NEAR(determinant(matrixRotationAxis({1, 2, 3}, 0.8f) * matrixTranslation(4, 5, 6)),
                1.0f, 1e-5f);
    Mat4 a;  // upper triangular: the diagonal product
    a.m[0][0] = 2; a.m[0][1] = 7; a.m[0][2] = -3; a.m[0][3] = 5;
    a.m[1][1] = 3; a.m[1][2] = 4; a.m[1][3] = 1;
    a.m[2][2] = -1; a.m[2][3] = 9;
    a.m[3][3] = 0.5f;
    EXPECT_FLOAT_EQ(determinant(a), -3.0f);
    EXPECT_FLOAT_EQ(determinant(transpose(a)), -3.0f);
}

TEST(MathMatrices, InverseTimesMatrixIsIdentity) {
    Mat4 dense;
    const float values[16] = {2, -1, 0.5f, 3, 1, 4, -2, 0, 0, 1, 3, -1, 5, 2, 1, 1};
    for (int i = 0; i < 16; ++i) dense.m[i / 4][i % 4] = values[i];

    const std::vector<Mat4> cases = {
        identity(),
        matrixTranslation(3, -4, 5),
        matrixScaling(2, 0.5f, -3) * matrixRotationAxis({1, 1, 0}, 0.6f) *
            matrixTranslation(10, 20, 30),
        perspectiveFovLH(1.0f, 1.5f, 0.1f, 100.0f),
        lookAtLH({3, 4, -5}, {0, 1, 0}, kY) * perspectiveFovLH(0.8f, 1.0f, 0.5f, 50.0f),
        orthoLH(20, 10, 1, 101),
        dense,
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const auto inv = inverse(cases[i]);
        ASSERT_TRUE(inv.has_value()) << i;
        EXPECT_TRUE(matNear(*inv * cases[i], identity(), 1e-4f)) << i;
        EXPECT_TRUE(matNear(cases[i] * *inv, identity(), 1e-4f)) << i;
    }
    const auto t = inverse(matrixTranslation(3, -4, 5));
    ASSERT_TRUE(t.has_value());
    EXPECT_TRUE(matNear(*t, matrixTranslation(-3, 4, -5)));
}

TEST(MathMatrices, InverseAcceptsSmallScaleAndFarTranslation) {
    // A tiny determinant alone does not make a matrix singular.
    const Mat4 small = matrixScaling(1e-3f) * matrixTranslation(1, 2, 3);
    const auto inv = inverse(small);
    ASSERT_TRUE(inv.has_value());
    EXPECT_NEAR(inv->m[0][0], 1e3f, 1e-1f);
    EXPECT_TRUE(vecNear(transformPoint(transformPoint({4, 5, 6}, small), *inv), {4, 5, 6}, 1e-3f));

    // Nor does a translation row much longer than the others. Its inverse is
    // the opposite translation followed by the transposed rotation.
    const Mat4 r = matrixRotationAxis({1, 2, 3}, 0.4f);
    const Vec3 t{1e7f, -1e6f, 1e6f};
    const auto farInv = inverse(r * matrixTranslation(t));
    ASSERT_TRUE(farInv.has_value());
    const Mat4 expected = matrixTranslation(-t) * transpose(r);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const float tolerance = 1e-6f * std::max(1.0f, std::abs(expected.m[i][j]));
            EXPECT_NEAR(farInv->m[i][j], expected.m[i][j], tolerance) << i << "," << j;
        }
    }
}

TEST(MathMatrices, InverseOfSingularIsReported) {
    Mat4 zero;
    for (auto& row : zero.m)
        for (float& v : row) v = 0.0f;
    Mat4 dependent;  // rows 0..2 are 1..9, whose third row is 2 * second - first
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) dependent.m[i][j] = static_cast<float>(3 * i + j + 1);
    Mat4 repeated = matrixRotationAxis({1, 2, 3}, 0.7f);
    for (int j = 0; j < 4; ++j) repeated.m[2][j] = repeated.m[0][j];
    // Projection onto the plane through the origin with normal n: rank 2 in
    // exact arithmetic, only rounding keeps its determinant from 0 in float.
    const Vec3 n = normalize({1, 1, 1});
    Mat4 flatten;
    const float nn[3] = {n.x, n.y, n.z};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) flatten.m[i][j] = (i == j ? 1.0f : 0.0f) - nn[i] * nn[j];
    Mat4 withNan;
    withNan.m[1][2] = std::numeric_limits<float>::quiet_NaN();

    EXPECT_FALSE(inverse(zero).has_value());
    EXPECT_FALSE(inverse(matrixScaling(1, 0, 1)).has_value());
    EXPECT_FALSE(inverse(matrixScaling(2, 3, 0) * matrixRotationAxis({1, 1, 1}, 1.0f)).has_value());
    EXPECT_FALSE(inverse(dependent).has_value());
    EXPECT_FALSE(inverse(repeated).has_value());
    EXPECT_FALSE(inverse(flatten).has_value());
    EXPECT_FALSE(inverse(withNan).has_value());
}

TEST(MathMatrices, TransformPointDividesByW) {
    Mat4 m;
    m.m[3][3] = 2.0f;  // w' = 2 for every point
    EXPECT_TRUE(vecNear(transformPoint({2, 4, 6}, m), {1, 2, 3}));
    // w' = 0 is a point at infinity: returned as is rather than divided.
    m.m[3][3] = 0.0f;
    const Vec3 p = transformPoint({2, 4, 6}, m);
    EXPECT_TRUE(vecNear(p, {2, 4, 6}));
    // Directions ignore both translation and w.
    EXPECT_TRUE(vecNear(transformNormal({2, 4, 6}, m), {2, 4, 6}));
}

TEST(MathMatrices, TransformVec4) {
    const Mat4 m = matrixRotationZ(kHalfPi) * matrixTranslation(1, 2, 3);
    const Vec4 p = transform(Vec4{1, 0, 0, 1}, m);
    EXPECT_NEAR(p.x, 1.0f, kEps);
    EXPECT_NEAR(p.y, 3.0f, kEps);
    EXPECT_NEAR(p.z, 3.0f, kEps);
    EXPECT_NEAR(p.w, 1.0f, kEps);
    const Vec4 d = transform(Vec4{1, 0, 0, 0}, m);
    EXPECT_NEAR(d.x, 0.0f, kEps);
    EXPECT_NEAR(d.y, 1.0f, kEps);
    EXPECT_NEAR(d.w, 0.0f, kEps);
}

TEST(MathMatrices, PerspectiveMapsNearToZeroAndFarToOne) {
    const float fov = radians(60.0f), aspect = 16.0f / 9.0f, zn = 0.5f, zf = 200.0f;
    const Mat4 p = perspectiveFovLH(fov, aspect, zn, zf);
    EXPECT_EQ(p.m[2][3], 1.0f);
    EXPECT_EQ(p.m[3][3], 0.0f);

    EXPECT_NEAR(transformPoint({0, 0, zn}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(transformPoint({0, 0, zf}, p).z, 1.0f, 1e-5f);
    // Clip w is the view depth.
    EXPECT_FLOAT_EQ(transform(Vec4{0, 0, 7, 1}, p).w, 7.0f);
    // Depth is not linear: halfway in view space is already close to the far end.
    EXPECT_GT(transformPoint({0, 0, 0.5f * (zn + zf)}, p).z, 0.99f);

    // The frustum edges land on the clip box edges.
    const float d = 10.0f, halfH = d * std::tan(fov * 0.5f);
    EXPECT_TRUE(vecNear(transformPoint({halfH * aspect, halfH, d}, p),
                        {1, 1, transformPoint({0, 0, d}, p).z}));
    EXPECT_TRUE(vecNear(transformPoint({-halfH * aspect, -halfH, d}, p),
                        {-1, -1, transformPoint({0, 0, d}, p).z}));
}

TEST(MathMatrices, OrthoMapsViewVolumeToClipBox) {
    const Mat4 o = orthoLH(8, 4, 1, 11);
    EXPECT_TRUE(vecNear(transformPoint({4, 2, 1}, o), {1, 1, 0}));
    EXPECT_TRUE(vecNear(transformPoint({-4, -2, 11}, o), {-1, -1, 1}));
    EXPECT_TRUE(vecNear(transformPoint({0, 0, 6}, o), {0, 0, 0.5f}));  // linear depth
}

TEST(MathMatrices, LookAtPutsTargetOnPlusZ) {
    const Vec3 eye{3, 4, -5}, at{-1, 2, 7};
    const Mat4 v = lookAtLH(eye, at, kY);
    EXPECT_TRUE(vecNear(transformPoint(eye, v), {0, 0, 0}, 1e-5f));
    EXPECT_TRUE(vecNear(transformPoint(at, v), {0, 0, distance(eye, at)}, 1e-4f));
    EXPECT_NEAR(determinant(v), 1.0f, 1e-5f);
    // Something above the target stays above it in view space, not to a side.
    const Vec3 above = transformPoint(at + kY, v);
    EXPECT_GT(above.y, 0.0f);
    EXPECT_NEAR(above.x, 0.0f, 1e-5f);
}

TEST(MathMatrices, LookAtFromBehindKeepsXRight) {
    // Looking along +z from z = -5: just a translation, x stays right.
    const Mat4 v = lookAtLH({0, 0, -5}, {0, 0, 0}, kY);
    EXPECT_TRUE(matNear(v, matrixTranslation(0, 0, 5)));
    // Looking back along -z, world +x appears on the left.
    const Mat4 back = lookAtLH({0, 0, 5}, {0, 0, 0}, kY);
    EXPECT_LT(transformPoint(kX, back).x, 0.0f);
}

TEST(MathMatrices, LookAtDegenerateInputsStayFinite) {
    // Straight down with a world up parallel to the view direction.
    const Mat4 down = lookAtLH({0, 10, 0}, {0, 0, 0}, kY);
    ASSERT_TRUE(allFinite(down));
    EXPECT_NEAR(determinant(down), 1.0f, 1e-5f);
    EXPECT_TRUE(vecNear(transformPoint({0, 0, 0}, down), {0, 0, 10}));
    EXPECT_TRUE(vecNear(transformPoint(kX, down), {1, 0, 10}));  // +x still to the right

    const Mat4 up = lookAtLH({0, -10, 0}, {0, 0, 0}, kY);
    ASSERT_TRUE(allFinite(up));
    EXPECT_TRUE(vecNear(transformPoint({0, 0, 0}, up), {0, 0, 10}));

    // Eye on the target: looks along +z.
    const Mat4 same = lookAtLH({1, 2, 3}, {1, 2, 3}, kY);
    ASSERT_TRUE(allFinite(same));
    EXPECT_TRUE(vecNear(transformPoint({1, 2, 4}, same), {0, 0, 1}));
}

TEST(MathMatrices, MatrixFromQuatMatchesRotationAxis) {
    for (const auto& [axis, angle] : kRotations) {
        EXPECT_TRUE(matNear(matrixFromQuat(quatFromAxisAngle(axis, angle)),
                            matrixRotationAxis(axis, angle)))
            << angle;
    }
    // Non-unit input is normalised; the zero quaternion is no rotation.
    const Quat q = quatFromAxisAngle({1, -1, 2}, 1.0f);
    EXPECT_TRUE(matNear(matrixFromQuat({q.x * 3, q.y * 3, q.z * 3, q.w * 3}), matrixFromQuat(q)));
    EXPECT_TRUE(matNear(matrixFromQuat({0, 0, 0, 0}), identity()));
}

// ---------------------------------------------------------------------------

TEST(MathQuaternions, DefaultIsIdentity) {
    const Quat q;
    EXPECT_EQ(q.w, 1.0f);
    EXPECT_TRUE(vecNear(rotate({1, 2, 3}, q), {1, 2, 3}, 0.0f));
    EXPECT_TRUE(matNear(matrixFromQuat(q), identity(), 0.0f));
}

TEST(MathQuaternions, FromAxisAngleKnownValue) {
    const Quat q = quatFromAxisAngle({0, 2, 0}, kHalfPi);
    const float h = std::sqrt(0.5f);
    EXPECT_NEAR(q.x, 0.0f, kEps);
    EXPECT_NEAR(q.y, h, kEps);
    EXPECT_NEAR(q.z, 0.0f, kEps);
    EXPECT_NEAR(q.w, h, kEps);
    EXPECT_TRUE(sameRotation(quatFromAxisAngle({0, 0, 0}, 0.5f), quatFromAxisAngle(kZ, 0.5f)));
}

TEST(MathQuaternions, RotateAgreesWithMatrices) {
    // Same left-handed sense as the matrices: +90 deg about y takes +x to -z.
    EXPECT_TRUE(vecNear(rotate(kX, quatFromAxisAngle(kY, kHalfPi)), -kZ));
    EXPECT_TRUE(vecNear(rotate(kY, quatFromAxisAngle(kX, kHalfPi)), kZ));
    EXPECT_TRUE(vecNear(rotate(kX, quatFromAxisAngle(kZ, kHalfPi)), kY));

    const Vec3 v{0.3f, -1.2f, 2.5f};
    for (const auto& [axis, angle] : kRotations) {
        const Quat q = quatFromAxisAngle(axis, angle);
        EXPECT_TRUE(vecNear(rotate(v, q), transformNormal(v, matrixFromQuat(q)), 1e-4f));
        EXPECT_TRUE(
            vecNear(rotate(v, q), transformNormal(v, matrixRotationAxis(axis, angle)), 1e-4f));
    }
}

TEST(MathQuaternions, MultiplyIsHamiltonProduct) {
    const Quat i{1, 0, 0, 0}, j{0, 1, 0, 0}, k{0, 0, 1, 0};
    const Quat ij = quatMultiply(i, j), ji = quatMultiply(j, i), ii = quatMultiply(i, i);
    EXPECT_TRUE(vecNear({ij.x, ij.y, ij.z}, {0, 0, 1}));
    EXPECT_FLOAT_EQ(ij.w, 0.0f);
    EXPECT_TRUE(vecNear({ji.x, ji.y, ji.z}, {0, 0, -1}));
    EXPECT_TRUE(vecNear({ii.x, ii.y, ii.z}, {0, 0, 0}));
    EXPECT_FLOAT_EQ(ii.w, -1.0f);
    const Quat jk = quatMultiply(j, k), ki = quatMultiply(k, i);
    EXPECT_TRUE(vecNear({jk.x, jk.y, jk.z}, {1, 0, 0}));
    EXPECT_TRUE(vecNear({ki.x, ki.y, ki.z}, {0, 1, 0}));
}

TEST(MathQuaternions, QuatThenAppliesFirstThenSecond) {
    const Quat q1 = quatFromAxisAngle(kX, kHalfPi);
    const Quat q2 = quatFromAxisAngle(kY, kHalfPi);
    // +y -> +z under q1, then +z -> +x under q2.
    EXPECT_TRUE(vecNear(rotate(kY, quatThen(q1, q2)), kX));
    // The other order ends elsewhere: +y stays under q2, then goes to +z.
    EXPECT_TRUE(vecNear(rotate(kY, quatThen(q2, q1)), kZ));
    EXPECT_TRUE(sameRotation(quatThen(q1, q2), quatMultiply(q2, q1)));

    const Vec3 v{0.3f, -1.2f, 2.5f};
    for (size_t n = 0; n + 1 < kRotations.size(); ++n) {
        const Quat a = quatFromAxisAngle(kRotations[n].axis, kRotations[n].angle);
        const Quat b = quatFromAxisAngle(kRotations[n + 1].axis, kRotations[n + 1].angle);
        EXPECT_TRUE(vecNear(rotate(v, quatThen(a, b)), rotate(rotate(v, a), b), 1e-4f)) << n;
        EXPECT_TRUE(matNear(matrixFromQuat(quatThen(a, b)), matrixFromQuat(a) * matrixFromQuat(b),
                            1e-5f))
            << n;
    }
}

TEST(MathQuaternions, ConjugateAndInverseUndoRotation) {
    const Quat q = quatFromAxisAngle({1, 2, 3}, 1.1f);
    const Vec3 v{4, -5, 6};
    EXPECT_TRUE(vecNear(rotate(rotate(v, q), quatConjugate(q)), v, 1e-4f));
    // For a non-unit quaternion only the true inverse multiplies to identity.
    const Quat big{q.x * 2, q.y * 2, q.z * 2, q.w * 2};
    const Quat one = quatMultiply(big, quatInverse(big));
    EXPECT_TRUE(vecNear({one.x, one.y, one.z}, {0, 0, 0}));
    EXPECT_NEAR(one.w, 1.0f, kEps);
    const Quat zeroInv = quatInverse({0, 0, 0, 0});
    EXPECT_EQ(zeroInv.w, 1.0f);
}

TEST(MathQuaternions, NormalizeZeroIsIdentity) {
    const Quat z = quatNormalize({0, 0, 0, 0});
    EXPECT_EQ(z.x, 0.0f);
    EXPECT_EQ(z.y, 0.0f);
    EXPECT_EQ(z.z, 0.0f);
    EXPECT_EQ(z.w, 1.0f);
    const Quat n = quatNormalize({1, 2, 2, 4});
    EXPECT_NEAR(quatDot(n, n), 1.0f, kEps);
    EXPECT_NEAR(n.w, 0.8f, kEps);
    EXPECT_TRUE(vecNear(rotate({1, 2, 3}, {0, 0, 0, 0}), {1, 2, 3}, 0.0f));
}

TEST(MathQuaternions, ToAxisAngleRoundTrip) {
    const Vec3 axis = normalize({1, 2, 3});
    const AxisAngle a = quatToAxisAngle(quatFromAxisAngle(axis, 1.2f));
    EXPECT_TRUE(vecNear(a.axis, axis));
    EXPECT_NEAR(a.angle, 1.2f, 1e-5f);

    // More than half a turn is reported as the shorter turn the other way.
    const AxisAngle b = quatToAxisAngle(quatFromAxisAngle(kY, 1.5f * kPi));
    EXPECT_TRUE(vecNear(b.axis, -kY));
    EXPECT_NEAR(b.angle, 0.5f * kPi, 1e-5f);

    // Small angles keep their precision.
    const AxisAngle c = quatToAxisAngle(quatFromAxisAngle(kX, 1e-4f));
    EXPECT_TRUE(vecNear(c.axis, kX));
    EXPECT_NEAR(c.angle, 1e-4f, 1e-8f);

    const AxisAngle none = quatToAxisAngle(Quat{});
    EXPECT_TRUE(vecNear(none.axis, kZ, 0.0f));
    EXPECT_EQ(none.angle, 0.0f);
}

TEST(MathQuaternions, SlerpEndpointsAndMidpoint) {
    const Quat a = quatFromAxisAngle(kZ, 0.2f);
    const Quat b = quatFromAxisAngle(kZ, 1.8f);
    EXPECT_TRUE(sameRotation(quatSlerp(a, b, 0.0f), a));
    EXPECT_TRUE(sameRotation(quatSlerp(a, b, 1.0f), b));
    EXPECT_TRUE(sameRotation(quatSlerp(a, b, 0.5f), quatFromAxisAngle(kZ, 1.0f)));
    // Constant angular speed, unlike a plain lerp.
    EXPECT_TRUE(sameRotation(quatSlerp(a, b, 0.25f), quatFromAxisAngle(kZ, 0.6f)));

    const Vec3 axis{1, 1, 0};
    const Quat m = quatSlerp(quatFromAxisAngle(axis, 0.0f), quatFromAxisAngle(axis, 2.0f), 0.5f);
    EXPECT_TRUE(sameRotation(m, quatFromAxisAngle(axis, 1.0f)));
    EXPECT_NEAR(quatDot(m, m), 1.0f, kEps);
}

TEST(MathQuaternions, SlerpTakesShortestPath) {
    // 0.2 rad to 4.0 rad is 3.8 rad one way but 2.48 rad the other.
    const Quat a = quatFromAxisAngle(kZ, 0.2f);
    const Quat b = quatFromAxisAngle(kZ, 4.0f);
    const float shortMid = 0.2f + 0.5f * (4.0f - kTwoPi - 0.2f);
    EXPECT_TRUE(sameRotation(quatSlerp(a, b, 0.5f), quatFromAxisAngle(kZ, shortMid)));
    // The sign of an endpoint does not change the path.
    const Quat negB{-b.x, -b.y, -b.z, -b.w};
    EXPECT_TRUE(sameRotation(quatSlerp(a, negB, 0.5f), quatFromAxisAngle(kZ, shortMid)));
}

TEST(MathQuaternions, SlerpOfNearlyEqualIsFinite) {
    const Quat a = quatFromAxisAngle({1, 2, 3}, 0.5f);
    const Quat b = quatFromAxisAngle({1, 2, 3}, 0.5f + 1e-6f);
    for (float t : {0.0f, 0.3f, 1.0f}) {
        const Quat s = quatSlerp(a, b, t);
        EXPECT_TRUE(std::isfinite(s.x) && std::isfinite(s.w));
        EXPECT_NEAR(quatDot(s, s), 1.0f, kEps);
        EXPECT_TRUE(sameRotation(s, a));
    }
    const Quat same = quatSlerp(a, a, 0.5f);
    EXPECT_TRUE(sameRotation(same, a));
}

TEST(MathQuaternions, FromMatrixRoundTrip) {
    std::vector<Quat> cases;
    for (const auto& [axis, angle] : kRotations) cases.push_back(quatFromAxisAngle(axis, angle));
    // Half turns have a non-positive trace and exercise the other branches.
    for (const Vec3 axis : {kX, kY, kZ, Vec3{1, 1, 0}, Vec3{0, 1, -1}})
        cases.push_back(quatFromAxisAngle(axis, kPi));
    cases.push_back(Quat{});
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(sameRotation(quatFromMatrix(matrixFromQuat(cases[i])), cases[i])) << i;
    }
    EXPECT_TRUE(
        sameRotation(quatFromMatrix(matrixRotationY(kHalfPi)), quatFromAxisAngle(kY, kHalfPi)));
}

TEST(MathQuaternions, FromMatrixIgnoresScaleAndTranslation) {
    const Quat q = quatFromAxisAngle({-1, 3, 2}, 2.2f);
    const Mat4 srt = matrixScaling(2, 0.5f, 7) * matrixFromQuat(q) * matrixTranslation(4, 5, 6);
    EXPECT_TRUE(sameRotation(quatFromMatrix(srt), q, 1e-4f));
}

// ---------------------------------------------------------------------------

TEST(MathCurves, CubicBezierEndsAndKnownPoint) {
    const Vec3 p0{0, 0, 0}, h1{0, 1, 0}, h2{1, 1, 0}, p3{1, 0, 0};
    EXPECT_TRUE(vecNear(cubicBezier(p0, h1, h2, p3, 0.0f), p0, 0.0f));
    EXPECT_TRUE(vecNear(cubicBezier(p0, h1, h2, p3, 1.0f), p3, 0.0f));
    EXPECT_TRUE(vecNear(cubicBezier(p0, h1, h2, p3, 0.5f), {0.5f, 0.75f, 0}));
}

TEST(MathCurves, CubicBezierWithEvenHandlesIsLinear) {
    const Vec3 a{1, 2, 3}, b{4, -2, 9};
    for (float t : {0.1f, 0.5f, 0.8f})
        EXPECT_TRUE(vecNear(cubicBezier(a, lerp(a, b, 1.0f / 3), lerp(a, b, 2.0f / 3), b, t),
                            lerp(a, b, t)));
}

TEST(MathCurves, CubicBezierTangent) {
    const Vec3 p0{0, 0, 0}, h1{1, 2, 0}, h2{3, 2, 1}, p3{4, 0, 0};
    // The curve leaves along the first handle and arrives along the second.
    EXPECT_TRUE(vecNear(cubicBezierTangent(p0, h1, h2, p3, 0.0f), (h1 - p0) * 3.0f));
    EXPECT_TRUE(vecNear(cubicBezierTangent(p0, h1, h2, p3, 1.0f), (p3 - h2) * 3.0f));
    const float t = 0.37f, h = 1e-3f;
    const Vec3 numeric =
        (cubicBezier(p0, h1, h2, p3, t + h) - cubicBezier(p0, h1, h2, p3, t - h)) / (2 * h);
    EXPECT_TRUE(vecNear(cubicBezierTangent(p0, h1, h2, p3, t), numeric, 1e-2f));
}

}  // namespace
}  // namespace morvanex
