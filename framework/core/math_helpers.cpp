#include "framework/core/math_helpers.h"

#include <climits>
#include <cmath>

namespace qor {

void SinCosFloat(float angle, float* sine, float* cosine) {
  const double a = angle;
  *sine = static_cast<float>(std::sin(a));
  *cosine = static_cast<float>(std::cos(a));
}

int AbsInt(int value) {
  if (value == INT_MIN) return INT_MAX;
  return value < 0 ? -value : value;
}

float AbsFloat(float value) { return std::fabs(value); }

int32_t DoubleToIntTrunc(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0) return INT32_MAX;
  if (value <= -2147483649.0) return INT32_MIN;
  return static_cast<int32_t>(value);  // converts toward zero
}

int32_t FloatToIntTrunc(float value) { return DoubleToIntTrunc(value); }

void DoubleRectToIntRect(const double* source, int32_t* destination) {
  for (int i = 0; i < 4; ++i) destination[i] = DoubleToIntTrunc(source[i]);
}

float SqrtFloat(float value) { return std::sqrt(value); }

}  // namespace qor
