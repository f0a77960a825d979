// Numeric helpers of the framework. Conversions to int truncate toward zero
// and saturate at the limits of int (NaN gives 0), so no value is undefined.
#pragma once

#include <cstdint>

namespace qor {

// Sine and cosine of one angle (radians), each rounded to float.
void SinCosFloat(float angle, float* sine, float* cosine);
int AbsInt(int value);  // |INT_MIN| saturates to INT_MAX
float AbsFloat(float value);
int32_t FloatToIntTrunc(float value);
int32_t DoubleToIntTrunc(double value);
// Four doubles (left, top, right, bottom) to four ints, truncating.
void DoubleRectToIntRect(const double* source, int32_t* destination);
float SqrtFloat(float value);

}  // namespace qor
