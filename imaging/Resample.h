#pragma once
// Resizing a 24-bit bitmap with a reconstruction filter, in two separable passes (rows, then
// columns), with the weights worked out once per target column and row in fixed point.
#include "platform/Bitmap.h"

#include <cstdint>

enum TResamplingFilter { sfBox, sfTriangle, sfHermite, sfBell, sfSpline, sfLanczos3, sfMitchell };

using TFilterFunction = float (*)(float x);

float SinC(float x);
float BoxFilter(float x);
float TriangleFilter(float x);
float HermiteFilter(float x);
float BellFilter(float x);
float SplineFilter(float x);
float Lanczos3Filter(float x);
float MitchellFilter(float x);

// The filter's kernel and the radius it is meant for.
TFilterFunction FilterKernel(TResamplingFilter filter);
float DefaultRadius(TResamplingFilter filter);

// Target becomes a 24-bit NewWidth x NewHeight picture of Source, which is itself made
// 24-bit first. A radius of 0 takes the filter's own.
void Stretch(uint32_t NewWidth, uint32_t NewHeight, TResamplingFilter Filter, float Radius, Bitmap& Source,
             Bitmap& Target);
// The same in place: Source takes the resized picture.
void Stretch(uint32_t NewWidth, uint32_t NewHeight, TResamplingFilter Filter, float Radius, Bitmap& Source);
// The resampling itself, between two 24-bit bitmaps of their own sizes; nothing happens when
// either has no pixels or the radius is negative, not a number or beyond a million.
void DoStretch(TFilterFunction Kernel, const Bitmap& Source, Bitmap& Target, float Radius);
