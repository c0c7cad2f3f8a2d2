#include "FieldReaders.h"

#include "core/FieldText.h"
#include "platform/TextConversion.h"

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
    const std::wstring wide = WindowTextWide(page->GetDlgItem(id).m_hWnd);
    if (units)
        *units = wide.size();
    SettingText text;
    text.gbk = GbkFromWide(wide, &text.unspellable);
    return text;
}
