#pragma once
// Files of the program's own that nobody can plant ahead: "zan" and eight random hexadecimal
// digits, then ".tmp", made exclusively.

#include <string>

// Creates a new file in folder (empty, or ending in a separator) under a fresh random name, with
// CREATE_NEW and no sharing: a name that exists, a link or not, is never opened, and another is
// drawn, up to a hundred (more that all exist: someone is planting them). The Windows handle,
// with the name in name and 0 in error; or INVALID_HANDLE_VALUE and the system's error.
void* CreateFreshFile(const std::wstring& folder, unsigned long access, unsigned long flags,
                      std::wstring& name, unsigned long& error);
