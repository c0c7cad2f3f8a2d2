#pragma once
// A file that takes another's place whole or not at all (Export's save). It is made beside its
// target under a fresh random name that must not exist yet: a name that does, a link or not, is
// never opened, and another is drawn. Every byte goes through that one handle; the file reaches the
// disk and is renamed onto the target through the same handle. Until the rename it is marked for
// deletion, so a failure, a stop or a closed window leaves nothing behind. Its folder is held open
// meanwhile without delete sharing: Windows refuses to rename a folder while a file in it is open,
// and the hold makes Wine refuse Windows programs the same.
//
// Under Wine a rename or deletion by handle still goes by the name the file was opened by, and a
// Unix program can change what that name leads to (swap in a link, move the folder). So before
// the rename the folder and the temporary name must still lead to this folder and this file
// (volume and file index), and after it the target: a mismatch is a failure, never a success, and
// nothing is renamed through a name that leads elsewhere. Wine deletes a marked file only while
// its name still leads to it; when a Unix program has moved the folder away, the folder is looked
// for among its old neighbours by its index, and the file deleted there.

#include "core/CString.h"

#include <string>
#include <string_view>

class CReplacementFile {
public:
    explicit CReplacementFile(const std::wstring& target);
    // Unless Commit succeeded: the file is gone, and the target as it was.
    ~CReplacementFile();
    CReplacementFile(const CReplacementFile&) = delete;
    CReplacementFile& operator=(const CReplacementFile&) = delete;

    // False once anything has failed.
    bool Write(std::string_view bytes);
    // Brings the bytes to the disk and puts the file in the target's place.
    bool Commit();
    bool Ok() const { return m_error == 0 && !m_trouble; }
    // Why it failed, in GBK: the system's words, or ours where the system has none.
    CString Reason() const;

    // A file's identity on its volume, whatever its names.
    struct Id {
        unsigned long volume = 0, high = 0, low = 0;
        bool operator==(const Id&) const = default;
    };

private:
    bool Fail(unsigned long error);
    bool Trouble(const char* words);
    void RemoveLeftover() const;

    std::wstring m_target;
    std::wstring m_folder;   // with its trailing separator, or empty for the current folder
    std::wstring m_fileName; // the temporary file's name in m_folder
    void* m_folderHandle;
    void* m_handle;
    Id m_folderId, m_id;
    bool m_marked = false;    // for deletion when closed
    bool m_committed = false; // renamed onto the target: never deleted
    unsigned long m_error = 0;
    const char* m_trouble = nullptr;
};
