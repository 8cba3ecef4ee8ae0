#pragma once
// Byte streams for the picture readers and writers: a file, a growable memory buffer and a
// read-only view of bytes someone else owns. ReadBuffer reads exactly or throws ReadError,
// so a reader never works on bytes it did not get.
#include "platform/ByteIO.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Opening, seeking or writing failed.
class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class SeekOrigin { Begin, Current, End };

class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Writes count bytes; returns how many were written.
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // Moves the position and returns the new one. A position before the start throws
    // StreamError; one past the end is allowed (reads there return nothing).
    virtual uint64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    virtual uint64_t Size();

    uint64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(uint64_t position);
    // Bytes from the position to the end; 0 when the position lies past the end.
    uint64_t Remaining();

    void ReadBuffer(void* buffer, std::size_t count);        // exact, else ReadError
    void WriteBuffer(const void* buffer, std::size_t count); // exact, else StreamError
};

// A growable buffer the stream owns.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string_view bytes) : data_(bytes.begin(), bytes.end()) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    uint64_t Seek(int64_t offset, SeekOrigin origin) override;
    uint64_t Size() override { return data_.size(); }

    const std::vector<uint8_t>& Data() const { return data_; }
    std::string_view View() const { return {reinterpret_cast<const char*>(data_.data()), data_.size()}; }

private:
    std::vector<uint8_t> data_;
    uint64_t pos_ = 0;
};

// Reads bytes the caller owns and keeps alive; writing throws StreamError.
class ReadOnlyMemoryStream : public Stream {
public:
    ReadOnlyMemoryStream(const void* data, std::size_t size) : p_(static_cast<const uint8_t*>(data)), size_(size) {}
    explicit ReadOnlyMemoryStream(std::string_view bytes) : ReadOnlyMemoryStream(bytes.data(), bytes.size()) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    uint64_t Seek(int64_t offset, SeekOrigin origin) override;
    uint64_t Size() override { return size_; }

private:
    const uint8_t* p_;
    std::size_t size_;
    uint64_t pos_ = 0;
};

class FileStream : public Stream {
public:
    enum class Mode { OpenRead, Create, OpenReadWrite };
    // Throws StreamError naming the file when it cannot be opened.
    FileStream(const std::string& path, Mode mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    uint64_t Seek(int64_t offset, SeekOrigin origin) override;
    uint64_t Size() override;

private:
    std::FILE* f_ = nullptr;
    std::string path_;
};
