// The library's About box: a modal dialog built from an in-memory template (the library brings no
// resources of its own), showing the texts of the application record.
#include "Core.h"
#include "HexText.h"
#include "platform/TextConversion.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr int ID_ABOUT_ICON = 100;
constexpr int ID_ABOUT_TEXT = 101;

// Builds a DLGTEMPLATE with its items, each aligned to a DWORD as the dialog manager wants.
class TemplateWriter {
public:
    void Word(WORD w) { m_words.push_back(w); }
    void Text(const std::wstring& s)
    {
        for (wchar_t c : s)
            Word(static_cast<WORD>(c));
        Word(0);
    }
    void AlignDword()
    {
        if (m_words.size() % 2)
            Word(0);
    }
    void Header(DWORD style, WORD items, short cx, short cy, const std::wstring& title)
    {
        Dword(style);
        Dword(0); // extended style
        Word(items);
        Word(0);
        Word(0);
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(0); // no menu
        Word(0); // the dialog class
        Text(title);
        Word(9);               // DS_SETFONT: 9 pt
        Text(L"\x5b8b\x4f53"); // 宋体
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const std::wstring& text)
    {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(static_cast<WORD>(x));
        Word(static_cast<WORD>(y));
        Word(static_cast<WORD>(cx));
        Word(static_cast<WORD>(cy));
        Word(id);
        Word(0xFFFF);
        Word(atom); // predefined class by atom
        Text(text);
        Word(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Dword(DWORD d)
    {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    std::vector<WORD> m_words;
};

INT_PTR CALLBACK AboutProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        // The owner's icon, when it has one; else the program's first.
        HWND owner = reinterpret_cast<HWND>(lParam);
        HICON icon = owner ? reinterpret_cast<HICON>(::SendMessageW(owner, WM_GETICON, ICON_BIG, 0))
                           : nullptr;
        if (!icon)
            icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
        if (icon)
            ::SendDlgItemMessageW(hWnd, ID_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon),
                                  0);
        if (owner) { // centred over the window it belongs to, not over the screen
            RECT o, r;
            ::GetWindowRect(owner, &o);
            ::GetWindowRect(hWnd, &r);
            const int x = o.left + ((o.right - o.left) - (r.right - r.left)) / 2;
            const int y = o.top + ((o.bottom - o.top) - (r.bottom - r.top)) / 2;
            ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(hWnd, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

BOOL CALLBACK FirstVisibleTopLevel(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd) && !::GetWindow(hWnd, GW_OWNER)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The window the box belongs to: the active one, else this thread's visible main window.
HWND OwnerWindow()
{
    HWND owner = ::GetActiveWindow();
    if (!owner)
        ::EnumThreadWindows(::GetCurrentThreadId(), FirstVisibleTopLevel,
                            reinterpret_cast<LPARAM>(&owner));
    return owner;
}

std::wstring SlotText(const char* slot, std::size_t size)
{
    const std::string_view hex(slot, strnlen(slot, size));
    return WideFromGbk(DecodeHexText(hex).View());
}

} // namespace

CString CCore::uu(tagOprType op, tagSoft* soft, const CString&)
{
    if (op != OPR_ABOUT || !soft)
        return CString();
    const std::wstring name = SlotText(soft->name, sizeof soft->name);
    const std::wstring version = SlotText(soft->version, sizeof soft->version);
    const std::wstring company = SlotText(soft->company, sizeof soft->company);
    const std::wstring copyright = SlotText(soft->copyright, sizeof soft->copyright);
    // "关于 <name>" and "版本 <version>".
    const std::wstring title = L"\x5173\x4e8e " + name;
    const std::wstring body =
        name + L"\r\n\x7248\x672c " + version + L"\r\n\r\n" + company + L"\r\n" + copyright;

    TemplateWriter t;
    t.Header(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 3, 200, 86, title);
    t.Item(SS_ICON, 10, 10, 20, 20, ID_ABOUT_ICON, 0x0082, L"");
    t.Item(SS_LEFT | SS_NOPREFIX, 42, 10, 150, 48, ID_ABOUT_TEXT, 0x0082, body);
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 142, 64, 50, 14, IDOK, 0x0080, L"\x786e\x5b9a"); // 确定
    HWND owner = OwnerWindow();
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), t.Get(), owner, AboutProc,
                              reinterpret_cast<LPARAM>(owner));
    return CString();
}
