#pragma once
// Sizes worked out from values read out of files (width x height x bytes per pixel, offset +
// length, row sizes), in 64 bits and checked: a damaged header gets a clean "too large"
// instead of a product that wrapped round to a small number and a write past a buffer.
// Each returns nothing on overflow or past the cap; the caller raises its own error.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>

// The most one picture read from a file may take in memory.
inline constexpr uint64_t MaxImageBytes = uint64_t(256) << 20;

// The product of the factors.
std::optional<std::size_t> CheckedProduct(std::initializer_list<uint64_t> factors, uint64_t cap);
// offset + length, e.g. against a file's size as the cap.
std::optional<uint64_t> CheckedEnd(uint64_t offset, uint64_t length, uint64_t cap);
// Bytes of a row of width pixels of bitsPerPixel each, packed and rounded up to whole bytes.
std::optional<std::size_t> CheckedRowBytes(uint64_t width, uint64_t bitsPerPixel, uint64_t cap);
