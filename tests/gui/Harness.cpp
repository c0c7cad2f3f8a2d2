#include "Harness.h"

#include "platform/TextConversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {
BoxCatcher* g_catcher = nullptr;

BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam)
{
    wchar_t cls[32];
    ::GetClassNameW(child, cls, 32);
    auto* box = reinterpret_cast<CaughtBox*>(lParam);
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        // Wine keeps an empty icon control in a box without an icon: only a drawn icon counts.
        box->icons += (style & WS_VISIBLE) && ::SendMessageW(child, STM_GETICON, 0, 0) ? 1 : 0;
    } else if (_wcsicmp(cls, L"Static") == 0) {
        const std::wstring t = GetText(child, 0);
        if (!t.empty())
            box->text += (box->text.empty() ? L"" : L"\n") + t;
    } else if (_wcsicmp(cls, L"Button") == 0 && (style & WS_VISIBLE)) {
        ++box->visibleButtons; // IsWindowVisible is still false while the box is being activated
        box->okButton |= ::GetDlgCtrlID(child) == IDOK;
    }
    return TRUE;
}
} // namespace

BoxCatcher::BoxCatcher()
{
    g_catcher = this;
    m_hook = ::SetWindowsHookExW(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId());
}

BoxCatcher::~BoxCatcher()
{
    ::UnhookWindowsHookEx(m_hook);
    g_catcher = nullptr;
}

LRESULT CALLBACK BoxCatcher::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (g_catcher && code == HCBT_ACTIVATE)
        g_catcher->Catch(reinterpret_cast<HWND>(wParam));
    if (g_catcher && code == HCBT_DESTROYWND)
        g_catcher->m_seen.erase(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void BoxCatcher::Catch(HWND box)
{
    wchar_t cls[32];
    ::GetClassNameW(box, cls, 32);
    // Owned dialogs that come up: message boxes, the About box, Save As. A dialog under test has no
    // owner, and is activated already while it is created (its first control takes the focus).
    if (wcscmp(cls, L"#32770") != 0 || !::GetWindow(box, GW_OWNER) || m_seen.count(box) ||
        ignored.count(box))
        return;
    m_seen.insert(box);
    CaughtBox caught{box, GetText(box, 0), L"", 0, ::GetDlgItem(box, 0xFFFF) != nullptr};
    ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&caught));
    if (caught.isMessageBox)
        caught.text = GetText(box, 0xFFFF);
    boxes.push_back(caught);
    const int answer = onBox ? onBox(caught) : IDOK;
    if (answer)
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

namespace {
struct SaveAsControls {
    const std::wstring* defaultName;
    HWND name = nullptr;
    HWND type = nullptr;
};

BOOL CALLBACK FindSaveAsControls(HWND child, LPARAM lParam)
{
    auto* c = reinterpret_cast<SaveAsControls*>(lParam);
    wchar_t cls[32];
    ::GetClassNameW(child, cls, 32);
    if (!c->name && GetText(child, 0) == *c->defaultName &&
        (_wcsicmp(cls, L"Edit") == 0 || _wcsicmp(cls, L"ComboBox") == 0))
        c->name = child;
    if (_wcsicmp(cls, L"ComboBox") == 0 && ::SendMessageW(child, CB_GETCOUNT, 0, 0) == 3) {
        wchar_t item[64] = {};
        ::SendMessageW(child, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
        if (wcsstr(item, L"UTF-8"))
            c->type = child;
    }
    return TRUE;
}
struct PendingSaveAs {
    HWND dialog;
    std::wstring defaultName, path;
    int fileType;
} g_saveAs;

// Runs inside the dialog's modal loop, once its controls are filled in.
void CALLBACK AnswerSaveAs(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    SaveAsControls c{&g_saveAs.defaultName};
    ::EnumChildWindows(g_saveAs.dialog, FindSaveAsControls, reinterpret_cast<LPARAM>(&c));
    if (!c.name || !c.type) {
        ADD_FAILURE() << "Save As without a file name or a file type box";
        ::PostMessageW(g_saveAs.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    ::SendMessageW(c.name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_saveAs.path.c_str()));
    ::SendMessageW(c.type, CB_SETCURSEL, g_saveAs.fileType, 0);
    // CB_SETCURSEL notifies nobody: tell the dialog as the user's choice would.
    for (WORD code : {CBN_SELENDOK, CBN_SELCHANGE})
        ::SendMessageW(::GetParent(c.type), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(c.type), code),
                       reinterpret_cast<LPARAM>(c.type));
    ::PostMessageW(g_saveAs.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
} // namespace

void SaveAsLater(HWND dialog, const std::wstring& defaultName, const std::wstring& path,
                 int fileType)
{
    g_saveAs = PendingSaveAs{dialog, defaultName, path, fileType};
    ::SetTimer(nullptr, 0, 200, AnswerSaveAs);
}

TextRecorder::TextRecorder(HWND control) : m_hwnd(control)
{
    ::SetPropW(control, L"ZanforTextRecorder", this);
    m_old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
}

TextRecorder::~TextRecorder()
{
    ::SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_old));
    ::RemovePropW(m_hwnd, L"ZanforTextRecorder");
}

LRESULT CALLBACK TextRecorder::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<TextRecorder*>(::GetPropW(hwnd, L"ZanforTextRecorder"));
    const LRESULT result = ::CallWindowProcW(self->m_old, hwnd, msg, wParam, lParam);
    if (msg == WM_SETTEXT || msg == EM_REPLACESEL) {
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
        self->texts.push_back(std::move(text));
        self->times.push_back(::GetTickCount());
    }
    return result;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        // One message at a time: the condition is looked at between any two of them.
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            continue;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start >= ms; }, ms + 1000);
}

std::wstring GetText(HWND dialog, int id)
{
    // WM_GETTEXT rather than GetWindowText: it also reads a control of another process.
    HWND h = id ? ::GetDlgItem(dialog, id) : dialog;
    const auto n = ::SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::SendMessageW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void SetText(HWND dialog, int id, const std::wstring& text)
{
    ::SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void ClickCheck(HWND dialog, int id, bool checked)
{
    ::SendDlgItemMessageW(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(dialog, id);
}

bool IsCheckedBox(HWND dialog, int id)
{
    return ::SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            if (start != text.size())
                lines.push_back(L"<unterminated>" + text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

std::wstring Widen(const std::string& gbk)
{
    return WideFromGbk(gbk);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    if (std::FILE* f = ::_wfopen(path.c_str(), L"rb")) {
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.append(buf, n);
        std::fclose(f);
    }
    return bytes;
}

std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring FaultFolder(const char* variable)
{
    const char* unix = std::getenv(variable);
    if (!unix || !*unix)
        return std::wstring();
    std::wstring folder = L"Z:" + Widen(unix);
    for (wchar_t& c : folder)
        if (c == L'/')
            c = L'\\';
    return folder + L"\\";
}

std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = ::FindFirstFileW((folder + pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (::FindNextFileW(h, &found));
    ::FindClose(h);
    return names;
}

HostWindow::HostWindow()
    : hwnd(::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                             nullptr, nullptr, nullptr))
{
}

HostWindow::~HostWindow()
{
    ::DestroyWindow(hwnd);
}

std::wstring ExportAs(HWND page, BoxCatcher& catcher, int exportButton, const wchar_t* name,
                      const std::wstring& path)
{
    DeleteFileW(path.c_str());
    catcher.onBox = [&, name](const CaughtBox& box) {
        if (box.isMessageBox)
            return IDOK;
        SaveAsLater(box.hwnd, name, path, 0);
        return 0;
    };
    const std::size_t before = catcher.boxes.size();
    Click(page, exportButton);
    EXPECT_TRUE(PumpUntil(
        [&] { return catcher.boxes.size() > before + 1 && catcher.boxes.back().isMessageBox; },
        60000));
    catcher.onBox = [](const CaughtBox&) { return IDOK; };
    return catcher.boxes.back().text;
}
