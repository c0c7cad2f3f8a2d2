#include "NumbersPage.h"

#include "Export.h"
#include "core/Batch.h"
#include "core/Random.h"
#include "corelib/WideText.h"
#include "framework/FieldReaders.h"

#include <algorithm>

CNumbersPage::CNumbersPage(CWnd* parent) : CDialog(IDD_PAGE_NUMBERS, parent) {}

CNumbersPage::~CNumbersPage() = default;

bool CNumbersPage::OnMessage(Message& m)
{
    static const MessageEntry<CNumbersPage> map[] = {
        ForCommand(IDC_BTN_NUM_GENERATE, BN_CLICKED, &CNumbersPage::OnGenerate),
        ForCommand(IDC_CHECK_FLOAT, BN_CLICKED, &CNumbersPage::OnCheckFloat),
        ForCommand(IDC_BTN_NUM_EXPORT, BN_CLICKED, &CNumbersPage::OnExport),
    };
    return Dispatch(this, map, m);
}

BOOL CNumbersPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetCheck(*this, IDC_CHECK_INTEGER, 1);
    SetCheck(*this, IDC_CHECK_FLOAT, 1);
    SetDlgItemText(IDC_EDIT_NUM_MIN, "80");
    SetDlgItemText(IDC_EDIT_NUM_MAX, "100");
    SetDlgItemText(IDC_EDIT_NUM_COUNT, "10");
    SetDlgItemText(IDC_EDIT_DECIMALS, "2");
    return TRUE;
}

NumberOptions CNumbersPage::Options() const
{
    return NumberOptions{m_bInteger, m_bFloat, m_fMin, m_fMax, m_nCount, m_nDecimals};
}

BOOL CNumbersPage::CheckInput()
{
    m_bInteger = IsChecked(*this, IDC_CHECK_INTEGER);
    m_bFloat = IsChecked(*this, IDC_CHECK_FLOAT);
    if (!m_bInteger && !m_bFloat)
        return RefuseSetting(*this, "至少指定一种数字类型！");
    m_fMin = ReadFloatField(this, IDC_EDIT_NUM_MIN);
    m_fMax = ReadFloatField(this, IDC_EDIT_NUM_MAX);
    m_nCount = ReadIntField(this, IDC_EDIT_NUM_COUNT);
    if (m_bFloat) {
        m_nDecimals = ReadIntField(this, IDC_EDIT_DECIMALS);
        if (m_nDecimals < 0)
            return RefuseSetting(*this, "保留小数位数设定无效！");
    }
    if (m_fMin > m_fMax)
        return RefuseSetting(*this, "数值范围设定无效！");
    if (m_nCount < 1)
        return RefuseSetting(*this, "生成个数设定无效！");
    if (ListBytes() > MAX_OUTPUT_BYTES)
        return RefuseSetting(*this, "生成结果过大，请减小生成个数或保留小数位数！");
    SeedRandom();
    return TRUE;
}

// The most the list can take: it is built in memory and shown at once, so a count or a number of
// decimals that cannot be held is refused before anything changes.
long long CNumbersPage::ListBytes() const
{
    long long longest = 11; // "-2147483648"
    if (m_bFloat)           // sign, six whole digits at most, the point, the decimals
        longest = std::max(longest, 8LL + m_nDecimals);
    return static_cast<long long>(m_nCount) * (longest + 2);
}

void CNumbersPage::OnGenerate()
{
    if (!CheckInput())
        return;
    GetDlgItem(IDC_BTN_NUM_GENERATE).EnableWindow(FALSE);
    SetDlgItemText(IDC_EDIT_NUM_OUTPUT, "");
    std::string text;
    MakeNumbersList({.options = Options(), .count = m_nCount}, TheRandomSource(), text);
    SetDlgItemText(IDC_EDIT_NUM_OUTPUT, CString(std::move(text)));
    PageMessage(*this, "生成成功！");
    GetDlgItem(IDC_BTN_NUM_GENERATE).EnableWindow(TRUE);
}

void CNumbersPage::OnCheckFloat()
{
    GetDlgItem(IDC_EDIT_DECIMALS).EnableWindow(IsChecked(*this, IDC_CHECK_FLOAT));
}

void CNumbersPage::OnExport()
{
    const CString list = GetDlgItemText(IDC_EDIT_NUM_OUTPUT);
    if (list.IsEmpty()) {
        PageMessage(*this, "没有可导出的结果！");
        return;
    }
    std::wstring path;
    ExportEncoding encoding;
    if (!AskExportPath(*this, L"数字.txt", path, encoding))
        return;
    PageMessage(*this, WriteExport(path, list.View(), encoding) ? "导出成功！" : "导出失败！");
}
