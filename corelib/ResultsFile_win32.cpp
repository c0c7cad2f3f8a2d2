#include "ResultsFile.h"

#include "WideText.h"
#include "WriteAll.h"

#include <windows.h>

#include <algorithm>

namespace {
HANDLE H(void* handle)
{
    return handle ? static_cast<HANDLE>(handle) : INVALID_HANDLE_VALUE;
}

// A text that a Win32 call writes into a buffer, the buffer grown until it fits; empty when the
// call fails.
template <class Get> std::wstring Fetched(Get get)
{
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = get(text.data(), static_cast<DWORD>(text.size()));
        if (n == 0)
            return std::wstring();
        if (n < text.size()) {
            text.resize(n);
            return text;
        }
        text.resize(n);
    }
}

// The path the system reaches through an open handle, every link followed; empty when unknown.
std::wstring FinalPath(HANDLE h)
{
    return Fetched([h](wchar_t* buf, DWORD size) {
        return ::GetFinalPathNameByHandleW(h, buf, size, FILE_NAME_NORMALIZED);
    });
}

// Whether the handle, opened by path, reached a file of another name or folder: a link. Windows
// shows its own links as reparse points; Wine shows a Unix symbolic link as the plain file it leads
// to, and only the final path tells. The folder is resolved on its own, so that a link in the
// folders above does not count.
bool LeadsElsewhere(HANDLE h, const std::wstring& path)
{
    std::wstring full = Fetched([&](wchar_t* buf, DWORD size) {
        return ::GetFullPathNameW(path.c_str(), size, buf, nullptr);
    });
    // A short (8.3) spelling of the name is the same file.
    if (std::wstring longer = Fetched(
            [&](wchar_t* buf, DWORD size) { return ::GetLongPathNameW(full.c_str(), buf, size); });
        !longer.empty())
        full = longer;
    const std::size_t slash = full.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return false;
    HANDLE folder = ::CreateFileW(full.substr(0, slash + 1).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    std::wstring expected = FinalPath(folder);
    ::CloseHandle(folder);
    const std::wstring reached = FinalPath(h);
    if (expected.empty() || reached.empty())
        return false;
    if (expected.back() != L'\\')
        expected += L'\\';
    expected += full.substr(slash + 1);
    return ::CompareStringOrdinal(expected.c_str(), static_cast<int>(expected.size()),
                                  reached.c_str(), static_cast<int>(reached.size()),
                                  TRUE) != CSTR_EQUAL;
}

enum class Removal { Removed, Absent, Link, Held, Failed };

// Removes the plain file at path. A link, and what it leads to, stay as they are: the file is
// opened without following a link, looked at, and deleted through that same handle, so that what
// is deleted is what was looked at.
Removal RemovePlainFile(const std::wstring& path, unsigned long& error)
{
    HANDLE h = ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return Removal::Held; // opened by another program without delete sharing
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            error = 0;
            return Removal::Absent;
        }
        return Removal::Failed;
    }
    Removal result = Removal::Removed;
    FILE_ATTRIBUTE_TAG_INFO info{};
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (!::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &info, sizeof info)) {
        error = ::GetLastError();
        result = Removal::Failed;
    } else if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || LeadsElsewhere(h, path)) {
        result = Removal::Link;
    } else if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = ERROR_ACCESS_DENIED; // what deleting a folder as a file says
        result = Removal::Failed;
    } else if (!::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose)) {
        error = ::GetLastError();
        result = Removal::Failed;
    }
    ::CloseHandle(h);
    return result;
}

bool SameFile(HANDLE held, const std::wstring& path, DWORD flags)
{
    HANDLE other =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    const bool same = ::GetFileInformationByHandle(held, &a) &&
                      ::GetFileInformationByHandle(other, &b) &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                      a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    ::CloseHandle(other);
    return same;
}
} // namespace

CResultsFile::~CResultsFile()
{
    Close();
}

bool CResultsFile::IsOpen() const
{
    return m_handle != nullptr;
}

void CResultsFile::Close()
{
    if (m_handle)
        ::CloseHandle(H(m_handle));
    m_handle = nullptr;
}

void CResultsFile::RemoveOld(const CString& path)
{
    unsigned long error = 0;
    RemovePlainFile(WideFromGbk(path.View()), error);
}

CResultsFile::Start CResultsFile::Begin(const CString& path)
{
    m_error = 0;
    m_written = 0;
    m_checksum = m_head = ByteChecksum();
    if (m_handle && path == m_path && IsAtPath()) {
        LARGE_INTEGER zero{};
        if (::SetFilePointerEx(H(m_handle), zero, nullptr, FILE_BEGIN) &&
            ::SetEndOfFile(H(m_handle)))
            return Start::Ok;
        m_error = ::GetLastError();
        return Start::Failed;
    }
    Close();
    m_path = path;
    const std::wstring wide = WideFromGbk(path.View());
    const Removal removal = RemovePlainFile(wide, m_error);
    switch (removal) {
    case Removal::Held:
        return Start::HeldElsewhere;
    case Removal::Link:
        m_error = ERROR_IS_LINK;
        return Start::HeldElsewhere;
    case Removal::Failed:
        return Start::Failed;
    case Removal::Removed:
    case Removal::Absent:
        break;
    }
    // Others may read the file while the page holds it, but not write or delete it. CREATE_NEW
    // never follows a link planted since.
    HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_error = ::GetLastError();
        if (m_error == ERROR_SHARING_VIOLATION)
            return Start::HeldElsewhere;
        // A file that is still there after its deletion succeeded lives on in another program
        // that opened it with delete sharing, and vanishes when that program closes it.
        if (removal == Removal::Removed &&
            (m_error == ERROR_FILE_EXISTS || m_error == ERROR_ACCESS_DENIED))
            return Start::DeletePending;
        // A name that is taken though nothing could be opened by it: under Wine, a link that
        // leads nowhere.
        if (m_error == ERROR_FILE_EXISTS) {
            m_error = ERROR_IS_LINK;
            return Start::HeldElsewhere;
        }
        return Start::Failed;
    }
    m_handle = h;
    return Start::Ok;
}

bool CResultsFile::Write(std::string_view records)
{
    if (!m_handle) {
        m_error = ERROR_INVALID_HANDLE;
        return false;
    }
    // At the file's end, wherever that is now: a file cut short from outside stays short.
    m_error = WriteAll(m_handle, records, true, [this](std::string_view piece) { Count(piece); });
    return m_error == 0;
}

bool CResultsFile::SizeNow(std::uint64_t& size)
{
    LARGE_INTEGER now{};
    if (!m_handle || !::GetFileSizeEx(H(m_handle), &now)) {
        m_error = m_handle ? ::GetLastError() : ERROR_INVALID_HANDLE;
        return false;
    }
    size = static_cast<std::uint64_t>(now.QuadPart);
    return true;
}

bool CResultsFile::ReadAt(std::uint64_t offset, char* buf, std::size_t size, std::size_t& got)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD n = 0;
    if (!m_handle) {
        m_error = ERROR_INVALID_HANDLE;
        return false;
    }
    if (!::ReadFile(H(m_handle), buf, static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30)), &n,
                    &at)) {
        m_error = ::GetLastError();
        if (m_error != ERROR_HANDLE_EOF)
            return false;
        m_error = 0; // reading at the end of the file
    }
    got = n;
    return true;
}

bool CResultsFile::IsAtPath() const
{
    return m_handle &&
           SameFile(H(m_handle), WideFromGbk(m_path.View()), FILE_FLAG_OPEN_REPARSE_POINT);
}

CString CResultsFile::SystemText(unsigned long error)
{
    return SystemErrorText(error);
}

bool CResultsFile::IsSameFile(const std::wstring& path) const
{
    return m_handle && SameFile(H(m_handle), path, 0);
}
