#include "platform/ByteIO.h"

#include <cstring>

static std::string place(const std::string& file, std::optional<uint64_t> offset)
{
    std::string at = file.empty() ? std::string() : "\"" + file + "\"";
    if (offset)
        at += (at.empty() ? "at offset " : " at offset ") + std::to_string(*offset);
    return at;
}

static std::string describe(const std::string& message, const std::string& file, std::optional<uint64_t> offset)
{
    std::string at = place(file, offset);
    return at.empty() ? message : at + ": " + message;
}

IoError::IoError(const std::string& message, std::string file, std::optional<uint64_t> offset)
    : std::runtime_error(describe(message, file, offset)), message_(message), file_(std::move(file)), offset_(offset)
{
}

std::string IoError::Context() const
{
    return place(file_, offset_);
}

void ByteReader::need(std::size_t n) const
{
    if (n > size_ - pos_)
        throw ReadError("unexpected end of data: " + std::to_string(n) + " bytes needed, " +
                            std::to_string(size_ - pos_) + " left",
                        {}, pos_);
}

void ByteReader::Seek(std::size_t pos)
{
    if (pos > size_)
        throw ReadError("seek past the end (" + std::to_string(size_) + " bytes)", {}, pos);
    pos_ = pos;
}

void ByteReader::Skip(std::size_t n)
{
    need(n);
    pos_ += n;
}

uint8_t ByteReader::U8()
{
    need(1);
    return p_[pos_++];
}

uint16_t ByteReader::U16LE()
{
    need(2);
    uint16_t v = LoadU16LE(p_ + pos_);
    pos_ += 2;
    return v;
}

uint32_t ByteReader::U32LE()
{
    need(4);
    uint32_t v = LoadU32LE(p_ + pos_);
    pos_ += 4;
    return v;
}

uint64_t ByteReader::U64LE()
{
    uint64_t lo = U32LE();
    uint64_t hi = U32LE();
    return lo | hi << 32;
}

uint16_t ByteReader::U16BE()
{
    need(2);
    uint16_t v = LoadU16BE(p_ + pos_);
    pos_ += 2;
    return v;
}

uint32_t ByteReader::U32BE()
{
    need(4);
    uint32_t v = LoadU32BE(p_ + pos_);
    pos_ += 4;
    return v;
}

void ByteReader::Bytes(void* out, std::size_t n)
{
    need(n);
    if (n) std::memcpy(out, p_ + pos_, n);
    pos_ += n;
}

std::string ByteReader::Bytes(std::size_t n)
{
    need(n);
    std::string s(reinterpret_cast<const char*>(p_ + pos_), n);
    pos_ += n;
    return s;
}

std::string ByteReader::FixedString(std::size_t n)
{
    std::string s = Bytes(n);
    auto nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    return s;
}

void ByteWriter::U16LE(uint16_t v)
{
    buf_.push_back(uint8_t(v));
    buf_.push_back(uint8_t(v >> 8));
}

void ByteWriter::U32LE(uint32_t v)
{
    for (int i = 0; i < 4; ++i) buf_.push_back(uint8_t(v >> (8 * i)));
}

void ByteWriter::U64LE(uint64_t v)
{
    U32LE(uint32_t(v));
    U32LE(uint32_t(v >> 32));
}

void ByteWriter::U16BE(uint16_t v)
{
    buf_.push_back(uint8_t(v >> 8));
    buf_.push_back(uint8_t(v));
}

void ByteWriter::U32BE(uint32_t v)
{
    for (int i = 3; i >= 0; --i) buf_.push_back(uint8_t(v >> (8 * i)));
}

void ByteWriter::Bytes(const void* data, std::size_t n)
{
    auto p = static_cast<const uint8_t*>(data);
    buf_.insert(buf_.end(), p, p + n);
}

void ByteWriter::FixedString(std::string_view s, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) buf_.push_back(i < s.size() ? uint8_t(s[i]) : 0);
}

void ByteWriter::PatchU32LE(std::size_t at, uint32_t v)
{
    if (at + 4 > buf_.size()) throw std::out_of_range("patch past the end of the written data");
    for (int i = 0; i < 4; ++i) buf_[at + std::size_t(i)] = uint8_t(v >> (8 * i));
}
