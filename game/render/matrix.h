// 4 x 4 matrices of floats, column-major: element (row r, column c) is at index c * 4 + r.
#pragma once

struct Matrix {
    float m[16];
};

Matrix matrix_identity();
Matrix matrix_translation(float x, float y);
Matrix matrix_scale(float sx, float sy);
// Counter-clockwise by angle radians.
Matrix matrix_rotation(float angle);
// a x b: b is applied first.
Matrix matrix_multiply(const Matrix& a, const Matrix& b);

// Window pixels (origin bottom-left, y up) to clip space.
Matrix build_screen_projection(int width, int height);

extern Matrix screen_projection;
