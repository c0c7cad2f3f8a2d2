#pragma once
// A program as Windows finds and reads it: the file CreateProcess runs for a name, and an argument
// quoted so that the started program reads it back as given. Windows only.

#include <string>

// Appends arg as the C runtime and CommandLineToArgvW read it back: quoted when it holds blanks or
// quotes, with the backslashes before a quote doubled.
void AppendQuotedArgument(std::wstring& line, const std::wstring& arg);
// The file that CreateProcess runs for name, found as it finds it (".exe" added to a name without
// an extension), or else a file or folder of the name itself; false and empty when none.
bool FindProgram(const std::wstring& name, std::wstring& found);
bool IsFolder(const std::wstring& path);
// The system folder (GetSystemDirectoryW); empty when the system does not say.
std::wstring SystemFolder();
