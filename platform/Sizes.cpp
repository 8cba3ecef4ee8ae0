#include "platform/Sizes.h"

#include <algorithm>
#include <limits>

// A cap a size_t can hold, so every answer can size a buffer.
static uint64_t usable(uint64_t cap)
{
    return std::min<uint64_t>(cap, std::numeric_limits<std::size_t>::max());
}

std::optional<std::size_t> CheckedProduct(std::initializer_list<uint64_t> factors, uint64_t cap)
{
    cap = usable(cap);
    // An empty side makes an empty picture, whatever the other sides say.
    if (std::find(factors.begin(), factors.end(), uint64_t(0)) != factors.end())
        return 0;
    uint64_t product = 1;
    for (uint64_t f : factors) {
        if (product > cap / f)
            return std::nullopt;
        product *= f;
    }
    return std::size_t(product);
}

std::optional<uint64_t> CheckedEnd(uint64_t offset, uint64_t length, uint64_t cap)
{
    if (offset > cap || length > cap - offset)
        return std::nullopt;
    return offset + length;
}

std::optional<std::size_t> CheckedRowBytes(uint64_t width, uint64_t bitsPerPixel, uint64_t cap)
{
    auto bits = CheckedProduct({width, bitsPerPixel}, std::numeric_limits<uint64_t>::max() - 7);
    if (!bits || (*bits + 7) / 8 > usable(cap))
        return std::nullopt;
    return std::size_t((*bits + 7) / 8);
}
