#pragma once
// Every byte the program writes to a file or a pipe (the results file, Export's temporary file,
// the command line's outputs) goes through here, under one rule: a write may take fewer bytes than
// it was given, and the rest goes in the next write; a write that takes none and reports no error
// is a full disk (Wine reports one so).

#include <functional>
#include <string_view>

// What the system took of the bytes, piece by piece, in order.
using WrittenPiece = std::function<void(std::string_view)>;

#ifdef _WIN32
// handle is a HANDLE; toEnd writes every piece at the file's end, wherever that is then. Returns 0
// when every byte went, else the system's error number (GetLastError).
unsigned long WriteAll(void* handle, std::string_view bytes, bool toEnd = false,
                       const WrittenPiece& written = {});
#else
// Returns 0 when every byte went, else the system's error number (errno).
int WriteAll(int fd, std::string_view bytes, const WrittenPiece& written = {});
#endif
