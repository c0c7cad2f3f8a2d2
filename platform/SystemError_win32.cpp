#include "SystemError.h"

#include "TextConversion.h"

#include <windows.h>

#include <string>

namespace {

// The words as the system gives them (UTF-16), or nothing when it has none.
std::wstring SystemErrorWords(unsigned long error)
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide(text ? text : L"", n);
    if (text)
        LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' '))
        wide.pop_back();
    return wide;
}

} // namespace

CString SystemErrorText(unsigned long error)
{
    std::wstring wide = SystemErrorWords(error);
    if (wide.empty())
        wide = L"\x9519\x8bef " + std::to_wstring(error); // 错误 <number>
    return GbkFromWide(wide);
}

std::string SystemErrorUtf8(unsigned long error)
{
    const std::wstring wide = SystemErrorWords(error);
    return wide.empty() ? "error " + std::to_string(error) : Utf8FromWide(wide);
}
