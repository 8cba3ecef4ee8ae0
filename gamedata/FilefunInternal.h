#pragma once
// Small helpers shared by the asset-file sources; not part of the layer's interface.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace filefun {

// The sorted file names of a folder; false when it is not a folder that can be read.
bool ListFolder(const std::string& folder, std::vector<std::string>& names);

// The path of the file named name in folder, ignoring case (an exact match wins). An empty
// folder holds nothing: without a tileset folder, no file of the current folder is taken.
std::optional<std::string> FindFile(const std::string& folder, std::string_view name);

// The path as given when that file exists, else the file of its folder with that name
// ignoring case; empty when there is none.
std::string ResolveFile(const std::string& path);

// True when the file can be opened for reading and writing.
bool CanReadWrite(const std::string& path);

// A model is binary when its first four bytes read as a u32 are 0; a file shorter than
// four bytes is not.
bool IsBinaryModel(std::string_view bytes);

// The texture a line of a text model names: the word after a first word "bitmap" (any
// case); empty when there is none. Blanks, tabs, carriage returns and line feeds part words,
// so LF and CR LF lines read alike.
std::string_view BitmapName(std::string_view line);

// The bytes of a text model with each name on a "bitmap" line (as BitmapName reads it)
// replaced by the name newName gives for it; a null pointer leaves the name as it is. Only
// the name changes: the rest of each line, its end included, stays. Returns the names replaced.
int RenameBitmapNames(std::string_view bytes, const std::function<const std::string*(std::string_view)>& newName,
                      std::string& out);

// Calls fn with each line of bytes, its line feed included (a last line may have none), so
// that the lines put together are the bytes.
template <class Fn>
void ForEachLine(std::string_view bytes, Fn&& fn)
{
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::size_t size = end == std::string_view::npos ? bytes.size() : end + 1;
        fn(bytes.substr(0, size));
        bytes.remove_prefix(size);
    }
}

// True when the last three characters of name equal ext (three characters), ignoring case.
bool HasExt3(std::string_view name, std::string_view ext);

// The name without its last four characters; empty when it is shorter.
std::string BaseName4(std::string_view name);

// Copies src to folder/name unless the folder already holds that name in any letter case.
[[nodiscard]] bool CopyInto(const std::string& src, const std::string& folder, const std::string& name);

}  // namespace filefun
