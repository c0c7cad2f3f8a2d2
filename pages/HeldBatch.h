#pragma once
// The numbers page's batch as the page keeps it for its box and its Export: in memory while the box
// could show it, in a temporary file once it is larger (platform/TemporaryFile: in the system's
// temporary folder, gone with the page or the process; beside the program the page writes
// nothing), until the next batch. The batch writes it from the worker; the window reads it only
// after the worker has ended.

#include "core/Batch.h"
#include "core/BoxRules.h"
#include "core/CString.h"
#include "platform/TemporaryFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CHeldBatch : public RecordSink {
public:
    // Forgets the batch; its temporary file goes.
    void Clear();
    bool Write(std::string_view records) override;
    // In memory, and within what the box shows.
    bool FitsTheBox() const { return !m_file && m_size.FitsTheBox(); }
    // The batch, while it is in memory.
    const std::string& Text() const { return m_text; }
    std::uint64_t Bytes() const { return static_cast<std::uint64_t>(m_size.Bytes()); }
    // Hands the whole batch to piece, from memory or from the file; false when the file failed or
    // piece refused.
    bool ReadBack(const std::function<bool(std::string_view)>& piece);
    // The temporary file's path and why it failed, when it did.
    CString FilePath() const { return m_file ? m_file->Path() : CString(); }
    CString Reason() const { return m_file ? m_file->Reason() : CString(); }

private:
    std::string m_text;
    ListSize m_size;
    std::unique_ptr<CTemporaryFile> m_file;
};
