#include "GuideDlg.h"

#include "core/GuideText.h"
#include "platform/SystemError.h"
#include "platform/TextConversion.h"

#include <algorithm>

namespace {

// Posted on a change of scale: the margins are set again once the dialog manager has given the
// text box its new font.
constexpr UINT WM_SET_MARGINS = WM_APP + 20;

} // namespace

bool LoadUserGuide(HMODULE module, WideGuide& guide)
{
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(IDR_USER_GUIDE), RT_RCDATA);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (!bytes)
        return false;
    std::string_view markdown(bytes, ::SizeofResource(module, found));
    if (markdown.starts_with("\xEF\xBB\xBF"))
        markdown.remove_prefix(3);
    const GuideText rendered = RenderGuide(markdown);
    // The guide stays UTF-8 until here: GBK could not hold every character it may use.
    if (rendered.text.empty() || !WideFromStrictUtf8(rendered.text, guide.text))
        return false;
    guide.titles.clear();
    guide.names.clear();
    guide.starts.clear();
    for (const GuideSection& section : rendered.sections) {
        std::wstring name, before;
        if (!WideFromStrictUtf8(section.title, name) ||
            !WideFromStrictUtf8(std::string_view(rendered.text).substr(0, section.offset), before))
            return false;
        // Deeper sections are indented under theirs, by full-width blanks.
        guide.titles.push_back(
            std::wstring(static_cast<std::size_t>(std::max(0, section.level - 2)) * 2, L'\x3000') +
            name);
        guide.names.push_back(name);
        guide.starts.push_back(static_cast<LONG>(before.size()));
    }
    return true;
}

void ShowUserGuide(HWND owner, const CString& section, HMODULE module)
{
    CWnd ownerWnd(owner);
    WideGuide guide;
    if (!LoadUserGuide(module, guide)) {
        ownerWnd.MessageBox("无法打开使用说明：程序里的使用说明缺失或已损坏。", "", MB_OK);
        return;
    }
    const std::wstring wanted = WideFromGbk(section.View());
    const auto at = std::find(guide.names.begin(), guide.names.end(), wanted);
    const std::size_t index = at == guide.names.end() ? 0 : at - guide.names.begin();
    CGuideDlg dlg(&ownerWnd, std::move(guide), index);
    if (dlg.DoModal() == -1) {
        const DWORD error = ::GetLastError();
        ownerWnd.MessageBox("无法打开使用说明窗口。\r\n" + SystemErrorText(error), "", MB_OK);
    }
}

CGuideDlg::CGuideDlg(CWnd* parent, WideGuide guide, std::size_t section)
    : CDialog(IDD_USER_GUIDE, parent), m_guide(std::move(guide)), m_nSection(section)
{
}

BOOL CGuideDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const HWND list = ::GetDlgItem(m_hWnd, IDC_LIST_GUIDE_SECTIONS);
    for (const std::wstring& title : m_guide.titles)
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    const HWND text = ::GetDlgItem(m_hWnd, IDC_EDIT_GUIDE_TEXT);
    ::SendMessageW(text, EM_SETLIMITTEXT, 0, 0); // as long as the guide is
    ::SetWindowTextW(text, m_guide.text.c_str());
    SetTextMargins();
    ShowSection(m_nSection);
    return TRUE; // the focus to the list: the arrow keys go from section to section
}

bool CGuideDlg::OnMessage(Message& m)
{
    // A read-only box is grey by default; text to read is black on the window colour.
    if (m.msg == WM_CTLCOLORSTATIC &&
        reinterpret_cast<HWND>(m.lParam) == ::GetDlgItem(m_hWnd, IDC_EDIT_GUIDE_TEXT)) {
        const HDC dc = reinterpret_cast<HDC>(m.wParam);
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        m.result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        return true;
    }
    // F1 here would reach the main window and open the guide once more over itself.
    if (m.msg == WM_HELP) {
        m.result = TRUE;
        return true;
    }
    static const MessageEntry<CGuideDlg> map[] = {
        ForDpiChanged(&CGuideDlg::OnDpiChanged),
        ForMessage(WM_SET_MARGINS, &CGuideDlg::SetTextMargins),
        ForCommand(IDC_LIST_GUIDE_SECTIONS, LBN_SELCHANGE, &CGuideDlg::OnSelchangeList),
        ForCommand(IDC_EDIT_GUIDE_TEXT, EN_SETFOCUS, &CGuideDlg::OnTextFocus),
    };
    return Dispatch(this, map, m);
}

// Moved to a monitor of another scale: the dialog manager scales the window and its controls, and
// the margins follow once it has.
void CGuideDlg::OnDpiChanged(UINT, const RECT&)
{
    ::PostMessageW(m_hWnd, WM_SET_MARGINS, 0, 0);
    Default();
}

// A little room between the text and the box's border, in dialog units: it grows with the scale.
void CGuideDlg::SetTextMargins()
{
    RECT margin{0, 0, 4, 0};
    ::MapDialogRect(m_hWnd, &margin);
    SendDlgItemMessage(IDC_EDIT_GUIDE_TEXT, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                       MAKELPARAM(margin.right, margin.right));
}

void CGuideDlg::ShowSection(std::size_t index)
{
    if (index >= m_guide.starts.size())
        return;
    m_nSection = index;
    SendDlgItemMessage(IDC_LIST_GUIDE_SECTIONS, LB_SETCURSEL, index);
    const HWND text = ::GetDlgItem(m_hWnd, IDC_EDIT_GUIDE_TEXT);
    const LONG start = m_guide.starts[index];
    ::SendMessageW(text, EM_SETSEL, start, start);
    const LRESULT line = ::SendMessageW(text, EM_LINEFROMCHAR, start, 0);
    const LRESULT first = ::SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0);
    ::SendMessageW(text, EM_LINESCROLL, 0, line - first);
}

void CGuideDlg::OnSelchangeList()
{
    const LRESULT index = SendDlgItemMessage(IDC_LIST_GUIDE_SECTIONS, LB_GETCURSEL);
    if (index >= 0)
        ShowSection(static_cast<std::size_t>(index));
}

// Tab into the text selects all of it, as in any dialog: the caret goes to the top line shown
// instead, so that the keys read on from there.
void CGuideDlg::OnTextFocus()
{
    const HWND text = ::GetDlgItem(m_hWnd, IDC_EDIT_GUIDE_TEXT);
    const LRESULT first = ::SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT at = ::SendMessageW(text, EM_LINEINDEX, first, 0);
    ::SendMessageW(text, EM_SETSEL, at, at);
}
