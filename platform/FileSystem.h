#pragma once
// The file system as the library uses it: the program's own path, the user's data folder, whether
// a file can be made beside a path, and a file to append to.

#include "core/CString.h"

#include <cstdio>

namespace platform {
// The running program's full path; empty when it cannot be named in GBK.
CString ProgramPath();
// A folder for this user's data of the program, created if needed, ending in a separator.
CString UserDataFolder();
// Whether a file can be created (and removed again) in the folder of path.
bool CanCreateBeside(const CString& path);
// Opens path for appending in binary, creating the file when absent; null on failure.
std::FILE* OpenForAppend(const CString& path);
} // namespace platform
