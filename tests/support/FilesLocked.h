#pragma once
// Folders and files that cannot be written, also for root, who runs CI.
#include <filesystem>
#include <initializer_list>
#include <string>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempDir.h"

// While it lives, the named files of dir cannot be opened for writing ("." the folder
// itself). Root may write any file, so root is made to open files as an ordinary user meanwhile.
struct FilesLocked {
    FilesLocked(const TempDir& dir, std::initializer_list<const char*> names) : folder(dir.Path())
    {
        for (const char* name : names) ok &= chmod(dir.File(name).c_str(), name == std::string(".") ? 0555 : 0444) == 0;
        if (!root) return;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            ok &= lchown(entry.path().c_str(), 65534, 65534) == 0;
        ok &= chown(dir.Path().c_str(), 65534, 65534) == 0;
        setfsgid(65534);
        setfsuid(65534);
        ok &= setfsuid(uid_t(-1)) == 65534;   // asks without changing it
    }
    ~FilesLocked()
    {
        chmod(folder.c_str(), 0755);
        if (root) setfsuid(0), setfsgid(0);
    }
    const std::string folder;
    const bool root = geteuid() == 0;
    bool ok = true;
};
