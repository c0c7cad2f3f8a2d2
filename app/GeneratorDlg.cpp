#include "GeneratorDlg.h"

#include "SoftRecord.h"
#include "corelib/Core.h"

#include <cstdlib>
#include <iterator>

tagSoft* g_pSoft = nullptr;

namespace {
// The pages, in tab order: the page, its template, its tab and its usage line.
struct PageRow {
    CGeneratorPage& (*page)(CGeneratorDlg&);
    UINT templateId;
    const char* title;
    const char* usage;
};
const PageRow kPages[] = {
    {[](CGeneratorDlg& d) -> CGeneratorPage& { return d.m_pageStrings; }, IDD_PAGE_STRINGS,
     "字符串", "随机密码、用户名、域名、手机号码等"},
    {[](CGeneratorDlg& d) -> CGeneratorPage& { return d.m_pageNumbers; }, IDD_PAGE_NUMBERS, "数字",
     "指定数值范围内的整形、浮点数等"},
    {[](CGeneratorDlg& d) -> CGeneratorPage& { return d.m_pageInterval; }, IDD_PAGE_INTERVAL,
     "时间", "不定时日期数值，并可执行命令行外部程序"},
};
constexpr int PAGE_COUNT = static_cast<int>(std::size(kPages));
} // namespace

CGeneratorDlg::CGeneratorDlg(CWnd* parent)
    : CDialog(IDD_GENERATOR_DIALOG, parent), m_pageStrings(nullptr), m_pageNumbers(nullptr),
      m_pageInterval(nullptr),
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
    LayoutPages();
    ShowPage(0);
    return TRUE;
}

RECT PageRectFromTabClient(const RECT& client)
{
    const int x = client.left + 1;
    const int y = client.top + 21;
    return RECT{x, y, client.right - 3, client.bottom - 3};
}

void CGeneratorDlg::LayoutPages()
{
    RECT client;
    m_tabPages.GetClientRect(&client);
    const RECT r = PageRectFromTabClient(client);
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
