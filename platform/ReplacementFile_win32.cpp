#include "ReplacementFile.h"

#include "RandomName.h"
#include "SystemError.h"
#include "WriteAll.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

using Id = CReplacementFile::Id;

constexpr const char* MSG_TEMP_REPLACED = "临时文件已被其他程序替换，目标文件没有改动。";
constexpr const char* MSG_FOLDER_MOVED = "目标文件夹已被移动或改名。";
constexpr const char* MSG_TARGET_REPLACED = "目标文件已被其他程序替换。";

HANDLE H(void* handle)
{
    return static_cast<HANDLE>(handle);
}

bool IdOf(HANDLE h, Id& id)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info))
        return false;
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

enum class Link { Itself, Followed };

// Whether path leads to the file or folder id now. It is opened for no data: nothing is read or
// written through it, and sharing does not stand in the way. A file's name that is a Windows link
// is the link; a folder is reached as it was when it was first opened, through its links.
bool LeadsTo(const std::wstring& path, const Id& id, Link link = Link::Itself)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS |
                        (link == Link::Itself ? FILE_FLAG_OPEN_REPARSE_POINT : DWORD{0});
    HANDLE h =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    Id at;
    const bool same = IdOf(h, at) && at == id;
    ::CloseHandle(h);
    return same;
}

bool MarkForDeletion(HANDLE h, bool marked)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = marked;
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition);
}

// Renames the file of handle h onto path, replacing what is there.
bool RenameOnto(HANDLE h, const std::wstring& path)
{
    const std::size_t nameBytes = path.size() * sizeof(wchar_t);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::copy(path.begin(), path.end(), info->FileName); // the zero after it is in the buffer
    return ::SetFileInformationByHandle(h, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}

// Deletes the file at path when it is the file id, through the handle that was looked at.
void RemoveIfItIs(const std::wstring& path, const Id& id)
{
    HANDLE h = ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    Id at;
    if (IdOf(h, at) && at == id)
        MarkForDeletion(h, true);
    ::CloseHandle(h);
}

// Windows refuses to replace a read-only file; Wine would replace it.
bool IsReadOnlyFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder as it is opened: "." for the current one; a drive's root keeps its separator.
std::wstring FolderPath(const std::wstring& folder)
{
    if (folder.empty())
        return L".";
    if (folder.size() == 1 || folder[folder.size() - 2] == L':')
        return folder;
    return folder.substr(0, folder.size() - 1);
}

} // namespace

CReplacementFile::CReplacementFile(const std::wstring& target)
    : m_target(target), m_folder(target.substr(0, target.find_last_of(L"\\/") + 1)),
      m_folderHandle(INVALID_HANDLE_VALUE), m_handle(INVALID_HANDLE_VALUE)
{
    // Listing access, so that the hold counts against a rename; a folder that cannot be listed is
    // not held, and not checked.
    HANDLE folder = ::CreateFileW(FolderPath(m_folder).c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE && !IdOf(folder, m_folderId)) {
        ::CloseHandle(folder);
        folder = INVALID_HANDLE_VALUE;
    }
    m_folderHandle = folder;
    if (IsReadOnlyFile(m_target)) {
        Fail(ERROR_ACCESS_DENIED);
        return;
    }
    m_handle = CreateFreshFile(m_folder, GENERIC_WRITE | DELETE, FILE_ATTRIBUTE_NORMAL, m_fileName,
                               m_error);
    if (m_error != 0)
        return;
    if (!IdOf(H(m_handle), m_id) || !MarkForDeletion(H(m_handle), true)) {
        Fail(::GetLastError());
        return;
    }
    m_marked = true;
}

CReplacementFile::~CReplacementFile()
{
    if (m_handle != INVALID_HANDLE_VALUE) {
        if (!m_committed) {
            // What cannot be deleted at least gives its space back.
            FILE_END_OF_FILE_INFO empty{};
            ::SetFileInformationByHandle(H(m_handle), FileEndOfFileInfo, &empty, sizeof empty);
            if (!m_marked)
                MarkForDeletion(H(m_handle), true);
        }
        ::CloseHandle(H(m_handle));
        if (!m_committed)
            RemoveLeftover();
    }
    if (m_folderHandle != INVALID_HANDLE_VALUE)
        ::CloseHandle(H(m_folderHandle));
}

void CReplacementFile::RemoveLeftover() const
{
    // Windows has deleted the file with its handle. Wine deletes it by its name, and only while
    // the name still leads to it: still there at its name, it is deleted once more by that name.
    RemoveIfItIs(m_folder + m_fileName, m_id);
    if (m_folderHandle == INVALID_HANDLE_VALUE ||
        LeadsTo(FolderPath(m_folder), m_folderId, Link::Followed))
        return;
    // The folder was moved (under Wine, by a Unix program): looked for among its old neighbours.
    const std::wstring path = FolderPath(m_folder);
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return;
    const std::wstring parent = path.substr(0, slash + 1);
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileExW((parent + L"*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchLimitToDirectories, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..")
            continue;
        if (LeadsTo(parent + name, m_folderId, Link::Followed)) {
            RemoveIfItIs(parent + name + L"\\" + m_fileName, m_id);
            break;
        }
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

bool CReplacementFile::Write(std::string_view bytes)
{
    if (!Ok())
        return false;
    const unsigned long error = WriteAll(m_handle, bytes);
    return error == 0 || Fail(error);
}

bool CReplacementFile::Commit()
{
    if (!Ok())
        return false;
    if (!::FlushFileBuffers(H(m_handle)))
        return Fail(::GetLastError());
    // Wine renames by name: the names must still lead where they led.
    if (m_folderHandle != INVALID_HANDLE_VALUE &&
        !LeadsTo(FolderPath(m_folder), m_folderId, Link::Followed))
        return Trouble(MSG_FOLDER_MOVED);
    if (!LeadsTo(m_folder + m_fileName, m_id))
        return Trouble(MSG_TEMP_REPLACED);
    if (IsReadOnlyFile(m_target))
        return Fail(ERROR_ACCESS_DENIED);
    // A file marked for deletion is deleted under its new name too: the mark goes first, and
    // comes back when the rename fails.
    if (!MarkForDeletion(H(m_handle), false))
        return Fail(::GetLastError());
    m_marked = false;
    if (!RenameOnto(H(m_handle), m_target)) {
        const DWORD error = ::GetLastError();
        m_marked = MarkForDeletion(H(m_handle), true);
        return Fail(error);
    }
    m_committed = true;
    // The rename reaches the disk too, as MOVEFILE_WRITE_THROUGH made it.
    ::FlushFileBuffers(H(m_handle));
    if (!LeadsTo(m_target, m_id))
        return Trouble(MSG_TARGET_REPLACED);
    return true;
}

bool CReplacementFile::Fail(unsigned long error)
{
    if (m_error == 0)
        m_error = error ? error : ERROR_WRITE_FAULT;
    return false;
}

bool CReplacementFile::Trouble(const char* words)
{
    m_trouble = words;
    return false;
}

CString CReplacementFile::Reason() const
{
    if (m_trouble)
        return m_trouble;
    return m_error ? SystemErrorText(m_error) : CString();
}
