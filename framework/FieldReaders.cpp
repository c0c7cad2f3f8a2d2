#include "FieldReaders.h"

#include "core/FieldText.h"
#include "corelib/WideText.h"

#include <string>

int ReadIntField(CWnd* page, int id)
{
    return IntFromText(page->GetDlgItemText(id).View());
}

float ReadFloatField(CWnd* page, int id)
{
    return FloatFromText(page->GetDlgItemText(id).View());
}

SettingText ReadTextField(CWnd* page, int id, std::size_t* units)
{
    const HWND box = page->GetDlgItem(id).m_hWnd;
    std::wstring wide(static_cast<std::size_t>(std::max(0, ::GetWindowTextLengthW(box))) + 1,
                      L'\0');
    wide.resize(static_cast<std::size_t>(
        std::max(0, ::GetWindowTextW(box, wide.data(), static_cast<int>(wide.size())))));
    if (units)
        *units = wide.size();
    SettingText text;
    text.gbk = GbkFromWide(wide, &text.unspellable);
    return text;
}
