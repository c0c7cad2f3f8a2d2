#pragma once
// The strings page's results file: emptied at the start of every batch and held open by the page
// from then on, so that other programs may read it but neither write nor delete it, and Export
// saves exactly the batch the page made. Every write is checked: a full disk can report success
// with a short count. The file is never taken through a link: deleting or writing what a link
// planted at the name leads to would cost a file elsewhere.

#include "ByteChecksum.h"
#include "core/Batch.h"
#include "core/CString.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Export's refusal of a results file that no longer holds the batch, and the reason a batch whose
// file was altered from outside gives.
constexpr const char* MSG_RESULTS_ALTERED = "结果文件已被修改，请重新生成。";

class CResultsFile : public RecordSink {
public:
    enum class Start {
        Ok,
        // The name is not this page's to take, and is left as it is with what it leads to: another
        // program (another instance, say) holds the file, the file is read-only, or the name is a
        // link or something other than a plain file (a FIFO).
        HeldElsewhere,
        DeletePending, // the old file is deleted but another program keeps it alive
        Failed,        // see ErrorText
    };

    CResultsFile() = default;
    ~CResultsFile() override;
    CResultsFile(const CResultsFile&) = delete;
    CResultsFile& operator=(const CResultsFile&) = delete;

    // Removes a results file left at path by an earlier run: a plain file that is not read-only,
    // never a link nor what it leads to.
    static void RemoveOld(const CString& path);
    // Starts a batch: an empty file at path, held from now on. A file this object already holds
    // is emptied in place while path still names it; else a new one is made at path.
    Start Begin(const CString& path);
    // Appends records at the file's end; false, with the reason kept, when not all of them reached
    // the file.
    bool Write(std::string_view records) override;
    // After a batch: whether the file is as long as the bytes written since Begin and begins with
    // the bytes written first. Every write goes to the file's end, so a file cut short from outside
    // stays short, or, should a write land beyond the cut, begins with zeros: either is caught
    // here. Reading the whole batch back is left to Export.
    bool Verify();
    // Whether path still names the held file: false once it was removed or replaced from outside.
    // The held file keeps the batch all the same.
    bool IsAtPath() const;
    // Reads the batch back from the start, a piece at a time; false on any failure, or when the
    // file no longer holds exactly the bytes written (their checksum differs).
    bool ReadBack(const std::function<bool(std::string_view)>& piece);
    void Close();
    // Closes the file and deletes it, when its name still leads to the very file held (the same
    // file on the same volume, reached without a link): a file that is not provably this one is
    // left alone.
    void Remove();

    bool IsOpen() const;
    const CString& Path() const { return m_path; }
    std::uint64_t BytesWritten() const { return m_written; }
    // The words for the last failure, the system's or ours, or an empty text.
    CString ErrorText() const;
#ifdef _WIN32
    // Whether path names this very file, under whatever spelling.
    bool IsSameFile(const std::wstring& path) const;
#endif

    // Failures of our own beside the platform's error numbers (application-defined on Windows).
    static constexpr unsigned long ERROR_IS_LINK = 0x20000001;
    static constexpr unsigned long ERROR_ALTERED = 0x20000002;
    static constexpr unsigned long ERROR_NOT_PLAIN_FILE = 0x20000003; // a FIFO, a device

private:
    // The first bytes of a batch, read back by Verify.
    static constexpr std::size_t HEAD_BYTES = 64 * 1024;

    // Counts bytes that reached the file.
    void Count(std::string_view written);
    // The file's size now; false, with the reason kept, when it cannot be had.
    bool SizeNow(std::uint64_t& size);
    // Reads up to size bytes at offset; got 0 at the end of the file. False, with the reason kept,
    // on failure.
    bool ReadAt(std::uint64_t offset, char* buf, std::size_t size, std::size_t& got);

    CString m_path;
    std::uint64_t m_written = 0;
    ByteChecksum m_checksum;   // of the bytes written since Begin
    ByteChecksum m_head;       // of the first HEAD_BYTES of them
    unsigned long m_error = 0; // the platform's error number, or one of ours
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};
