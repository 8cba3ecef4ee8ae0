#include "platform/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <sys/stat.h>

#include "platform/Files.h"

bool TextFile::Open(const std::string& path, Mode mode)
{
    Discard();
    path_ = path;
    mode_ = mode;
    data_.clear();
    pos_ = 0;
    lineEnds_ = lastLine_ = 0;
    toDisk_ = mode == Mode::Write;
    error_.clear();
    if (mode == Mode::Read) {
        if (!ReadWholeFile(path, data_)) return false;
    } else {
        // Fail early, as fopen would, when the place cannot take a file, and say why as it would.
        struct stat st;
        if (IsDirectory(path)) error_ = make_error_code(std::errc::is_a_directory);
        else if (::stat(ParentFolder(path).c_str(), &st) != 0) error_ = std::error_code(errno, std::generic_category());
        else if (!S_ISDIR(st.st_mode)) error_ = make_error_code(std::errc::not_a_directory);
        if (error_) return false;
    }
    open_ = true;
    return true;
}

void TextFile::OpenText(std::string contents)
{
    Discard();
    path_.clear();
    data_ = std::move(contents);
    pos_ = 0;
    lineEnds_ = lastLine_ = 0;
    mode_ = Mode::Read;
    toDisk_ = false;
    open_ = true;
}

void TextFile::OpenWriteText()
{
    Discard();
    path_.clear();
    mode_ = Mode::Write;
    toDisk_ = false;
    open_ = true;
}

bool TextFile::ReadLine(std::string& line, std::size_t maxChars)
{
    line.clear();
    if (pos_ >= data_.size() || maxChars == 0) return false;
    lastLine_ = lineEnds_ + 1;
    while (pos_ < data_.size() && line.size() < maxChars) {
        char c = data_[pos_];
        if (c == '\r' && pos_ + 1 < data_.size() && data_[pos_ + 1] == '\n') {
            line.push_back('\n');
            pos_ += 2;
            ++lineEnds_;
            break;
        }
        line.push_back(c);
        ++pos_;
        if (c == '\n') {
            ++lineEnds_;
            break;
        }
    }
    return true;
}

bool TextFile::ReadLine(std::string& line)
{
    return ReadLine(line, std::string::npos);
}

void TextFile::Seek(long pos)
{
    if (pos < 0) pos = 0;
    const std::size_t to = std::size_t(pos) > data_.size() ? data_.size() : std::size_t(pos);
    // Readers step back a line or so: counting the line ends passed over stays cheap.
    const auto from = data_.begin();
    if (to < pos_)
        lineEnds_ -= long(std::count(from + long(to), from + long(pos_), '\n'));
    else
        lineEnds_ += long(std::count(from + long(pos_), from + long(to), '\n'));
    pos_ = to;
}

void TextFile::Write(std::string_view text)
{
    if (!open_ || mode_ != Mode::Write) return;
    for (char c : text) {
        if (c == '\n') data_.push_back('\r');
        data_.push_back(c);
    }
}

void TextFile::Printf(const char* fmt, ...)
{
    char small[512];
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(small, sizeof small, fmt, ap);
    va_end(ap);
    if (n >= 0 && std::size_t(n) < sizeof small) {
        Write(std::string_view(small, std::size_t(n)));
    } else if (n >= 0) {
        std::string big(std::size_t(n) + 1, '\0');
        std::vsnprintf(big.data(), big.size(), fmt, ap2);
        big.resize(std::size_t(n));
        Write(big);
    }
    va_end(ap2);
}

bool TextFile::Close()
{
    if (!open_) return true;
    open_ = false;
    bool ok = true;
    error_.clear();
    if (mode_ == Mode::Write && toDisk_) ok = WriteFileAtomic(path_, data_, &error_);
    if (mode_ == Mode::Read) {
        data_.clear();
        pos_ = 0;
        lineEnds_ = 0;
    }
    return ok;
}

void TextFile::Discard()
{
    open_ = false;
    data_.clear();
    pos_ = 0;
    lineEnds_ = lastLine_ = 0;
}
