#pragma once
// Explicit-endian reading and writing of binary formats. Reads past the end throw
// ReadError, so no reader ever looks outside its bytes.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A read or write that failed, with where: the file (empty for bytes in memory) and the
// offset (when known). what() puts the place before the text, as logs and the exception box
// show it: "\"chitin.key\" at offset 64: Stream read error"; Message() is the text alone.
class IoError : public std::runtime_error {
public:
    explicit IoError(const std::string& message, std::string file = {}, std::optional<uint64_t> offset = {});

    const std::string& Message() const { return message_; }
    const std::string& File() const { return file_; }
    std::optional<uint64_t> Offset() const { return offset_; }
    // "\"a.tga\" at offset 18", "\"a.tga\"", "at offset 18" or empty.
    std::string Context() const;

private:
    std::string message_, file_;
    std::optional<uint64_t> offset_;
};

// The bytes asked for are not there.
class ReadError : public IoError {
public:
    using IoError::IoError;
};

inline uint16_t LoadU16LE(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint16_t LoadU16BE(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t LoadU32LE(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint32_t LoadU32BE(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

class ByteReader {
public:
    ByteReader(const void* data, std::size_t size) : p_(static_cast<const uint8_t*>(data)), size_(size) {}
    explicit ByteReader(std::string_view bytes) : ByteReader(bytes.data(), bytes.size()) {}

    std::size_t Size() const { return size_; }
    std::size_t Pos() const { return pos_; }
    std::size_t Remaining() const { return size_ - pos_; }
    void Seek(std::size_t pos);          // throws when past the end
    void Skip(std::size_t n);
    // True when [offset, offset + length) lies inside the data, without overflow.
    bool Holds(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }

    uint8_t U8();
    uint16_t U16LE();
    uint32_t U32LE();
    int32_t I32LE() { return static_cast<int32_t>(U32LE()); }
    uint64_t U64LE();
    uint16_t U16BE();
    uint32_t U32BE();
    int32_t I32BE() { return static_cast<int32_t>(U32BE()); }
    void Bytes(void* out, std::size_t n);
    std::string Bytes(std::size_t n);
    // A fixed-size text field: n bytes, cut at the first NUL.
    std::string FixedString(std::size_t n);

private:
    void need(std::size_t n) const;
    const uint8_t* p_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class ByteWriter {
public:
    std::size_t Size() const { return buf_.size(); }
    const std::vector<uint8_t>& Data() const { return buf_; }
    std::string_view View() const { return {reinterpret_cast<const char*>(buf_.data()), buf_.size()}; }

    void U8(uint8_t v) { buf_.push_back(v); }
    void U16LE(uint16_t v);
    void U32LE(uint32_t v);
    void I32LE(int32_t v) { U32LE(static_cast<uint32_t>(v)); }
    void U64LE(uint64_t v);
    void U16BE(uint16_t v);
    void U32BE(uint32_t v);
    void Bytes(const void* data, std::size_t n);
    void Bytes(std::string_view s) { Bytes(s.data(), s.size()); }
    // Writes s into exactly n bytes, cut or padded with NULs.
    void FixedString(std::string_view s, std::size_t n);
    void PatchU32LE(std::size_t at, uint32_t v);

private:
    std::vector<uint8_t> buf_;
};
