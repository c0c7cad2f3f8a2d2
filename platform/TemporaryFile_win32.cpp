#include "TemporaryFile.h"

#include "RandomName.h"
#include "SystemError.h"
#include "TextConversion.h"
#include "WriteAll.h"

#include <windows.h>

#include <vector>

namespace {

// Drawn names that all exist already: someone is planting them, and the file is not made.
constexpr int MAX_NAME_DRAWS = 100;

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
    for (int draw = 0; draw < MAX_NAME_DRAWS; ++draw) {
        m_path = folder + RandomFileName(draw);
        // No sharing: only this handle reads and writes it. CREATE_NEW never follows a link.
        HANDLE h =
            ::CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            m_handle = h;
            m_error = 0;
            return;
        }
        m_error = ::GetLastError();
        if (m_error != ERROR_FILE_EXISTS && m_error != ERROR_ALREADY_EXISTS)
            return;
    }
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
    std::vector<char> buf(1 << 20);
    ByteChecksum read;
    std::uint64_t total = 0;
    for (;;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(total);
        at.OffsetHigh = static_cast<DWORD>(total >> 32);
        DWORD got = 0;
        if (!::ReadFile(H(m_handle), buf.data(), static_cast<DWORD>(buf.size()), &got, &at)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_HANDLE_EOF)
                return Fail(error);
        }
        if (got == 0)
            break;
        const std::string_view bytes(buf.data(), got);
        read.Add(bytes);
        total += got;
        if (!piece(bytes))
            return false;
    }
    if (total != m_written || read != m_checksum)
        return Fail(ERROR_ALTERED);
    return true;
}

CString CTemporaryFile::Reason() const
{
    if (m_error == ERROR_ALTERED)
        return "临时文件已被修改，请重新生成。";
    return m_error ? SystemErrorText(m_error) : CString();
}
