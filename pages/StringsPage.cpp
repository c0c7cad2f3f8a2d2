#include "StringsPage.h"

#include "Export.h"
#include "core/Random.h"
#include "core/StringsRules.h"
#include "corelib/Core.h"
#include "framework/FieldReaders.h"
#include "framework/Platform.h"
#include "platform/FileSystem.h"
#include "platform/TextConversion.h"

#include <algorithm>

namespace {

constexpr const char* MSG_NO_WHOLE_BATCH = "没有可导出的完整结果，请重新生成。";

std::string_view FolderOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

} // namespace

CStringsPage::CStringsPage(CWnd* parent, const IClock& clock)
    : CGeneratorPage(IDD_PAGE_STRINGS, parent, clock,
                     {.generate = IDC_BTN_STR_GENERATE,
                      .exportButton = IDC_BTN_STR_EXPORT,
                      .output = IDC_EDIT_STR_OUTPUT}),
      m_strNothingToExport(MSG_NOTHING_TO_EXPORT)
{
}

CStringsPage::~CStringsPage()
{
    CancelRun();
    // A file of the page's own is nobody else's to clear away; the one at the shared name stays
    // for the next start.
    m_ownResults.Remove();
}

BOOL CStringsPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetCheck(*this, IDC_CHECK_UPPER, STRINGS_DEFAULT_UPPER);
    SetCheck(*this, IDC_CHECK_LOWER, STRINGS_DEFAULT_LOWER);
    SetCheck(*this, IDC_CHECK_DIGIT, STRINGS_DEFAULT_DIGIT);
    SetCheck(*this, IDC_CHECK_HANZI, STRINGS_DEFAULT_HANZI);
    SetDlgItemText(IDC_EDIT_LEN_MIN, CString::FromInt(STRINGS_DEFAULT_LEN_MIN));
    SetDlgItemText(IDC_EDIT_LEN_MAX, CString::FromInt(STRINGS_DEFAULT_LEN_MAX));
    SetDlgItemText(IDC_EDIT_STR_COUNT, CString::FromInt(STRINGS_DEFAULT_COUNT));
    m_strOutFile = g_pCore->getAppPath() + "_out.txt";
    // A program folder that is not writable sends the file to the user's data folder.
    m_bSharedElsewhere = FolderOf(m_strOutFile.View()) != FolderOf(platform::ProgramPath().View());
    CResultsFile::RemoveOld(m_strOutFile); // a results file left by an earlier run
    return TRUE;
}

StringOptions CStringsPage::Options() const
{
    return StringOptions{.m_bUpper = m_bUpper,
                         .m_bLower = m_bLower,
                         .m_bDigit = m_bDigit,
                         .m_bHanzi = m_bHanzi,
                         .m_strHead = m_strHead,
                         .m_strTail = m_strTail,
                         .m_strInsert = m_strInsert,
                         .m_nLenMin = m_nLenMin,
                         .m_nLenMax = m_nLenMax};
}

BOOL CStringsPage::CheckInput()
{
    const StringsInput in{.upper = IsChecked(*this, IDC_CHECK_UPPER),
                          .lower = IsChecked(*this, IDC_CHECK_LOWER),
                          .digit = IsChecked(*this, IDC_CHECK_DIGIT),
                          .hanzi = IsChecked(*this, IDC_CHECK_HANZI),
                          .head = ReadTextField(this, IDC_EDIT_HEAD),
                          .tail = ReadTextField(this, IDC_EDIT_TAIL),
                          .insert = ReadTextField(this, IDC_EDIT_INSERT),
                          .lenMin = ReadIntField(this, IDC_EDIT_LEN_MIN),
                          .lenMax = ReadIntField(this, IDC_EDIT_LEN_MAX),
                          .count = ReadIntField(this, IDC_EDIT_STR_COUNT)};
    StringsSettings s{Options(), m_nCount};
    const char* refusal = CheckStrings(in, s);
    const StringOptions& o = s.options;
    m_bUpper = o.m_bUpper;
    m_bLower = o.m_bLower;
    m_bDigit = o.m_bDigit;
    m_bHanzi = o.m_bHanzi;
    m_strHead = o.m_strHead;
    m_strTail = o.m_strTail;
    m_strInsert = o.m_strInsert;
    m_nLenMin = o.m_nLenMin;
    m_nLenMax = o.m_nLenMax;
    m_nCount = s.count;
    if (refusal)
        return RefuseSetting(*this, refusal);
    SeedRandom();
    return TRUE;
}

void CStringsPage::StartRun()
{
    SetDlgItemText(IDC_EDIT_STR_OUTPUT, MSG_WORKING.chinese);
    DeferRun(200);
}

void CStringsPage::OnGenerateTimer()
{
    StartBatch();
}

void CStringsPage::StartBatch()
{
    m_exportable = Exportable::Nothing;
    m_strNothingToExport = MSG_NOTHING_TO_EXPORT;
    const CResultsFile::Start start = BeginResults();
    if (start == CResultsFile::Start::DeletePending) {
        FinishWithFileFailure("旧的结果文件正被其他程序打开，请关闭该程序后重新生成。");
        return;
    }
    if (start != CResultsFile::Start::Ok) {
        FinishWithFileFailure(Results().ErrorText());
        return;
    }
    m_shown.clear();
    m_result = BatchResult{};
    // The list is collected only when it is small enough to keep beside the file.
    const long long longest = LongestString(Options());
    m_nMaxShown =
        m_nCount <= MAX_SHOWN_ITEMS && m_nCount * (longest + 2) <= MAX_OUTPUT_BYTES ? m_nCount : 0;
    const StringsBatch batch{.options = Options(), .count = m_nCount, .maxShown = m_nMaxShown};
    StartWorker([this, batch, rng = TheRandomSource(), sources = BatchSources(), &file = Results()](
                    const std::atomic<bool>& stop, std::atomic<std::int64_t>& made) mutable {
        const BatchControl control{.stop = &stop,
                                   .progress = [&made](std::int64_t n) { made = n; }};
        m_result = MakeStringsBatch(batch, rng, sources, file, &m_shown, control);
    });
}

CResultsFile::Start CStringsPage::BeginResults()
{
    // A page on its own file tries the name it left at every batch, and goes back once it is free.
    const CString name =
        m_bOwnFile && m_strOutFile == m_ownResults.Path() ? m_strSharedOutFile : m_strOutFile;
    const CResultsFile::Start start = m_results.Begin(name);
    if (start == CResultsFile::Start::HeldElsewhere) {
        // The name is not ours to take: another program holds it (a second Zanfor most likely),
        // it is read-only, or it is a link or no file at all (a FIFO). The batch goes to a file of
        // the page's own, and the closing message says where.
        m_strSharedOutFile = name;
        m_strOutFile = g_pCore->getAppPath() + "_out." +
                       CString::FromInt(static_cast<long long>(::GetCurrentProcessId())) + ".txt";
        m_bOwnFile = true;
        return m_ownResults.Begin(m_strOutFile);
    }
    m_strOutFile = name;
    if (m_bOwnFile) {
        m_bOwnFile = false;
        m_ownResults.Remove(); // its batch is over: nothing offers it any more
    }
    return start;
}

ComposerSources CStringsPage::BatchSources()
{
    return SourcesOf(*g_pCore);
}

CString CStringsPage::ProgressText()
{
    return CString(MSG_WORKING) + " " + Percent(WorkerMade(), m_nCount);
}

void CStringsPage::OnStopRequest(Phase was)
{
    if (was != Phase::Waiting) {
        CGeneratorPage::OnStopRequest(was);
        return;
    }
    // Stopped while it waited: nothing was made, and the box and Export say so.
    KillTimer(GENERATE_TIMER_ID);
    SetDlgItemText(IDC_EDIT_STR_OUTPUT, "");
    m_exportable = Exportable::Nothing;
    m_strNothingToExport = MSG_NOTHING_TO_EXPORT;
    FinishRun(StoppedMessage(0, m_nCount));
}

// As after a failed write: nothing whole to export, and Export says why.
void CStringsPage::OnWorkerFailed(const char* words)
{
    m_exportable = Exportable::Nothing;
    m_strNothingToExport = CString(words) + MSG_NO_WHOLE_BATCH;
    std::string().swap(m_shown);
}

void CStringsPage::OnWorkerDone()
{
    CResultsFile& file = Results();
    const bool fileOk = !m_result.sinkFailed && file.Verify();
    const bool listWhole = m_nMaxShown > 0 && m_result.shownCount == m_nCount;
    // A list larger than a box shows is left to Export, like a batch past MAX_SHOWN_ITEMS.
    const bool showList = m_nMaxShown > 0 && FitsTheBox(m_shown);
    if (!fileOk) {
        // The batch's own list is what Export offers when it is the whole batch.
        m_exportable = listWhole ? Exportable::ShownList : Exportable::Nothing;
        if (listWhole && showList) {
            FillOutput(m_shown, [this](bool, std::int64_t) {
                FinishRun(FileFailureText(Results().ErrorText()));
            });
            return;
        }
        FinishWithFileFailure(file.ErrorText());
        return;
    }
    m_exportable = Exportable::ResultsFile;
    // Removed from outside: the page still holds the batch, which Export can save.
    const bool atPath = file.IsAtPath();
    const CString outcome = m_result.stopped ? StoppedMessage(m_result.made, m_nCount)
                            : atPath         ? CString(MSG_SUCCESS)
                                             : CString("生成完成。");
    const CString message = EndMessage(outcome, atPath);
    if (!showList) {
        const char* notice = m_result.stopped              ? MSG_STOPPED_PART_TO_EXPORT
                             : m_nCount <= MAX_SHOWN_ITEMS ? MSG_LIST_TOO_LARGE
                                                           : "生成完成，请单击导出按钮。";
        SetDlgItemText(IDC_EDIT_STR_OUTPUT, notice);
        FinishRun(message);
        return;
    }
    // A batch stopped while it was made shows what it made, whole.
    FillOutput(
        std::move(m_shown),
        [this, message, atPath](bool stopped, std::int64_t lines) {
            // The batch is whole in the file; only its showing was stopped.
            FinishRun(stopped
                          ? EndMessage(ShowStoppedMessage(lines, m_nCount,
                                                          "全部结果在结果文件中，请单击导出按钮。"),
                                       atPath)
                          : message);
        },
        m_result.stopped);
}

CString CStringsPage::EndMessage(const CString& outcome, bool atPath) const
{
    if (!atPath)
        return outcome + "\r\n结果文件已被删除：" + m_strOutFile +
               "\r\n本次结果仍可单击导出按钮保存。";
    return m_bOwnFile || m_bSharedElsewhere ? outcome + "\r\n结果文件：" + m_strOutFile : outcome;
}

CString CStringsPage::FileFailureText(const CString& why) const
{
    CString text = "结果文件写入失败：" + m_strOutFile;
    if (!why.IsEmpty())
        text += "\r\n" + why;
    return text;
}

void CStringsPage::FinishWithFileFailure(const CString& why)
{
    m_strNothingToExport = CString("结果文件写入失败，") + MSG_NO_WHOLE_BATCH;
    SetDlgItemText(IDC_EDIT_STR_OUTPUT, "结果文件写入失败，请检查后重新生成。");
    FinishRun(FileFailureText(why));
}

void CStringsPage::ExportResults()
{
    if (m_exportable == Exportable::Nothing) {
        PageMessage(*this, m_strNothingToExport);
        return;
    }
    std::wstring path;
    ExportEncoding encoding;
    if (AskExportPath(*this, L"字符串.txt", path, encoding))
        ExportTo(path, encoding);
}

void CStringsPage::ExportTo(const std::wstring& path, ExportEncoding encoding)
{
    if (Results().IsSameFile(path)) {
        // Converting the file in place would take the batch from under the page.
        PageMessage(*this, "不能导出到结果文件本身，请另选文件名。");
        return;
    }
    if (m_exportable == Exportable::ShownList) {
        // The batch's own bytes: the box may have been edited, and shows what GBK cannot split.
        StartExport(
            path, encoding, [this](const ExportWriter& write) { return write(m_shown); },
            m_shown.size());
        return;
    }
    StartExport(
        path, encoding, [this](const ExportWriter& write) { return Results().ReadBack(write); },
        Results().BytesWritten());
}
