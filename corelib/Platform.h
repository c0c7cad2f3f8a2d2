#pragma once
// What the library needs of the operating system, one implementation per platform.

#include "core/CString.h"

#include <cstdio>

namespace corelib {
// The running program's full path; empty when it cannot be named in GBK.
CString ProgramPath();
// A folder for this user's data of the program, created if needed, ending in a separator.
CString UserDataFolder();
// Whether a file can be created (and removed again) in the folder of path.
bool CanCreateBeside(const CString& path);
// Opens path for appending in binary, creating the file when absent; null on failure.
std::FILE* OpenForAppend(const CString& path);
} // namespace corelib
