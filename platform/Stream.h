#pragma once
// Byte streams for the picture readers, the game data and the writers: a file, a growable
// memory buffer and a read-only view of bytes someone else owns. ReadBuffer and the checked
// little- and big-endian reads read exactly or throw ReadError, naming the file and the
// offset, so a reader never works on bytes it did not get.
#include "platform/ByteIO.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Opening, seeking or writing failed.
class StreamError : public IoError {
public:
    using IoError::IoError;
};

enum class SeekOrigin { Begin, Current, End };

class Stream {
public:
    virtual ~Stream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // The next count bytes where the stream keeps them, taken as a read, for a reader that
    // converts them as it goes; nullptr (nothing taken) when fewer remain or the stream
    // holds no bytes of its own in memory.
    virtual const uint8_t* ReadInPlace(std::size_t count);
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

    // Checked reads at the position; a short read throws ReadError.
    uint8_t U8();
    uint16_t U16LE();
    uint32_t U32LE();
    int16_t I16LE() { return int16_t(U16LE()); }
    int32_t I32LE() { return int32_t(U32LE()); }
    uint16_t U16BE();
    uint32_t U32BE();
    int16_t I16BE() { return int16_t(U16BE()); }
    int32_t I32BE() { return int32_t(U32BE()); }

    // Throws ReadError unless count bytes remain: check a size read from the data before
    // allocating for it.
    void Require(uint64_t count);
    void Skip(uint64_t count);   // Require, then step over
    // Exactly count bytes; a count larger than what remains throws before anything is
    // allocated.
    std::string ReadString(std::size_t count);

    // Where the bytes come from, for error messages: a file's path, empty for memory.
    virtual std::string Name() const { return {}; }

protected:
    [[noreturn]] void readError(uint64_t offset);
};

// A growable buffer the stream owns.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string_view bytes) : data_(bytes.begin(), bytes.end()) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    const uint8_t* ReadInPlace(std::size_t count) override;
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
    const uint8_t* ReadInPlace(std::size_t count) override;
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
    // Throws StreamError naming the file when it cannot be opened; a folder cannot.
    FileStream(const std::string& path, Mode mode);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    uint64_t Seek(int64_t offset, SeekOrigin origin) override;
    uint64_t Size() override;
    std::string Name() const override { return path_; }

private:
    std::FILE* f_ = nullptr;
    std::string path_;
};
