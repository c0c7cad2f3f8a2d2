#include "Platform.h"

#include "platform/TextConversion.h"

#include <shellapi.h>

CTime CTime::GetCurrentTime()
{
    CTime t;
    ::GetLocalTime(&t.m_st);
    return t;
}

bool ShellOpen(CWnd& owner, const CString& file)
{
    // Values above 32 mean success; the others are the shell's error codes.
    const HINSTANCE result = ::ShellExecuteW(
        owner.m_hWnd, L"open", WideFromGbk(file.View()).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
