#include "TabCtrl.h"

#include "platform/TextConversion.h"

#include <string>

LONG CTabCtrl::InsertItem(int index, const CString& text)
{
    std::wstring wide = WideFromGbk(text.View());
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = wide.data();
    item.iImage = 0;
    item.lParam = 0;
    return static_cast<LONG>(SendMessage(TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)));
}
