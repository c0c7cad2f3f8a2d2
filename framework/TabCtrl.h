#pragma once
// The tab control (SysTabControl32). Selecting a tab from code sends no TCN_SELCHANGE: whoever
// switches tabs so must show the page itself.

#include "Wnd.h"

#include <commctrl.h>

class CTabCtrl : public CWnd {
public:
    // Text only: no image, no item data.
    LONG InsertItem(int index, const CString& text);
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
};
