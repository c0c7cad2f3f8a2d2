#include "WriteAll.h"

#include <windows.h>

#include <algorithm>

unsigned long WriteAll(void* handle, std::string_view bytes, bool toEnd,
                       const WrittenPiece& written)
{
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        OVERLAPPED atEnd{};
        atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
        DWORD done = 0;
        if (!::WriteFile(static_cast<HANDLE>(handle), bytes.data(), piece, &done,
                         toEnd ? &atEnd : nullptr)) {
            const DWORD error = ::GetLastError();
            return error ? error : ERROR_WRITE_FAULT;
        }
        if (done == 0)
            return ERROR_DISK_FULL;
        if (written)
            written(bytes.substr(0, done));
        bytes.remove_prefix(done);
    }
    return 0;
}
