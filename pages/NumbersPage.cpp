#include "NumbersPage.h"

#include "Export.h"
#include "core/Batch.h"
#include "core/NumbersRules.h"
#include "framework/FieldReaders.h"
#include "framework/FillCost.h"
#include "platform/TextConversion.h"

#include <algorithm>

namespace {
// The whole list goes into the box, a piece at a time, with progress and Stop: a list that would
// take the box longer than this is refused before anything changes.
constexpr double MAX_LIST_FILL_MS = 30000;
} // namespace

CNumbersPage::CNumbersPage(CWnd* parent, const IClock& clock)
    : CGeneratorPage(IDD_PAGE_NUMBERS, parent, clock,
                     {.generate = IDC_BTN_NUM_GENERATE,
                      .exportButton = IDC_BTN_NUM_EXPORT,
                      .output = IDC_EDIT_NUM_OUTPUT})
{
}

CNumbersPage::~CNumbersPage() = default;

bool CNumbersPage::OnMessage(Message& m)
{
    static const MessageEntry<CNumbersPage> map[] = {
        ForCommand(IDC_CHECK_FLOAT, BN_CLICKED, &CNumbersPage::OnCheckFloat),
    };
    return Dispatch(this, map, m) || CGeneratorPage::OnMessage(m);
}

BOOL CNumbersPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetCheck(*this, IDC_CHECK_INTEGER, NUMBERS_DEFAULT_INTEGER);
    SetCheck(*this, IDC_CHECK_FLOAT, NUMBERS_DEFAULT_FLOAT);
    SetDlgItemText(IDC_EDIT_NUM_MIN, NUMBERS_DEFAULT_MIN);
    SetDlgItemText(IDC_EDIT_NUM_MAX, NUMBERS_DEFAULT_MAX);
    SetDlgItemText(IDC_EDIT_NUM_COUNT, CString::FromInt(NUMBERS_DEFAULT_COUNT));
    SetDlgItemText(IDC_EDIT_DECIMALS, CString::FromInt(NUMBERS_DEFAULT_DECIMALS));
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
    const NumbersInput in{.integer = IsChecked(*this, IDC_CHECK_INTEGER),
                          .decimal = IsChecked(*this, IDC_CHECK_FLOAT),
                          .min = ReadFloatField(this, IDC_EDIT_NUM_MIN),
                          .max = ReadFloatField(this, IDC_EDIT_NUM_MAX),
                          .count = ReadIntField(this, IDC_EDIT_NUM_COUNT),
                          .decimals = ReadIntField(this, IDC_EDIT_DECIMALS)};
    NumberOptions o = Options();
    const char* refusal = CheckNumbers(in, o);
    m_bInteger = o.m_bInteger;
    m_bFloat = o.m_bFloat;
    m_fMin = o.m_fMin;
    m_fMax = o.m_fMax;
    m_nCount = o.m_nCount;
    m_nDecimals = o.m_nDecimals;
    if (!refusal)
        refusal = ListRefusal();
    if (refusal)
        return RefuseSetting(*this, refusal);
    SeedRandom();
    return TRUE;
}

const char* CNumbersPage::ListRefusal() const
{
    const long long line = LongestNumberItem(Options()) + 2;
    const double fillMs =
        PiecewiseFillMs(m_nCount, static_cast<std::size_t>(std::min(line, 1LL << 30)));
    if (m_nCount * line <= MAX_OUTPUT_BYTES && fillMs <= MAX_LIST_FILL_MS)
        return nullptr;
    // Fewer decimals help only where there are decimals.
    return m_bFloat && m_nDecimals > 0 ? MSG_NUMBERS_LIST_TOO_LONG_DECIMALS
                                       : MSG_NUMBERS_LIST_TOO_LONG;
}

void CNumbersPage::StartRun()
{
    SetDlgItemText(IDC_EDIT_NUM_OUTPUT, "");
    std::string text; // within the bounds above, made in a fraction of a second
    MakeNumbersList({.options = Options(), .count = m_nCount}, TheRandomSource(), text);
    FillOutput(std::move(text), [this](bool stopped, std::int64_t lines) {
        FinishRun(stopped ? StoppedMessage(lines, m_nCount) : CString(MSG_SUCCESS));
    });
}

void CNumbersPage::OnCheckFloat()
{
    GetDlgItem(IDC_EDIT_DECIMALS).EnableWindow(IsChecked(*this, IDC_CHECK_FLOAT));
}

void CNumbersPage::ExportResults()
{
    // What the box shows, which the user may have edited: read as UTF-16, so that nothing GBK
    // cannot spell is lost before the file's encoding is known.
    const std::wstring shown = WindowTextWide(GetDlgItem(IDC_EDIT_NUM_OUTPUT).m_hWnd);
    if (shown.empty()) {
        PageMessage(*this, MSG_NOTHING_TO_EXPORT);
        return;
    }
    std::wstring path;
    ExportEncoding encoding;
    if (!AskExportPath(*this, L"数字.txt", path, encoding))
        return;
    std::string bytes;
    bool lossy = false;
    AppendFromWide(bytes, shown, encoding == ExportEncoding::Utf8 ? CP_UTF8 : CP_GBK,
                   encoding == ExportEncoding::Utf8 ? nullptr : &lossy);
    if (lossy) {
        PageMessage(*this, MSG_EXPORT_NOT_GBK);
        return;
    }
    const std::uint64_t size = bytes.size();
    StartExport(
        path, ExportEncoding::AsGiven,
        [bytes = std::move(bytes)](const ExportWriter& write) { return write(bytes); }, size);
}
