#include "NumbersPage.h"

#include "Export.h"
#include "core/Batch.h"
#include "core/NumbersRules.h"
#include "framework/FieldReaders.h"
#include "platform/TextConversion.h"

CNumbersPage::CNumbersPage(CWnd* parent, const IClock& clock)
    : CGeneratorPage(IDD_PAGE_NUMBERS, parent, clock,
                     {.generate = IDC_BTN_NUM_GENERATE,
                      .exportButton = IDC_BTN_NUM_EXPORT,
                      .output = IDC_EDIT_NUM_OUTPUT})
{
}

CNumbersPage::~CNumbersPage()
{
    CancelRun(); // the worker writes into the batch held
}

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
    if (refusal)
        return RefuseSetting(*this, refusal);
    SeedRandom();
    return TRUE;
}

void CNumbersPage::StartRun()
{
    SetDlgItemText(IDC_EDIT_NUM_OUTPUT, "");
    m_batch.Clear();
    m_exportable = Exportable::Nothing; // until the batch is made
    const NumbersList list{.options = Options(), .count = m_nCount};
    const long long longest = LongestNumberItem(Options());
    if (m_nCount <= MAX_SHOWN_LINES && longest <= MAX_SHOWN_LINE_BYTES &&
        m_nCount * (longest + 2) <= MAX_SHOWN_BYTES) {
        // Shown whatever the draws: made at once, as a short list always was.
        ShowBatch(MakeNumbersBatch(list, TheRandomSource(), m_batch));
        return;
    }
    StartWorker([this, list, rng = TheRandomSource()](const std::atomic<bool>& stop,
                                                      std::atomic<std::int64_t>& made) mutable {
        const BatchControl control{.stop = &stop,
                                   .progress = [&made](std::int64_t n) { made = n; }};
        m_result = MakeNumbersBatch(list, rng, m_batch, control);
    });
}

CString CNumbersPage::ProgressText()
{
    return CString(MSG_WORKING) + " " + Percent(WorkerMade(), m_nCount);
}

void CNumbersPage::OnWorkerDone()
{
    ShowBatch(m_result);
}

void CNumbersPage::OnWorkerFailed(const char*)
{
    m_batch.Clear();
    m_exportable = Exportable::Nothing;
}

void CNumbersPage::ShowBatch(const BatchResult& result)
{
    if (result.sinkFailed) {
        // Only a batch too large for memory goes to a file: without it there is nothing whole.
        const CString message =
            "临时文件写入失败：" + m_batch.FilePath() + "\r\n" + m_batch.Reason();
        m_batch.Clear();
        m_exportable = Exportable::Nothing;
        SetDlgItemText(IDC_EDIT_NUM_OUTPUT, "临时文件写入失败，请检查后重新生成。");
        FinishRun(message);
        return;
    }
    const CString outcome =
        result.stopped ? StoppedMessage(result.made, m_nCount) : CString(MSG_SUCCESS);
    if (!m_batch.FitsTheBox()) {
        m_exportable = Exportable::Batch;
        SetDlgItemText(IDC_EDIT_NUM_OUTPUT,
                       result.stopped ? MSG_STOPPED_PART_TO_EXPORT : MSG_LIST_TOO_LARGE);
        FinishRun(outcome);
        return;
    }
    FillOutput(
        m_batch.Text(),
        [this, outcome](bool stopped, std::int64_t lines) {
            // Shown whole, the list is the box's, and Export saves the box, edits included.
            m_exportable = stopped ? Exportable::Batch : Exportable::Box;
            if (!stopped)
                m_batch.Clear();
            FinishRun(stopped ? ShowStoppedMessage(lines, m_nCount, "全部结果请单击导出按钮保存。")
                              : outcome);
        },
        result.stopped);
}

void CNumbersPage::OnCheckFloat()
{
    GetDlgItem(IDC_EDIT_DECIMALS).EnableWindow(IsChecked(*this, IDC_CHECK_FLOAT));
}

void CNumbersPage::ExportResults()
{
    if (m_exportable == Exportable::Nothing) {
        PageMessage(*this, MSG_NOTHING_TO_EXPORT);
        return;
    }
    std::wstring path;
    ExportEncoding encoding;
    if (m_exportable == Exportable::Batch) {
        if (!AskExportPath(*this, L"数字.txt", path, encoding))
            return;
        // Numbers are ASCII: GBK and UTF-8 spell them alike.
        StartExport(
            path, ExportEncoding::AsGiven,
            [this](const ExportWriter& write) { return m_batch.ReadBack(write); }, m_batch.Bytes());
        return;
    }
    // What the box shows, which the user may have edited: read as UTF-16, so that nothing GBK
    // cannot spell is lost before the file's encoding is known.
    const std::wstring shown = WindowTextWide(GetDlgItem(IDC_EDIT_NUM_OUTPUT).m_hWnd);
    if (shown.empty()) {
        PageMessage(*this, MSG_NOTHING_TO_EXPORT);
        return;
    }
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

CString CNumbersPage::ExportSourceFailure() const
{
    return "临时文件读取失败：" + m_batch.FilePath() + "\r\n" + m_batch.Reason();
}
