#include "FieldReaders.h"

#include "core/FieldText.h"

int ReadIntField(CWnd* page, int id)
{
    return IntFromText(page->GetDlgItemText(id).View());
}

float ReadFloatField(CWnd* page, int id)
{
    return FloatFromText(page->GetDlgItemText(id).View());
}
