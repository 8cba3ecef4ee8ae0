#pragma once
// Files and folders. Tilesets come from Windows, so names in a folder are found without
// regard to letter case, and listings are sorted so results never depend on the disk.
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// Joins a folder and a name with '/'; a leading '\' or '/' on the name is dropped, so
// JoinPath(start, "\\MMTEMP.TGA") names MMTEMP.TGA in start.
std::string JoinPath(std::string_view folder, std::string_view name);
std::string ParentFolder(std::string_view path);   // "." when the path has no folder
std::string FileNameOf(std::string_view path);

// True when name can only mean a file right inside a folder: not empty, not "." or "..",
// without '/', '\' (a separator on the system tilesets come from) or NUL. Names read from
// tilesets, models and archives must pass this before they are joined to a folder.
bool IsPlainFileName(std::string_view name);
// folder/name for a plain file name; none for any other name, so that a name read from a
// file never leads out of the folder.
std::optional<std::string> JoinFileName(std::string_view folder, std::string_view name);

bool FileExists(const std::string& path);          // a regular file
bool IsDirectory(const std::string& path);
// What path names when that is no plain file, links followed: "a folder", "a named pipe",
// "a device", "a socket", or one of the kernel's files under /proc or /sys; empty for a
// regular file and for a path that names nothing (yet). Asks the file system only: opening
// a named pipe to look would wait for a writer.
std::string NonFileKind(const std::string& path);

// Regular files of a folder, sorted by name ignoring case; names only. When extension is
// given (".mdl"), only names ending with it, ignoring case.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view extension = {});

// The full path of the file in folder whose name equals name ignoring case; an exact match
// wins over others. Empty when there is none, or name is not a plain file name.
std::optional<std::string> FindNoCase(const std::string& folder, std::string_view name);

// Copies src to dst; never overwrites an existing dst, even one that appears while the
// copy runs. False when nothing was copied; a failed copy leaves nothing under dst's name.
[[nodiscard]] bool CopyNoOverwrite(const std::string& src, const std::string& dst);
// Not [[nodiscard]]: most callers remove a temporary file and have nothing to do when it
// is already gone.
bool RemoveFile(const std::string& path);
// why, when given, gets the reason of a failure.
[[nodiscard]] bool RenameFile(const std::string& from, const std::string& to, std::error_code* why = nullptr);

// False for a path that is no regular file (NonFileKind), without opening it.
bool ReadWholeFile(const std::string& path, std::string& out);
// Writes a uniquely named temporary file beside path, flushes it to disk and renames it
// over path: a failed write leaves the old file whole. A link is written through to the
// file it names, whose permissions are kept. why, when given, gets the reason of a failure.
[[nodiscard]] bool WriteFileAtomic(const std::string& path, std::string_view data, std::error_code* why = nullptr);

// One message for a file that could not be read or written: what failed, then the file and
// the system's reason ("Error on saving file !!!\n/home/me/x.set: Permission denied").
std::string FileErrorText(std::string_view what, std::string_view path, std::error_code why);

// New contents for a file, written whole and flushed beside it (beside the file a link
// names), but put in place only by Commit; dropped when the object goes without one. Lets
// several files get ready before any of them changes.
class StagedFile {
public:
    StagedFile(const std::string& path, std::string_view data);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    bool Ready() const { return !temp_.empty(); }
    // Replaces the file now at path (the same file, perhaps renamed within its folder since).
    [[nodiscard]] bool Commit(const std::string& path);
    // Why the contents could not be written or put in place.
    std::error_code Error() const { return error_; }

private:
    std::string temp_;
    std::error_code error_;
};

// A folder where the program may write its temporary files: the given one when writable,
// else the system's temporary folder.
std::string WritableFolderOr(const std::string& preferred);
