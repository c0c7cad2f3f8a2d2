#include "Export.h"

#include "PageCommon.h"
#include "platform/ReplacementFile.h"
#include "platform/ResultsFile.h"
#include "platform/TextConversion.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>

namespace {

// Wine's file dialogs build the chosen path in buffers of MAX_PATH characters: a longer one
// overruns them and ends the process. While the dialog is open, a name whose path would not fit is
// refused before the dialog sees it, and the dialog stays open, as Windows does with a name it
// cannot take. The ".txt" the dialog may add and the ending zero need their room too.
constexpr std::size_t MAX_CHOSEN_PATH = MAX_PATH - 1 - 4;

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

LRESULT CALLBACK RefuseLongNames(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
        if (HWND box = NameBox(dialog); box && ChosenPathLength(dialog, box) > MAX_CHOSEN_PATH) {
            ::MessageBoxW(dialog,
                          WideFromGbk("导出文件的路径过长，请选择较短的文件名或文件夹。").c_str(),
                          L"", MB_OK);
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

bool AskExportPath(CWnd& owner, const wchar_t* defaultName, std::wstring& path,
                   ExportEncoding& encoding)
{
    wchar_t file[MAX_PATH * 4] = {};
    lstrcpynW(file, defaultName, MAX_PATH);
    // "GBK 文本 (*.txt)", "UTF-8 文本 (*.txt)", "所有文件 (*.*)"; pairs ended by an empty text.
    static const wchar_t filter[] = L"GBK \x6587\x672c (*.txt)\0*.txt\0"
                                    L"UTF-8 \x6587\x672c (*.txt)\0*.txt\0"
                                    L"\x6240\x6709\x6587\x4ef6 (*.*)\0*.*\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner.m_hWnd;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    const LongNameGuard guard;
    if (!::GetSaveFileNameW(&ofn))
        return false;
    path = file;
    encoding = ofn.nFilterIndex == 2 ? ExportEncoding::Utf8 : ExportEncoding::Gbk;
    return true;
}

ExportResult SaveExport(const std::wstring& path, ExportEncoding encoding,
                        const std::function<bool(const ExportWriter&)>& produce)
{
    CReplacementFile file(path);
    if (!file.Ok())
        return {ExportResult::Outcome::WriteFailed, file.Reason()};
    // UTF-8 is converted up to the last line end of what has come: a piece never ends inside a
    // two-byte character.
    std::string pending, utf8;
    const ExportWriter write = [&](std::string_view piece) {
        if (encoding != ExportEncoding::Utf8)
            return file.Write(piece);
        pending.append(piece);
        const std::size_t cut = pending.rfind('\n') + 1; // npos + 1 is 0: no line end yet
        utf8.clear();
        AppendUtf8FromGbk(std::string_view(pending).substr(0, cut), utf8);
        pending.erase(0, cut);
        return file.Write(utf8);
    };
    const bool produced = produce(write);
    if (!file.Ok())
        return {ExportResult::Outcome::WriteFailed, file.Reason()};
    if (!produced)
        return {ExportResult::Outcome::SourceFailed, CString()};
    utf8.clear();
    AppendUtf8FromGbk(pending, utf8);
    if (!file.Write(utf8) || !file.Commit())
        return {ExportResult::Outcome::WriteFailed, file.Reason()};
    return {};
}

CString ExportResultText(const ExportResult& result)
{
    switch (result.outcome) {
    case ExportResult::Outcome::Saved:
        return "导出成功！";
    case ExportResult::Outcome::SourceFailed:
        return MSG_RESULTS_ALTERED;
    case ExportResult::Outcome::Stopped:
        return "导出已停止，目标文件没有改动。";
    case ExportResult::Outcome::WriteFailed:
        break;
    }
    return result.reason.IsEmpty() ? CString("导出失败！") : "导出失败！\r\n" + result.reason;
}
