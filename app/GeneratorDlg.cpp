#include "GeneratorDlg.h"

#include "GuideDlg.h"
#include "SoftRecord.h"
#include "corelib/Core.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

tagSoft* g_pSoft = nullptr;

namespace {
// The pages, in tab order: the page, its template, its tab, its usage line and its section of the
// user guide.
struct PageRow {
    CGeneratorPage& (*page)(CGeneratorDlg&);
    UINT templateId;
    const char* title;
    const char* usage;
    const char* guideSection;
};
const PageRow kPages[] = {
    {[](CGeneratorDlg& d) -> CGeneratorPage& { return d.m_pageStrings; }, IDD_PAGE_STRINGS,
     "字符串", "随机密码、用户名、域名、手机号码等", "字符串页"},
    {[](CGeneratorDlg& d) -> CGeneratorPage& { return d.m_pageNumbers; }, IDD_PAGE_NUMBERS, "数字",
     "指定数值范围内的整形、浮点数等", "数字页"},
    {[](CGeneratorDlg& d) -> CGeneratorPage& { return d.m_pageInterval; }, IDD_PAGE_INTERVAL,
     "时间", "不定时日期数值，并可执行命令行外部程序", "时间页"},
};
constexpr int PAGE_COUNT = static_cast<int>(std::size(kPages));

// Posted on a change of scale: the pages are laid out again once the dialog manager has resized
// the tab control.
constexpr UINT WM_LAYOUT_PAGES = WM_APP + 10;

// The scale of the monitor the window is on. GetDpiForWindow exists from Windows 10 (1607) on;
// before it a window always has the system's scale.
UINT WindowDpi(HWND hwnd)
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(hwnd))
            return dpi;
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}
} // namespace

CGeneratorDlg::CGeneratorDlg(CWnd* parent)
    : CDialog(IDD_GENERATOR_DIALOG, parent), m_pageStrings(nullptr, TickClock()),
      m_pageNumbers(nullptr, TickClock()), m_pageInterval(nullptr, TickClock()),
      m_hIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

CGeneratorDlg::~CGeneratorDlg() = default;

bool CGeneratorDlg::OnMessage(Message& m)
{
    static const MessageEntry<CGeneratorDlg> map[] = {
        ForMessage(WM_PAINT, &CGeneratorDlg::OnPaint),
        ForQuery(WM_QUERYDRAGICON, &CGeneratorDlg::OnQueryDragIcon),
        ForNotify(IDC_TAB_PAGES, TCN_SELCHANGE, &CGeneratorDlg::OnSelchangeTab),
        ForMessage(WM_DESTROY, &CGeneratorDlg::OnDestroy),
        ForCommand(IDC_BTN_ABOUT, BN_CLICKED, &CGeneratorDlg::OnAbout),
        ForCommand(IDOK, BN_CLICKED, &CGeneratorDlg::OnEnterKey),
        ForCommand(ID_HELP, BN_CLICKED, &CGeneratorDlg::OnHelp),
        ForMessage(WM_HELP, &CGeneratorDlg::OnHelp),
        ForMessage(WM_LAYOUT_PAGES, &CGeneratorDlg::LayoutPages),
        ForDpiChanged(&CGeneratorDlg::OnDpiChanged),
    };
    return Dispatch(this, map, m);
}

void CGeneratorDlg::DoDataExchange()
{
    DDX_Control(*this, IDC_TAB_PAGES, m_tabPages);
}

BOOL CGeneratorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_pCore = new CCore;
    g_pSoft = static_cast<tagSoft*>(std::malloc(sizeof(tagSoft)));
    if (g_pSoft)
        FillSoftRecord(g_pSoft);

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    for (int i = 0; i < PAGE_COUNT; ++i)
        m_tabPages.InsertItem(i, kPages[i].title);
    // The Tab key walks from the tab control into the page it shows.
    ::SetWindowLongPtrW(m_tabPages.m_hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(m_tabPages.m_hWnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);

    for (const PageRow& row : kPages)
        row.page(*this).Create(row.templateId, &m_tabPages);
    m_nDpi = WindowDpi(m_hWnd);
    LayoutPages();
    ShowPage(0);
    return TRUE;
}

RECT PageRectFromTabClient(const RECT& client, UINT dpi)
{
    const auto px = [dpi](int n) { return ::MulDiv(n, static_cast<int>(dpi), 96); };
    return RECT{client.left + px(1), client.top + px(21), client.right - px(3),
                client.bottom - px(3)};
}

void CGeneratorDlg::LayoutPages()
{
    RECT client;
    m_tabPages.GetClientRect(&client);
    RECT r = PageRectFromTabClient(client, m_nDpi);
    if (m_nDpi != USER_DEFAULT_SCREEN_DPI) {
        // The tab headers grow with their font, which need not keep step with the scale: a page
        // never starts above the tab's display area.
        RECT display = client;
        m_tabPages.SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        r.top = std::max(r.top, display.top);
    }
    for (const PageRow& row : kPages)
        row.page(*this).MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CGeneratorDlg::ShowPage(int index)
{
    if (index < 0 || index >= PAGE_COUNT) {
        SetDlgItemText(IDC_STATIC_USAGE, "");
        return;
    }
    for (int i = 0; i < PAGE_COUNT; ++i)
        kPages[i].page(*this).ShowWindow(i == index ? SW_SHOW : SW_HIDE);
    SetDlgItemText(IDC_STATIC_USAGE, kPages[index].usage);
}

LRESULT CGeneratorDlg::OnSelchangeTab(NMHDR*)
{
    ShowPage(m_tabPages.GetCurSel());
    return 0;
}

void CGeneratorDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CGeneratorDlg::OnQueryDragIcon()
{
    return reinterpret_cast<LRESULT>(m_hIcon);
}

void CGeneratorDlg::OnAbout()
{
    if (g_pCore && g_pSoft)
        g_pCore->uu(OPR_ABOUT, g_pSoft, "");
}

// Moved to a monitor of another scale: take the rectangle Windows suggests and place the pages
// for the new scale. The dialog manager then scales its own controls and the tab control
// (per-monitor v2), so the pages are placed once more after it.
void CGeneratorDlg::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    m_nDpi = dpi;
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutPages();
    ::PostMessageW(m_hWnd, WM_LAYOUT_PAGES, 0, 0);
    Default();
}

// F1 on any control reaches this window: the window procedure of each control and page hands
// WM_HELP on to its parent, a box over this window to its owner. The guide opens at the section
// of the page in front, over the box that is on top, if any.
void CGeneratorDlg::OnHelp()
{
    const int index = m_tabPages.GetCurSel();
    const CString section = index >= 0 && index < PAGE_COUNT ? kPages[index].guideSection : "";
    ShowUserGuide(::GetLastActivePopup(m_hWnd), section);
}

// Enter in a one-line box of a page would otherwise end the whole program: it does nothing here.
// Esc, the close box and the system menu still close the window.
void CGeneratorDlg::OnEnterKey() {}

void CGeneratorDlg::OnDestroy()
{
    Default();
    // Runs end before the library they draw from goes.
    for (const PageRow& row : kPages)
        row.page(*this).CancelRun();
    if (g_pCore) {
        delete g_pCore;
        g_pCore = nullptr;
    }
    if (g_pSoft) {
        std::free(g_pSoft);
        g_pSoft = nullptr;
    }
}
