#pragma once
// A text file that behaves as Windows text mode does: CR LF arrives as one line end,
// LF written comes out as CR LF, so written files match the game's tools byte for byte.
// Reading loads the whole file; writing collects the text and replaces the file only
// when Close() has the complete new one on disk. A file opened to write and never closed
// (an exception half way through a save) leaves the old file as it was.
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

class TextFile {
public:
    enum class Mode { Read, Write };

    TextFile() = default;
    ~TextFile() { Discard(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // A file still open is dropped first, as Discard does.
    [[nodiscard]] bool Open(const std::string& path, Mode mode);
    bool IsOpen() const { return open_; }
    const std::string& Path() const { return path_; }

    // Opens an in-memory text for reading (tests, archive contents).
    void OpenText(std::string contents);
    // Opens for writing into memory only: Close touches no file and Written() keeps the text.
    void OpenWriteText();

    // Reads the next line with its line end ('\n'), at most maxChars characters; a longer
    // line comes in pieces. Returns false at the end of the file.
    bool ReadLine(std::string& line, std::size_t maxChars);
    // Reads the next whole line, however long.
    bool ReadLine(std::string& line);
    bool AtEnd() const { return pos_ >= data_.size(); }
    long Tell() const { return long(pos_); }
    void Seek(long pos);
    // The number of the line the last read began in, 1 for the first; 0 before any read.
    long LineNumber() const { return lastLine_; }
    // The whole file as read, its bytes as they are on disk.
    const std::string& Contents() const { return data_; }

    void Write(std::string_view text);
    void Printf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    // The text written so far, with CR LF line ends.
    const std::string& Written() const { return data_; }

    // For a file opened to write: writes the collected text to a temporary file beside the
    // target and renames it over the target. Returns false, leaving the old file whole, when
    // that fails. For a file opened to read it only closes.
    [[nodiscard]] bool Close();
    // Closes without writing anything: a file read is done with, and a file opened to write
    // leaves the target as it was. The destructor does the same.
    void Discard();
    // Why the last Open to write or the last Close failed; empty after one that did not.
    std::error_code Error() const { return error_; }

private:
    std::string path_;
    std::string data_;
    std::size_t pos_ = 0;
    long lineEnds_ = 0; // before pos_
    long lastLine_ = 0;
    Mode mode_ = Mode::Read;
    bool open_ = false;
    bool toDisk_ = false;
    std::error_code error_;
};
