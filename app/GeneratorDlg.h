#pragma once
// The main window: the usage line, the About button and the tab control with the three pages.
// It owns the library object and the application record for its whole life.

#include "framework/Dialog.h"
#include "framework/TabCtrl.h"
#include "pages/IntervalPage.h"
#include "pages/NumbersPage.h"
#include "pages/StringsPage.h"
#include "res/resource.h"

class CGeneratorDlg : public CDialog {
public:
    explicit CGeneratorDlg(CWnd* parent = nullptr);
    ~CGeneratorDlg() override;

    // Shows page index (0 strings, 1 numbers, 2 interval) and its usage line; another index
    // empties the line and leaves the pages as they are.
    void ShowPage(int index);
    // Places the pages in the tab control, below its tabs, at the window's display scale.
    void LayoutPages();

    CStringsPage m_pageStrings;
    CNumbersPage m_pageNumbers;
    CIntervalPage m_pageInterval;
    CTabCtrl m_tabPages;
    HICON m_hIcon;
    // Dots per inch of the monitor the window is on: 96 at 100 % scale.
    UINT m_nDpi = USER_DEFAULT_SCREEN_DPI;

protected:
    bool OnMessage(Message& m) override;
    void DoDataExchange() override;
    BOOL OnInitDialog() override;

    void OnPaint();
    LRESULT OnQueryDragIcon();
    LRESULT OnSelchangeTab(NMHDR* hdr);
    void OnDestroy();
    void OnAbout();
    void OnHelp();
    void OnEnterKey();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
};

// The page rectangle for a tab control client rectangle, in its client coordinates. The offsets
// are pixels at 96 DPI, scaled to dpi.
RECT PageRectFromTabClient(const RECT& client, UINT dpi = USER_DEFAULT_SCREEN_DPI);
