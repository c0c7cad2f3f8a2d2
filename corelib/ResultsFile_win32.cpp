#include "ResultsFile.h"

#include "WideText.h"

#include <windows.h>

#include <vector>

namespace {
HANDLE H(void* handle)
{
    return handle ? static_cast<HANDLE>(handle) : INVALID_HANDLE_VALUE;
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

CResultsFile::Start CResultsFile::Begin(const CString& path)
{
    m_error = 0;
    m_written = 0;
    if (m_handle && path == m_path) {
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
    bool deleted = false;
    if (::DeleteFileW(wide.c_str())) {
        deleted = true;
    } else {
        m_error = ::GetLastError();
        if (m_error == ERROR_SHARING_VIOLATION)
            return Start::HeldElsewhere;
        if (m_error != ERROR_FILE_NOT_FOUND && m_error != ERROR_PATH_NOT_FOUND)
            return Start::Failed;
        m_error = 0;
    }
    // Others may read the file while the page holds it, but not write or delete it.
    HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_error = ::GetLastError();
        if (m_error == ERROR_SHARING_VIOLATION)
            return Start::HeldElsewhere;
        // A file that is still there after its deletion succeeded lives on in another program
        // that opened it with delete sharing, and vanishes when that program closes it.
        if (deleted && (m_error == ERROR_FILE_EXISTS || m_error == ERROR_ACCESS_DENIED))
            return Start::DeletePending;
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
    while (!records.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(records.size(), 1u << 30));
        DWORD done = 0;
        if (!::WriteFile(H(m_handle), records.data(), piece, &done, nullptr) || done != piece) {
            m_error = ::GetLastError();
            if (m_error == 0)
                m_error = ERROR_DISK_FULL; // a short count without an error
            m_written += done;
            return false;
        }
        m_written += done;
        records.remove_prefix(done);
    }
    return true;
}

bool CResultsFile::Verify()
{
    LARGE_INTEGER size{};
    if (!m_handle || !::GetFileSizeEx(H(m_handle), &size)) {
        m_error = m_handle ? ::GetLastError() : ERROR_INVALID_HANDLE;
        return false;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) != m_written) {
        if (m_error == 0)
            m_error = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

bool CResultsFile::ReadBack(const std::function<bool(std::string_view)>& piece)
{
    if (!Verify())
        return false;
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(H(m_handle), zero, nullptr, FILE_BEGIN)) {
        m_error = ::GetLastError();
        return false;
    }
    std::vector<char> buf(1 << 20);
    std::uint64_t total = 0;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(H(m_handle), buf.data(), static_cast<DWORD>(buf.size()), &got, nullptr)) {
            m_error = ::GetLastError();
            return false;
        }
        if (got == 0)
            break;
        total += got;
        if (!piece(std::string_view(buf.data(), got)))
            return false;
    }
    // The file pointer stays at the end, where the next records of this batch would go.
    return total == m_written;
}

CString CResultsFile::ErrorText() const
{
    if (m_error == 0)
        return CString();
    return SystemErrorText(m_error);
}

bool CResultsFile::IsSameFile(const std::wstring& path) const
{
    if (!m_handle)
        return false;
    HANDLE other =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    const bool same = ::GetFileInformationByHandle(H(m_handle), &a) &&
                      ::GetFileInformationByHandle(other, &b) &&
                      a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
                      a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    ::CloseHandle(other);
    return same;
}
