#include "NumbersPage.h"

#include "core/SettingMessages.h"
#include "Export.h"
#include "core/Batch.h"
#include "framework/FieldReaders.h"

#include <algorithm>

CNumbersPage::CNumbersPage(CWnd* parent)
    : CGeneratorPage(IDD_PAGE_NUMBERS, parent, IDC_BTN_NUM_GENERATE, IDC_EDIT_NUM_OUTPUT)
{
}

CNumbersPage::~CNumbersPage() = default;

bool CNumbersPage::OnMessage(Message& m)
{
    static const MessageEntry<CNumbersPage> map[] = {
        ForCommand(IDC_BTN_NUM_GENERATE, BN_CLICKED, &CNumbersPage::OnGenerate),
        ForCommand(IDC_CHECK_FLOAT, BN_CLICKED, &CNumbersPage::OnCheckFloat),
        ForCommand(IDC_BTN_NUM_EXPORT, BN_CLICKED, &CNumbersPage::OnExport),
        ForTimer(&CNumbersPage::OnTimer),
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
    return NumberOptions{.m_bInteger = m_bInteger,
                         .m_bFloat = m_bFloat,
                         .m_fMin = m_fMin,
                         .m_fMax = m_fMax,
                         .m_nCount = m_nCount,
                         .m_nDecimals = m_nDecimals};
}

BOOL CNumbersPage::CheckInput()
{
    m_bInteger = IsChecked(*this, IDC_CHECK_INTEGER);
    m_bFloat = IsChecked(*this, IDC_CHECK_FLOAT);
    if (!m_bInteger && !m_bFloat)
        return RefuseSetting(*this, MSG_NO_NUMBER_KIND);
    m_fMin = ReadFloatField(this, IDC_EDIT_NUM_MIN);
    m_fMax = ReadFloatField(this, IDC_EDIT_NUM_MAX);
    m_nCount = ReadIntField(this, IDC_EDIT_NUM_COUNT);
    if (m_bFloat) {
        m_nDecimals = ReadIntField(this, IDC_EDIT_DECIMALS);
        if (m_nDecimals < 0)
            return RefuseSetting(*this, MSG_BAD_DECIMALS);
    }
    if (m_fMin > m_fMax)
        return RefuseSetting(*this, MSG_BAD_RANGE);
    if (m_nCount < 1)
        return RefuseSetting(*this, MSG_BAD_COUNT);
    if (!FitsOutputBox())
        return RefuseSetting(*this, MSG_NUMBERS_TOO_LARGE);
    SeedRandom();
    return TRUE;
}

// The whole list goes into the box: a list the box cannot take within about two seconds (or the
// memory hold) is refused before anything changes. Measured under Wine, 5,000,000 items took 44 s
// and one item of 1,000,000 decimals over five minutes.
bool CNumbersPage::FitsOutputBox() const
{
    long long longest = 11; // "-2147483648"
    if (m_bFloat)           // sign, six whole digits at most, the point, the decimals
        longest = std::max(longest, 8LL + m_nDecimals);
    const double lineMs = LineFillMs(static_cast<std::size_t>(std::min(longest, 1LL << 30)) + 2);
    return static_cast<long long>(m_nCount) * (longest + 2) <= MAX_OUTPUT_BYTES &&
           m_nCount * lineMs <= MAX_FILL_MS;
}

void CNumbersPage::OnGenerate()
{
    if (HandleStopClick())
        return;
    if (!CheckInput())
        return;
    BeginRun();
    SetDlgItemText(IDC_EDIT_NUM_OUTPUT, "");
    std::string text; // within the bounds above, made in a few milliseconds
    MakeNumbersList({.options = Options(), .count = m_nCount}, TheRandomSource(), text);
    FillOutput(std::move(text), [this](bool stopped, std::int64_t lines) {
        FinishRun(stopped ? "生成已停止：已生成 " + CString::FromInt(lines) + " 个，共 " +
                                CString::FromInt(m_nCount) + " 个。"
                          : CString("生成成功！"));
    });
}

void CNumbersPage::OnTimer(UINT nIDEvent)
{
    if (!HandleRunTimer(nIDEvent))
        Default();
}

void CNumbersPage::OnCheckFloat()
{
    GetDlgItem(IDC_EDIT_DECIMALS).EnableWindow(IsChecked(*this, IDC_CHECK_FLOAT));
}

void CNumbersPage::OnExport()
{
    if (IsRunning()) {
        PageMessage(*this, "正在生成，请稍后再导出。");
        return;
    }
    const CString list = GetDlgItemText(IDC_EDIT_NUM_OUTPUT);
    if (list.IsEmpty()) {
        PageMessage(*this, "没有可导出的结果！");
        return;
    }
    std::wstring path;
    ExportEncoding encoding;
    if (!AskExportPath(*this, L"数字.txt", path, encoding))
        return;
    ReportExport(*this, SaveExport(path, encoding,
                                   [&](const ExportWriter& write) { return write(list.View()); }));
}
