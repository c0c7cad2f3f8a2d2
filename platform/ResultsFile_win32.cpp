#include "ResultsFile.h"

#include "TextConversion.h"
#include "WriteAll.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
#include <vector>

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

// A file's identity on its volume, the same under any name that reaches it.
struct FileId {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileId&) const = default;
};

bool IdOf(HANDLE h, FileId& id)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info))
        return false;
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

bool IdOf(const std::wstring& path, FileId& id)
{
    HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = IdOf(h, id);
    ::CloseHandle(h);
    return ok;
}

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// How many entries of folder are named name, ignoring case; -1 when the folder cannot be listed.
int EntriesNamed(const std::wstring& folder, std::wstring_view name)
{
    HANDLE h = ::CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    std::vector<LONGLONG> buf(64 * 1024 / sizeof(LONGLONG)); // aligned as the entries need
    const DWORD size = static_cast<DWORD>(buf.size() * sizeof(LONGLONG));
    int count = 0;
    for (auto part = FileIdBothDirectoryRestartInfo;
         ::GetFileInformationByHandleEx(h, part, buf.data(), size);
         part = FileIdBothDirectoryInfo) {
        for (auto* at = reinterpret_cast<const char*>(buf.data());;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            if (SameIgnoringCase(
                    std::wstring_view(entry->FileName, entry->FileNameLength / sizeof(wchar_t)),
                    name))
                ++count;
            if (entry->NextEntryOffset == 0)
                break;
            at += entry->NextEntryOffset;
        }
    }
    const bool whole = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::CloseHandle(h);
    return whole ? count : -1;
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
    const std::wstring folder = full.substr(0, slash + 1), name = full.substr(slash + 1);
    HANDLE named = ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    std::wstring expected = FinalPath(named);
    FileId namedId;
    const bool haveId = IdOf(named, namedId);
    ::CloseHandle(named);
    const std::wstring reached = FinalPath(h);
    const std::size_t reachedSlash = reached.find_last_of(L'\\');
    if (expected.empty() || reachedSlash == std::wstring::npos)
        return false;
    if (expected.back() != L'\\')
        expected += L'\\';
    // The folder reached is the folder named, not one spelled alike: Linux folders whose names
    // differ only in case are two folders. Its path as the system spells it tells, or else its
    // identity.
    if (reached.compare(0, reachedSlash + 1, expected) != 0) {
        FileId reachedId;
        if (!haveId || !IdOf(reached.substr(0, reachedSlash + 1), reachedId) ||
            reachedId != namedId)
            return true;
    }
    const std::wstring_view reachedName = std::wstring_view(reached).substr(reachedSlash + 1);
    if (reachedName == name)
        return false;
    if (!SameIgnoringCase(reachedName, name))
        return true;
    // The name reached differs only in case. Windows, or Wine where no entry is spelled exactly
    // so, found the one file under another spelling; where names are case-sensitive, a link named
    // exactly so can lead to an entry spelled otherwise, and then both are in the folder. Only a
    // single entry of the name, whatever its case, is the file itself.
    return EntriesNamed(folder, name) != 1;
}

// What a name holds.
enum class AtName {
    Absent,
    OurFile, // a plain file, ours to replace
    Link,    // left with what it leads to
    NotOurs, // held by another program, read-only or not a file (a FIFO): left as it is
    Failed,
};

// Looks at what path names through a handle opened without following a link and, when it is a
// plain file and remove is set, deletes it through that same handle, so that what is deleted is
// what was looked at. error tells why a name is not ours, or why the look failed; id is the plain
// file's identity.
AtName LookAt(const std::wstring& path, bool remove, unsigned long& error, FileId* id)
{
    HANDLE h = ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION)
            return AtName::NotOurs; // opened by another program without delete sharing
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            error = 0;
            return AtName::Absent;
        }
        return AtName::Failed;
    }
    AtName result = AtName::OurFile;
    FILE_ATTRIBUTE_TAG_INFO info{};
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (!::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &info, sizeof info)) {
        error = ::GetLastError();
        result = AtName::Failed;
    } else if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || LeadsElsewhere(h, path)) {
        result = AtName::Link;
    } else if (::GetFileType(h) != FILE_TYPE_DISK) {
        error = CResultsFile::ERROR_NOT_PLAIN_FILE;
        result = AtName::NotOurs;
    } else if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = ERROR_ACCESS_DENIED; // what deleting a folder as a file says
        result = AtName::Failed;
    } else if (info.FileAttributes & FILE_ATTRIBUTE_READONLY) {
        error = ERROR_FILE_READ_ONLY; // the user's own: its attribute stays as they set it
        result = AtName::NotOurs;
    } else if (id && !IdOf(h, *id)) {
        error = ::GetLastError();
        result = AtName::Failed;
    } else if (remove &&
               !::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose)) {
        error = ::GetLastError();
        result = AtName::Failed;
    }
    ::CloseHandle(h);
    return result;
}

// Begin's answer to a name that is not ours to replace.
CResultsFile::Start Refused(AtName at, unsigned long& error)
{
    if (at == AtName::Link)
        error = CResultsFile::ERROR_IS_LINK;
    return at == AtName::Failed ? CResultsFile::Start::Failed : CResultsFile::Start::HeldElsewhere;
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

void CResultsFile::Remove()
{
    FileId held;
    const bool known = m_handle && IdOf(H(m_handle), held);
    // The handle shares no deletion: it goes first, and the name is opened anew and compared.
    Close();
    if (!known)
        return;
    const std::wstring wide = WideFromGbk(m_path.View());
    HANDLE h = ::CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    FileId at;
    FILE_ATTRIBUTE_TAG_INFO info{};
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (IdOf(h, at) && at == held &&
        ::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &info, sizeof info) &&
        !(info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !LeadsElsewhere(h, wide))
        ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose);
    ::CloseHandle(h);
}

void CResultsFile::RemoveOld(const CString& path)
{
    unsigned long error = 0;
    LookAt(WideFromGbk(path.View()), true, error, nullptr);
}

CResultsFile::Start CResultsFile::Begin(const CString& path)
{
    m_error = 0;
    m_written = 0;
    m_checksum.Reset();
    m_head.Reset();
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
    FileId old;
    const AtName before = LookAt(wide, true, m_error, &old);
    if (before != AtName::OurFile && before != AtName::Absent)
        return Refused(before, m_error);
    // Others may read the file while the page holds it, but not write or delete it. CREATE_NEW
    // never follows a link planted since.
    HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_error = ::GetLastError();
        if (m_error == ERROR_SHARING_VIOLATION)
            return Start::HeldElsewhere;
        const bool deleted = before == AtName::OurFile;
        if (m_error != ERROR_FILE_EXISTS && !(deleted && m_error == ERROR_ACCESS_DENIED))
            return Start::Failed;
        // The name is taken again: what took it tells why.
        FileId now;
        const AtName after = LookAt(wide, false, m_error, &now);
        // The old file, deleted, lives on in another program that opened it with delete sharing,
        // and vanishes when that program closes it. Windows refuses to open it meanwhile; Wine
        // opens it.
        if (deleted && ((after == AtName::OurFile && now == old) ||
                        (after == AtName::Failed && m_error == ERROR_ACCESS_DENIED)))
            return Start::DeletePending;
        switch (after) {
        // Made by another program since.
        case AtName::OurFile:
            m_error = ERROR_FILE_EXISTS;
            return Start::HeldElsewhere;
        // Taken though nothing can be opened by it: under Wine, a link that leads nowhere.
        case AtName::Absent:
            m_error = ERROR_IS_LINK;
            return Start::HeldElsewhere;
        // A link planted since, among others.
        default:
            return Refused(after, m_error);
        }
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

bool CResultsFile::IsSameFile(const std::wstring& path) const
{
    return m_handle && SameFile(H(m_handle), path, 0);
}
