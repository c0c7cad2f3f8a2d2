#pragma once
// In-process GUI testing the way Wine's own conformance tests do it: real dialogs from the real
// templates, inputs set with messages, clicks sent as WM_COMMAND/BN_CLICKED, texts read back,
// and every modal box caught by a thread-local CBT hook that records it and answers it.

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

// What a caught dialog box showed.
struct CaughtBox {
    HWND hwnd;
    std::wstring caption;
    std::wstring text; // a message box's message, or all static texts of another dialog
    int visibleButtons;
    bool isMessageBox;     // has the message static (0xFFFF)
    int icons = 0;         // visible icon statics
    bool okButton = false; // a visible button with the identifier IDOK
};

class BoxCatcher {
public:
    BoxCatcher();
    ~BoxCatcher();
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;

    std::vector<CaughtBox> boxes;
    // Called when a box comes up, before it is answered; returns the command to answer with, or 0
    // when the callback sees to the answer itself.
    std::function<int(const CaughtBox&)> onBox;
    // Dialogs under test, never answered.
    std::set<HWND> ignored;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    void Catch(HWND box);
    HHOOK m_hook;
    std::set<HWND> m_seen;
};

// Answers a Save As dialog as a user would, once it is ready (from onBox, which then returns 0):
// types the file name into the box that shows defaultName, picks the file type (index from 0)
// and presses OK.
void SaveAsLater(HWND dialog, const std::wstring& defaultName, const std::wstring& path,
                 int fileType);

// Clicks a page's Export, saves as GBK to path (the Save As dialog shows name), answers every
// message box and returns the text of the one that ends the Export.
std::wstring ExportAs(HWND page, BoxCatcher& catcher, int exportButton, const wchar_t* name,
                      const std::wstring& path);

// Records the control's whole text after every change the program makes to it (WM_SETTEXT, or
// EM_REPLACESEL appending), however quickly they follow one another.
class TextRecorder {
public:
    explicit TextRecorder(HWND control);
    ~TextRecorder();
    TextRecorder(const TextRecorder&) = delete;
    TextRecorder& operator=(const TextRecorder&) = delete;
    std::vector<std::wstring> texts;
    std::vector<DWORD> times; // GetTickCount when each text was set

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd;
    WNDPROC m_old;
};

// Dispatches messages until done() holds or the time runs out; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
void PumpFor(DWORD ms);

std::wstring GetText(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::wstring& text);
// A click as the control reports it: WM_COMMAND with BN_CLICKED (the button's own state as is).
void Click(HWND dialog, int id);
// Sets a check box and reports the click, as a user's click would.
void ClickCheck(HWND dialog, int id, bool checked);
bool IsCheckedBox(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);

std::vector<std::wstring> SplitLines(const std::wstring& text); // every line must end in "\r\n"
std::wstring Widen(const std::string& gbk);
std::string ReadFileBytes(const std::wstring& path);
std::wstring ExeFolder(); // with a trailing backslash
// A folder the test script prepared (a full disk, a read-only one), named by an environment
// variable holding its Unix path, as Wine's Z: drive reaches it; empty when there is none.
std::wstring FaultFolder(const char* variable);
// The names of the files in folder that match pattern ("zan*.tmp").
std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern);

// A top-level window (never shown) to host a page, as the tab control does in the program.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HWND hwnd;
};
