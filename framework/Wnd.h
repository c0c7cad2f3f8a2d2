#pragma once
// The window wrapper of our thin framework over plain Win32. Texts stay GBK (CString) inside the
// program and become UTF-16 only here, at the Win32 call, so the Chinese texts read right on a
// Windows of any language.

#include "core/CString.h"

#include <windows.h>

#include <string>
#include <string_view>

// A window's text as the system holds it (UTF-16); empty when it has none.
std::wstring WindowTextWide(HWND window);

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    void Attach(HWND hWnd) { m_hWnd = hWnd; }

    // A non-owning wrapper of a control of this window (null handle when there is none).
    CWnd GetDlgItem(int id) const { return CWnd(::GetDlgItem(m_hWnd, id)); }

    CString GetWindowText() const;
    void SetWindowText(const CString& text);
    CString GetDlgItemText(int id) const { return GetDlgItem(id).GetWindowText(); }
    void SetDlgItemText(int id, const CString& text) { GetDlgItem(id).SetWindowText(text); }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, msg, wParam, lParam);
    }
    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }

    // Modal; texts as GBK.
    int MessageBox(const CString& text, const CString& caption, UINT type = MB_OK);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs)
    {
        return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
    }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

    HWND m_hWnd = nullptr;
};

// Check boxes: 1 checked, 0 not.
inline BOOL IsChecked(const CWnd& dialog, int id)
{
    return dialog.SendDlgItemMessage(id, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
}
inline void SetCheck(CWnd& dialog, int id, BOOL checked)
{
    dialog.SendDlgItemMessage(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

// Appends GBK text at the end of an edit box: what it holds already is not set again.
void AppendToBox(CWnd box, std::string_view gbk);
