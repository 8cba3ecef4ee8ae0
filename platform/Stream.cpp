#include "platform/Stream.h"

#include <cerrno>
#include <cstring>
#include <limits>

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
        throw StreamError("Stream position out of range");
    Seek(int64_t(position), SeekOrigin::Begin);
}

uint64_t Stream::Remaining()
{
    uint64_t pos = Position();
    uint64_t size = Size();
    return pos < size ? size - pos : 0;
}

void Stream::ReadBuffer(void* buffer, std::size_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw ReadError("Stream read error");
}

void Stream::WriteBuffer(const void* buffer, std::size_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw StreamError("Stream write error");
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
        throw StreamError("Cannot open file \"" + path + "\". " + std::strerror(errno));
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
        throw StreamError("Seek failed in \"" + path_ + "\"");
    off_t pos = ftello(f_);
    if (pos < 0)
        throw StreamError("Seek failed in \"" + path_ + "\"");
    return uint64_t(pos);
}

uint64_t FileStream::Size()
{
    uint64_t here = Position();
    uint64_t end = Seek(0, SeekOrigin::End);
    Seek(int64_t(here), SeekOrigin::Begin);
    return end;
}
