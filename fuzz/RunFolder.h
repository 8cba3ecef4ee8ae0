#pragma once
// A private folder for one fuzzing run's files, made on first use and removed when the
// program ends.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"

inline const std::string& RunFolder(const char* tag)
{
    struct Folder {
        std::string path;
        ~Folder()
        {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder{[tag] {
        std::string templ = WritableFolderOr("") + "/tilvenna-fuzz-" + tag + "-XXXXXX";
        if (!mkdtemp(templ.data())) std::abort();
        return templ;
    }()};
    return folder.path;
}
