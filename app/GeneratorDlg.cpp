#include "GeneratorDlg.h"

#include "SoftRecord.h"
#include "corelib/Core.h"

#include <cstdlib>

tagSoft* g_pSoft = nullptr;

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

    m_tabPages.InsertItem(0, "字符串");
    m_tabPages.InsertItem(1, "数字");
    m_tabPages.InsertItem(2, "时间");
    // The Tab key walks from the tab control into the page it shows.
    ::SetWindowLongPtrW(m_tabPages.m_hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(m_tabPages.m_hWnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);

    m_pageStrings.Create(IDD_PAGE_STRINGS, &m_tabPages);
    m_pageNumbers.Create(IDD_PAGE_NUMBERS, &m_tabPages);
    m_pageInterval.Create(IDD_PAGE_INTERVAL, &m_tabPages);
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
    for (CDialog* page :
         {static_cast<CDialog*>(&m_pageStrings), static_cast<CDialog*>(&m_pageNumbers),
          static_cast<CDialog*>(&m_pageInterval)})
        page->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CGeneratorDlg::ShowPage(int index)
{
    static const char* const usage[] = {
        "随机密码、用户名、域名、手机号码等",
        "指定数值范围内的整形、浮点数等",
        "不定时日期数值，并可执行命令行外部程序",
    };
    if (index < 0 || index > 2) {
        SetDlgItemText(IDC_STATIC_USAGE, "");
        return;
    }
    m_pageStrings.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
    m_pageNumbers.ShowWindow(index == 1 ? SW_SHOW : SW_HIDE);
    m_pageInterval.ShowWindow(index == 2 ? SW_SHOW : SW_HIDE);
    SetDlgItemText(IDC_STATIC_USAGE, usage[index]);
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
    if (g_pCore) {
        delete g_pCore;
        g_pCore = nullptr;
    }
    if (g_pSoft) {
        std::free(g_pSoft);
        g_pSoft = nullptr;
    }
}
