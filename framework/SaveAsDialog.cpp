#include "SaveAsDialog.h"

#include "platform/TextConversion.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

namespace {

// Wine's file dialogs build the chosen path in buffers of MAX_PATH characters: a longer one
// overruns them and ends the process. While the dialog is open, a name whose path would not fit is
// refused before the dialog sees it, and the dialog stays open, as Windows does with a name it
// cannot take. The extension the dialog may add and the ending zero need their room too.

BOOL CALLBACK FindNameBox(HWND child, LPARAM found)
{
    wchar_t cls[16] = {};
    ::GetClassNameW(child, cls, 16);
    const int id = ::GetDlgCtrlID(child);
    if (_wcsicmp(cls, L"Edit") != 0 || (id != cmb13 && id != edt1))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

HWND NameBox(HWND dialog)
{
    HWND box = nullptr;
    ::EnumChildWindows(dialog, FindNameBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

// The length of the path the dialog makes of the name typed, as Wine makes it: a name with a drive
// as it is, a name from the root on that drive, anything else inside the current folder.
std::size_t ChosenPathLength(HWND dialog, HWND box)
{
    const std::wstring name = WindowTextWide(box);
    if (name.size() >= 2 && name[1] == L':')
        return name.size();
    if (!name.empty() && (name[0] == L'\\' || name[0] == L'/'))
        return 2 + name.size();
    wchar_t folder[MAX_PATH * 2] = {};
    ::SendMessageW(dialog, CDM_GETFOLDERPATH, std::size(folder), reinterpret_cast<LPARAM>(folder));
    return wcslen(folder) + 1 + name.size();
}

// The dialog open (the window thread opens one Save As at a time): the longest path it takes, and
// what it says to a longer one.
std::size_t s_maxChosenPath = 0;
CString s_pathTooLong;

LRESULT CALLBACK RefuseLongNames(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
        if (HWND box = NameBox(dialog); box && ChosenPathLength(dialog, box) > s_maxChosenPath) {
            ::MessageBoxW(dialog, WideFromGbk(s_pathTooLong.View()).c_str(), L"", MB_OK);
            return 0;
        }
    }
    if (msg == WM_NCDESTROY)
        ::RemoveWindowSubclass(dialog, RefuseLongNames, 0);
    return ::DefSubclassProc(dialog, msg, wParam, lParam);
}

// Watches the dialogs this thread opens while it lives, and guards the one with a file name box.
class LongNameGuard {
public:
    LongNameGuard()
    {
        s_hook = ::SetWindowsHookExW(WH_CBT, Watch, nullptr, ::GetCurrentThreadId());
    }
    ~LongNameGuard() { ::UnhookWindowsHookEx(s_hook); }
    LongNameGuard(const LongNameGuard&) = delete;
    LongNameGuard& operator=(const LongNameGuard&) = delete;

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam)
    {
        // A dialog is activated once its controls are there, before any input reaches it; guarding
        // it again installs nothing more.
        if (code == HCBT_ACTIVATE && NameBox(reinterpret_cast<HWND>(wParam)))
            ::SetWindowSubclass(reinterpret_cast<HWND>(wParam), RefuseLongNames, 0, 0);
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static inline HHOOK s_hook = nullptr;
};

} // namespace

bool AskSaveAsPath(CWnd& owner, const SaveAsRequest& request, SaveAsChoice& choice)
{
    wchar_t file[MAX_PATH * 4] = {};
    lstrcpynW(file, request.defaultName, MAX_PATH);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner.m_hWnd;
    ofn.lpstrFilter = request.filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrDefExt = request.defaultExtension;
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    s_pathTooLong = request.pathTooLong;
    s_maxChosenPath =
        MAX_PATH - 1 - (*request.defaultExtension ? 1 + wcslen(request.defaultExtension) : 0);
    const LongNameGuard guard;
    if (!::GetSaveFileNameW(&ofn))
        return false;
    choice.path = file;
    choice.filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}
