#include "render/matrix.h"

#include <kestrune_system.h>

Matrix screen_projection;

Matrix matrix_identity() {
    Matrix result{};
    result.m[0] = result.m[5] = result.m[10] = result.m[15] = 1;
    return result;
}

Matrix matrix_translation(float x, float y) {
    Matrix result = matrix_identity();
    result.m[12] = x;
    result.m[13] = y;
    return result;
}

Matrix matrix_scale(float sx, float sy) {
    Matrix result = matrix_identity();
    result.m[0] = sx;
    result.m[5] = sy;
    return result;
}

Matrix matrix_rotation(float angle) {
    Matrix result = matrix_identity();
    float c = static_cast<float>(math_cos(angle));
    float s = static_cast<float>(math_sin(angle));
    result.m[0] = c;
    result.m[5] = c;
    result.m[1] = s;
    result.m[4] = -s;
    return result;
}

Matrix matrix_multiply(const Matrix& a, const Matrix& b) {
    Matrix result{};
    for (int column = 0; column < 4; column++) {
        for (int row = 0; row < 4; row++) {
            float sum = 0;
            for (int k = 0; k < 4; k++) sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            result.m[column * 4 + row] = sum;
        }
    }
    return result;
}

Matrix build_screen_projection(int width, int height) {
    Matrix result{};
    result.m[0] = 2.0f / static_cast<float>(width);
    result.m[5] = 2.0f / static_cast<float>(height);
    result.m[10] = -1;
    result.m[12] = -1;
    result.m[13] = -1;
    result.m[14] = 0;
    result.m[15] = 1;
    return result;
}
