// Elementary functions, straight from the runtime.
#include "kestrune_system.h"

#include <cmath>

double math_sqrt(double x) { return std::sqrt(x); }
double math_floor(double x) { return std::floor(x); }
double math_ceil(double x) { return std::ceil(x); }
double math_abs(double x) { return std::fabs(x); }
double math_mod(double x, double y) { return std::fmod(x, y); }
double math_fract(double x) {
    double integral;
    return std::modf(x, &integral);
}
double math_pow(double x, double y) { return std::pow(x, y); }
double math_ln(double x) { return std::log(x); }
double math_log(double x) { return std::log10(x); }
double math_exp(double x) { return std::exp(x); }
double math_cos(double x) { return std::cos(x); }
double math_sin(double x) { return std::sin(x); }
double math_acos(double x) { return std::acos(x); }
double math_asin(double x) { return std::asin(x); }
double math_atan(double x) { return std::atan(x); }
double math_atan2(double y, double x) { return std::atan2(y, x); }
double math_cosh(double x) { return std::cosh(x); }
double math_sinh(double x) { return std::sinh(x); }
double math_tanh(double x) { return std::tanh(x); }
double math_acosh(double x) { return std::acosh(x); }
double math_asinh(double x) { return std::asinh(x); }
double math_atanh(double x) { return std::atanh(x); }
double math_ldexp(double x, int32_t exponent) { return std::ldexp(x, exponent); }
double math_frexp(double x, int32_t* exponent) {
    int e = 0;
    double mantissa = std::frexp(x, &e);
    if (exponent) *exponent = e;
    return mantissa;
}
