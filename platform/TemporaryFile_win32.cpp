#include "TemporaryFile.h"

#include "RandomName.h"
#include "SystemError.h"
#include "TextConversion.h"
#include "WriteAll.h"

#include <windows.h>

namespace {

HANDLE H(void* handle)
{
    return static_cast<HANDLE>(handle);
}

} // namespace

CTemporaryFile::CTemporaryFile() : m_handle(INVALID_HANDLE_VALUE)
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH) {
        Fail(n == 0 ? ::GetLastError() : ERROR_BUFFER_OVERFLOW);
        return;
    }
    // Only this handle reads and writes it.
    std::wstring name;
    m_handle = CreateFreshFile(folder, GENERIC_READ | GENERIC_WRITE,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, name, m_error);
    m_path = folder + name;
}

CTemporaryFile::~CTemporaryFile()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(H(m_handle));
}

CString CTemporaryFile::Path() const
{
    return GbkFromWide(m_path);
}

bool CTemporaryFile::Fail(unsigned long error)
{
    if (m_error == 0)
        m_error = error ? error : ERROR_WRITE_FAULT;
    return false;
}

bool CTemporaryFile::Write(std::string_view bytes)
{
    if (!Ok())
        return false;
    const unsigned long error = WriteAll(m_handle, bytes, true, [this](std::string_view written) {
        m_checksum.Add(written);
        m_written += written.size();
    });
    return error == 0 || Fail(error);
}

bool CTemporaryFile::ReadBack(const std::function<bool(std::string_view)>& piece)
{
    if (!Ok())
        return false;
    const auto readAt = [this](std::uint64_t offset, char* buf, std::size_t size,
                               std::size_t& got) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD n = 0;
        if (!::ReadFile(H(m_handle), buf, static_cast<DWORD>(size), &n, &at)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_HANDLE_EOF)
                return Fail(error);
        }
        got = n;
        return true;
    };
    const ReadBackEnd end = ReadBackChecked(readAt, piece, m_written, m_checksum);
    if (end == ReadBackEnd::Altered)
        Fail(ERROR_ALTERED);
    return end == ReadBackEnd::Whole;
}

CString CTemporaryFile::Reason() const
{
    if (m_error == ERROR_ALTERED)
        return "临时文件已被修改，请重新生成。";
    return m_error ? SystemErrorText(m_error) : CString();
}
