#include "platform/Stream.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/stat.h>

uint64_t Stream::Size()
{
    uint64_t here = Position();
    uint64_t end = Seek(0, SeekOrigin::End);
    SetPosition(here);
    return end;
}

void Stream::SetPosition(uint64_t position)
{
    if (position > uint64_t(std::numeric_limits<int64_t>::max()))
        throw StreamError("Stream position out of range", Name(), position);
    Seek(int64_t(position), SeekOrigin::Begin);
}

const uint8_t* Stream::ReadInPlace(std::size_t)
{
    return nullptr;
}

uint64_t Stream::Remaining()
{
    uint64_t pos = Position();
    uint64_t size = Size();
    return pos < size ? size - pos : 0;
}

void Stream::readError(uint64_t offset)
{
    throw ReadError("Stream read error", Name(), offset);
}

void Stream::ReadBuffer(void* buffer, std::size_t count)
{
    if (count == 0)
        return;
    // The position is looked up only when the read fails, so that small reads stay cheap.
    std::size_t got = Read(buffer, count);
    if (got != count)
        readError(Position() - got);
}

void Stream::WriteBuffer(const void* buffer, std::size_t count)
{
    if (count == 0)
        return;
    std::size_t put = Write(buffer, count);
    if (put != count)
        throw StreamError("Stream write error", Name(), Position() - put);
}

// N bytes read exactly, then decoded.
template <std::size_t N, class T>
static T readDecoded(Stream& stream, T (*decode)(const uint8_t*))
{
    uint8_t bytes[N];
    stream.ReadBuffer(bytes, N);
    return decode(bytes);
}

uint8_t Stream::U8()
{
    return readDecoded<1, uint8_t>(*this, [](const uint8_t* b) { return b[0]; });
}

uint16_t Stream::U16LE() { return readDecoded<2>(*this, LoadU16LE); }
uint32_t Stream::U32LE() { return readDecoded<4>(*this, LoadU32LE); }
uint16_t Stream::U16BE() { return readDecoded<2>(*this, LoadU16BE); }
uint32_t Stream::U32BE() { return readDecoded<4>(*this, LoadU32BE); }

void Stream::Require(uint64_t count)
{
    uint64_t at = Position();
    if (count > Remaining())
        readError(at);
}

void Stream::Skip(uint64_t count)
{
    Require(count);
    Seek(int64_t(count), SeekOrigin::Current);
}

std::string Stream::ReadString(std::size_t count)
{
    Require(count);
    std::string bytes(count, '\0');
    ReadBuffer(bytes.data(), count);
    return bytes;
}

// The new position of a seek within [0, int64 max], or a StreamError.
static uint64_t seekTarget(uint64_t pos, uint64_t size, int64_t offset, SeekOrigin origin)
{
    uint64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? pos : size;
    if (offset < 0) {
        uint64_t back = uint64_t(-(offset + 1)) + 1;
        if (back > base)
            throw StreamError("Seek before the start of the stream");
        return base - back;
    }
    if (uint64_t(offset) > uint64_t(std::numeric_limits<int64_t>::max()) - base)
        throw StreamError("Stream position out of range");
    return base + uint64_t(offset);
}

std::size_t MemoryStream::Read(void* buffer, std::size_t count)
{
    if (pos_ >= data_.size())
        return 0;
    std::size_t n = std::min<uint64_t>(count, data_.size() - pos_);
    if (n)
        std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
}

const uint8_t* MemoryStream::ReadInPlace(std::size_t count)
{
    if (pos_ > data_.size() || data_.size() - pos_ < count)
        return nullptr;
    const uint8_t* p = data_.data() + pos_;
    pos_ += count;
    return p;
}

std::size_t MemoryStream::Write(const void* buffer, std::size_t count)
{
    if (count == 0)
        return 0;
    if (pos_ + count > data_.max_size())
        throw StreamError("Stream write error");
    if (pos_ + count > data_.size())
        data_.resize(std::size_t(pos_ + count));
    std::memcpy(data_.data() + pos_, buffer, count);
    pos_ += count;
    return count;
}

uint64_t MemoryStream::Seek(int64_t offset, SeekOrigin origin)
{
    pos_ = seekTarget(pos_, data_.size(), offset, origin);
    return pos_;
}

std::size_t ReadOnlyMemoryStream::Read(void* buffer, std::size_t count)
{
    if (pos_ >= size_)
        return 0;
    std::size_t n = std::min<uint64_t>(count, size_ - pos_);
    if (n)
        std::memcpy(buffer, p_ + pos_, n);
    pos_ += n;
    return n;
}

const uint8_t* ReadOnlyMemoryStream::ReadInPlace(std::size_t count)
{
    if (pos_ > size_ || size_ - pos_ < count)
        return nullptr;
    const uint8_t* p = p_ + pos_;
    pos_ += count;
    return p;
}

std::size_t ReadOnlyMemoryStream::Write(const void*, std::size_t)
{
    throw StreamError("Stream write error: the stream is read-only");
}

uint64_t ReadOnlyMemoryStream::Seek(int64_t offset, SeekOrigin origin)
{
    pos_ = seekTarget(pos_, size_, offset, origin);
    return pos_;
}

FileStream::FileStream(const std::string& path, Mode mode) : path_(path)
{
    const char* how = mode == Mode::OpenRead ? "rb" : mode == Mode::Create ? "w+b" : "r+b";
    f_ = std::fopen(path.c_str(), how);
    if (!f_)
        throw StreamError(std::string("Cannot open file. ") + std::strerror(errno), path);
    struct stat st;
    if (fstat(fileno(f_), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f_);
        f_ = nullptr;
        throw StreamError(std::string("Cannot open file. ") + std::strerror(EISDIR), path);
    }
}

FileStream::~FileStream()
{
    if (f_)
        std::fclose(f_);
}

std::size_t FileStream::Read(void* buffer, std::size_t count)
{
    return count ? std::fread(buffer, 1, count, f_) : 0;
}

std::size_t FileStream::Write(const void* buffer, std::size_t count)
{
    return count ? std::fwrite(buffer, 1, count, f_) : 0;
}

uint64_t FileStream::Seek(int64_t offset, SeekOrigin origin)
{
    int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (!(origin == SeekOrigin::Current && offset == 0) && fseeko(f_, off_t(offset), whence) != 0)
        throw StreamError("Seek failed", path_);
    off_t pos = ftello(f_);
    if (pos < 0)
        throw StreamError("Seek failed", path_);
    return uint64_t(pos);
}

uint64_t FileStream::Size()
{
    uint64_t here = Position();
    uint64_t end = Seek(0, SeekOrigin::End);
    Seek(int64_t(here), SeekOrigin::Begin);
    return end;
}
