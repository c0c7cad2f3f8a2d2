#pragma once
// The strings page's results file: emptied at the start of every batch and held open by the page
// from then on, so that other programs may read it but neither write nor delete it, and Export
// saves exactly the batch the page made. Every write is checked: a full disk can report success
// with a short count.

#include "core/Batch.h"
#include "core/CString.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class CResultsFile : public RecordSink {
public:
    enum class Start {
        Ok,
        HeldElsewhere, // another program (another instance, say) holds the file
        DeletePending, // the old file is deleted but another program keeps it alive
        Failed,        // see ErrorText
    };

    CResultsFile() = default;
    ~CResultsFile() override;
    CResultsFile(const CResultsFile&) = delete;
    CResultsFile& operator=(const CResultsFile&) = delete;

    // Starts a batch: an empty file at path, held from now on. A file this object already holds
    // is emptied in place.
    Start Begin(const CString& path);
    // Appends records; false, with the reason kept, when not all of them reached the file.
    bool Write(std::string_view records) override;
    // After a batch: whether the file holds exactly the bytes written since Begin.
    bool Verify();
    // Reads the batch back from the start, a piece at a time; false on any failure, or when the
    // file no longer holds what was written.
    bool ReadBack(const std::function<bool(std::string_view)>& piece);
    void Close();

    bool IsOpen() const;
    const CString& Path() const { return m_path; }
    std::uint64_t BytesWritten() const { return m_written; }
    // The system's words for the last failure, or an empty text.
    CString ErrorText() const;
#ifdef _WIN32
    // Whether path names this very file, under whatever spelling.
    bool IsSameFile(const std::wstring& path) const;
#endif

private:
    CString m_path;
    std::uint64_t m_written = 0;
    unsigned long m_error = 0; // the platform's error number
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};
