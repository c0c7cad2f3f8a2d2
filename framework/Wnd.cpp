#include "Wnd.h"

#include "platform/TextConversion.h"

#include <string>

std::wstring WindowTextWide(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

CString CWnd::GetWindowText() const
{
    return GbkFromWide(WindowTextWide(m_hWnd));
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

void AppendToBox(CWnd box, std::string_view gbk)
{
    const std::wstring text = WideFromGbk(gbk);
    const LRESULT length = ::GetWindowTextLengthW(box.m_hWnd);
    box.SendMessage(EM_SETSEL, static_cast<WPARAM>(length), length);
    box.SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}
