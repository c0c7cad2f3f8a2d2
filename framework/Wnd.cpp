#include "Wnd.h"

#include "corelib/WideText.h"

#include <string>

CString CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0)
        return CString();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return GbkFromWide(text);
}

void CWnd::SetWindowText(const CString& text)
{
    ::SetWindowTextW(m_hWnd, WideFromGbk(text.View()).c_str());
}

int CWnd::MessageBox(const CString& text, const CString& caption, UINT type)
{
    return ::MessageBoxW(m_hWnd, WideFromGbk(text.View()).c_str(),
                         WideFromGbk(caption.View()).c_str(), type);
}
