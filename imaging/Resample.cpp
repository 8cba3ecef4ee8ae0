#include "imaging/Resample.h"

#include "imaging/GraphicColor.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

float SinC(float x)
{
    if (x == 0)
        return 1;
    x *= std::numbers::pi_v<float>;
    return std::sin(x) / x;
}

float BoxFilter(float x)
{
    return x > -0.5f && x <= 0.5f ? 1.0f : 0.0f;
}

float TriangleFilter(float x)
{
    float t = std::fabs(x);
    return t < 1 ? 1 - t : 0;
}

float HermiteFilter(float x)
{
    float t = std::fabs(x);
    return t < 1 ? (2 * t - 3) * t * t + 1 : 0;
}

float BellFilter(float x)
{
    float t = std::fabs(x);
    if (t < 0.5f)
        return 0.75f - t * t;
    if (t < 1.5f)
        return 0.5f * (t - 1.5f) * (t - 1.5f);
    return 0;
}

float SplineFilter(float x)
{
    float t = std::fabs(x);
    if (t < 1)
        return 0.5f * t * t * t - t * t + 2.0f / 3.0f;
    if (t < 2)
        return (2 - t) * (2 - t) * (2 - t) / 6;
    return 0;
}

float Lanczos3Filter(float x)
{
    float t = std::fabs(x);
    return t < 3 ? SinC(t) * SinC(t / 3) : 0;
}

float MitchellFilter(float x)
{
    float t = std::fabs(x);
    if (t < 1)
        return (7 * t * t * t - 12 * t * t + 16.0f / 3.0f) / 6;
    if (t < 2)
        return (-7.0f / 3.0f * t * t * t + 12 * t * t - 20 * t + 32.0f / 3.0f) / 6;
    return 0;
}

TFilterFunction FilterKernel(TResamplingFilter filter)
{
    static constexpr TFilterFunction kernels[] = {BoxFilter,    TriangleFilter, HermiteFilter, BellFilter,
                                                  SplineFilter, Lanczos3Filter, MitchellFilter};
    return kernels[filter];
}

float DefaultRadius(TResamplingFilter filter)
{
    static constexpr float radii[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
    return radii[filter];
}

namespace {

struct Contributor {
    int32_t weight;   // 256 = 1.0
    int32_t pixel;
};
using ContributorList = std::vector<Contributor>;

// Source index j mirrored at the edges (-j before the first pixel, 2n - j - 1 after the
// last) and mirrored again until it lies inside, so a kernel wider than a small image never
// reaches outside it. Mirroring at both ends repeats every 2n - 1 pixels.
int32_t mirror(int64_t j, int64_t n)
{
    int64_t period = 2 * n - 1;
    int64_t r = ((j % period) + period) % period;
    return int32_t(r < n ? r : period - r);
}

// Contributors of every target index for a scale s, n source pixels and radius R.
std::vector<ContributorList> contributors(uint32_t targetSize, float scale, uint32_t n, float radius,
                                          TFilterFunction kernel)
{
    std::vector<ContributorList> lists(targetSize);
    bool shrinking = scale < 1;
    float width = shrinking ? radius / scale : radius;
    for (uint32_t i = 0; i < targetSize; ++i) {
        float center = float(i) / scale;
        auto left = int64_t(std::floor(center - width));
        auto right = int64_t(std::ceil(center + width));
        ContributorList& list = lists[i];
        list.reserve(std::size_t(2 * width + 1));
        for (int64_t j = left; j <= right; ++j) {
            float d = center - float(j);
            float w = shrinking ? kernel(d * scale) * scale * 256 : kernel(d) * 256;
            auto weight = int32_t(std::nearbyint(w));
            if (weight != 0)
                list.push_back({weight, mirror(j, n)});
        }
    }
    return lists;
}

// One channel from the cached line.
uint8_t apply(const ContributorList& list, const std::vector<int32_t>& cache)
{
    int64_t total = 0, sum = 0;
    for (const Contributor& c : list) {
        total += c.weight;
        sum += int64_t(c.weight) * cache[std::size_t(c.pixel)];
    }
    // Without weights to divide by, the fixed point is dropped; a negative sum stays
    // negative and clamps to black.
    int64_t v = total != 0 ? sum / total : sum >> 8;
    return ClampByte(int32_t(std::clamp<int64_t>(v, -1, 256)));
}

struct Caches {
    std::vector<int32_t> red, green, blue;
    explicit Caches(std::size_t n) : red(n), green(n), blue(n) {}
    void put(std::size_t i, const uint8_t* bgr)
    {
        blue[i] = bgr[0], green[i] = bgr[1], red[i] = bgr[2];
    }
    void get(const ContributorList& list, uint8_t* bgr) const
    {
        bgr[0] = apply(list, blue), bgr[1] = apply(list, green), bgr[2] = apply(list, red);
    }
};

} // namespace

void DoStretch(TFilterFunction Kernel, const Bitmap& Source, Bitmap& Target, float Radius)
{
    const uint32_t sw = Source.Width(), sh = Source.Height(), tw = Target.Width(), th = Target.Height();
    // A radius that is not a sane number of pixels gives no kernel window to work with.
    if (sw == 0 || sh == 0 || tw == 0 || th == 0 || !(Radius >= 0 && Radius <= 1e6f))
        return;
    if (Source.GetPixelFormat() != PixelFormat::Bits24 || Target.GetPixelFormat() != PixelFormat::Bits24)
        throw EInvalidGraphic("Resampling works on 24-bit bitmaps only");
    Bitmap work;
    work.SetPixelFormat(PixelFormat::Bits24);
    work.SetSize(tw, sh);

    float xScale = sw == 1 ? float(tw) : tw == 1 ? float(tw) / float(sw) : float(tw - 1) / float(sw - 1);
    float yScale = sh == 1 || th == 1 ? float(th) / float(sh) : float(th - 1) / float(sh - 1);
    // A window many times wider than the picture only mirrors the same pixels again, at a
    // cost that grows with the radius: such a radius is no sane one either.
    auto window = [&](float scale) { return scale < 1 ? Radius / scale : Radius; };
    if (window(xScale) > 8.0f * float(sw) + 8 || window(yScale) > 8.0f * float(sh) + 8)
        return;

    // Rows: each source row into a row of the work bitmap.
    auto columns = contributors(tw, xScale, sw, Radius, Kernel);
    Caches caches(std::max(sw, sh));
    for (uint32_t y = 0; y < sh; ++y) {
        const uint8_t* row = Source.ScanLine(y);
        for (uint32_t x = 0; x < sw; ++x)
            caches.put(x, row + 3 * std::size_t(x));
        uint8_t* out = work.ScanLine(y);
        for (uint32_t x = 0; x < tw; ++x)
            caches.get(columns[x], out + 3 * std::size_t(x));
    }

    // Columns: each work column into a column of the target.
    auto rows = contributors(th, yScale, sh, Radius, Kernel);
    for (uint32_t x = 0; x < tw; ++x) {
        for (uint32_t y = 0; y < sh; ++y)
            caches.put(y, work.ScanLine(y) + 3 * std::size_t(x));
        for (uint32_t y = 0; y < th; ++y)
            caches.get(rows[y], Target.ScanLine(y) + 3 * std::size_t(x));
    }
}

void Stretch(uint32_t NewWidth, uint32_t NewHeight, TResamplingFilter Filter, float Radius, Bitmap& Source,
             Bitmap& Target)
{
    if (Radius == 0)
        Radius = DefaultRadius(Filter);
    Target.Clear();
    Target.SetPixelFormat(PixelFormat::Bits24);
    Target.SetSize(NewWidth, NewHeight);
    Source.ConvertTo24Bits();
    DoStretch(FilterKernel(Filter), Source, Target, Radius);
}

void Stretch(uint32_t NewWidth, uint32_t NewHeight, TResamplingFilter Filter, float Radius, Bitmap& Source)
{
    Bitmap target;
    Stretch(NewWidth, NewHeight, Filter, Radius, Source, target);
    Source.Assign(target);
}
