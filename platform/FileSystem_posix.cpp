// The library's file-system calls on POSIX systems, where the native build and its tests run. Paths
// there are the system's own bytes.
#include "FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

CString ProgramPath()
{
    std::string buf(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0)
        return CString();
    buf.resize(static_cast<std::size_t>(n));
    return CString(std::move(buf));
}

static void MakeFolders(const std::string& path)
{
    for (std::size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/')
            mkdir(path.substr(0, i).c_str(), 0700);
}

CString UserDataFolder()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/share";
    else
        base = "/tmp";
    const std::string folder = base + "/Zanfor";
    MakeFolders(folder);
    return CString(folder + "/");
}

bool CanCreateBeside(const CString& path)
{
    const std::string probe = path.Str() + ".write-test." + std::to_string(getpid());
    std::FILE* f = std::fopen(probe.c_str(), "wb");
    if (!f)
        return false;
    std::fclose(f);
    std::remove(probe.c_str());
    return true;
}

std::FILE* OpenForAppend(const CString& path)
{
    return std::fopen(path.GetString(), "ab");
}

} // namespace platform
