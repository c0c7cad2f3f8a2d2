#pragma once
// A file that holds a batch too large to keep in memory, for as long as its owner lives. It lies in
// the system's temporary folder under a fresh random name that must not exist yet (a name that
// does, a link or not, is never opened, and another is drawn), shared with no other program, and
// deleted when its handle closes: when this object goes, and when the process ends however it
// ends. Every write is checked; a read-back compares what it reads with what was written.

#include "ByteChecksum.h"
#include "core/CString.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CTemporaryFile {
public:
    CTemporaryFile();
    ~CTemporaryFile();
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    // False once anything has failed.
    bool Ok() const { return m_error == 0; }
    // Appends bytes.
    bool Write(std::string_view bytes);
    // Reads the file from its start, a piece at a time; false on a failure, when piece returns
    // false, or when the file no longer holds exactly the bytes written.
    bool ReadBack(const std::function<bool(std::string_view)>& piece);
    std::uint64_t BytesWritten() const { return m_written; }
    // The file's path, GBK; empty before it was made.
    CString Path() const;
    // Why it failed, GBK: the system's words, or ours where the system has none.
    CString Reason() const;

    // A file that no longer holds the bytes written (changed from outside).
    static constexpr unsigned long ERROR_ALTERED = 0x20000002;

private:
    bool Fail(unsigned long error);

    std::wstring m_path;
    void* m_handle;
    std::uint64_t m_written = 0;
    ByteChecksum m_checksum;
    unsigned long m_error = 0;
};
