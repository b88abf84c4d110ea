// Vector, matrix and quaternion math of the scene.
//
// Conventions kept everywhere on the CPU side:
//  - row vectors: p' = p * M, and applying A then B is A * B;
//  - left-handed view space, depth from 0 (near) to 1 (far);
//  - quaternions (x, y, z, w) compose as q2 * q1 when q1 is applied first;
//  - normalising the zero vector gives (0, 0, 1);
//  - angles are radians, colours are RGBA floats from 0 to 1.
#pragma once

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

}  // namespace morvanex
