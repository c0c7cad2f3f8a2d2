#include "StringsPage.h"

#include "core/SettingMessages.h"
#include "Export.h"
#include "core/Random.h"
#include "corelib/Core.h"
#include "corelib/Platform.h"
#include "corelib/WideText.h"
#include "framework/FieldReaders.h"
#include "framework/Platform.h"

#include <algorithm>

namespace {

std::string_view FolderOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

} // namespace

CStringsPage::CStringsPage(CWnd* parent)
    : CGeneratorPage(IDD_PAGE_STRINGS, parent, IDC_BTN_STR_GENERATE, IDC_EDIT_STR_OUTPUT)
{
}

CStringsPage::~CStringsPage()
{
    CancelRun();
}

bool CStringsPage::OnMessage(Message& m)
{
    static const MessageEntry<CStringsPage> map[] = {
        ForCommand(IDC_BTN_STR_GENERATE, BN_CLICKED, &CStringsPage::OnGenerate),
        ForCommand(IDC_BTN_STR_EXPORT, BN_CLICKED, &CStringsPage::OnExport),
        ForTimer(&CStringsPage::OnTimer),
        ForMessage(WM_BATCH_DONE, &CStringsPage::OnBatchDone),
        ForMessage(WM_DESTROY, &CStringsPage::CancelRun),
    };
    return Dispatch(this, map, m);
}

BOOL CStringsPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetCheck(*this, IDC_CHECK_UPPER, 1);
    SetCheck(*this, IDC_CHECK_LOWER, 1);
    SetDlgItemText(IDC_EDIT_LEN_MIN, "5");
    SetDlgItemText(IDC_EDIT_LEN_MAX, "8");
    SetDlgItemText(IDC_EDIT_STR_COUNT, "10");
    m_strOutFile = g_pCore->getAppPath() + "_out.txt";
    // A program folder that is not writable sends the file to the user's data folder.
    m_bOutFileElsewhere = FolderOf(m_strOutFile.View()) != FolderOf(corelib::ProgramPath().View());
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
    m_bUpper = IsChecked(*this, IDC_CHECK_UPPER);
    m_bLower = IsChecked(*this, IDC_CHECK_LOWER);
    m_bDigit = IsChecked(*this, IDC_CHECK_DIGIT);
    m_bHanzi = IsChecked(*this, IDC_CHECK_HANZI);
    if (!m_bUpper && !m_bLower && !m_bDigit && !m_bHanzi)
        return RefuseSetting(*this, MSG_NO_CHAR_CLASS);
    m_strHead = GetDlgItemText(IDC_EDIT_HEAD);
    m_strTail = GetDlgItemText(IDC_EDIT_TAIL);
    m_strInsert = GetDlgItemText(IDC_EDIT_INSERT);
    m_strInsert.TrimLeft();
    m_strInsert.TrimRight();
    m_nLenMin = ReadIntField(this, IDC_EDIT_LEN_MIN);
    m_nLenMax = ReadIntField(this, IDC_EDIT_LEN_MAX);
    m_nCount = ReadIntField(this, IDC_EDIT_STR_COUNT);
    if (m_nLenMin > m_nLenMax)
        return RefuseSetting(*this, MSG_BAD_LENGTH);
    if (m_nCount < 1)
        return RefuseSetting(*this, MSG_BAD_COUNT);
    if (!FitsInMemory())
        return RefuseSetting(*this, MSG_STRINGS_TOO_LARGE);
    SeedRandom();
    return TRUE;
}

// The longest string the settings can make, and the shown list, must fit in memory: a setting
// that cannot be produced is refused like any other invalid one, before anything changes.
bool CStringsPage::FitsInMemory() const
{
    const long long longest = LongestString(Options());
    if (longest > MAX_OUTPUT_BYTES)
        return false;
    return m_nCount > MAX_SHOWN_ITEMS || m_nCount * (longest + 2) <= MAX_OUTPUT_BYTES;
}

void CStringsPage::OnGenerate()
{
    if (HandleStopClick())
        return;
    if (!CheckInput())
        return;
    BeginRun();
    m_exportable = Exportable::Nothing;
    SetDlgItemText(IDC_EDIT_STR_OUTPUT, "生成中，请稍后...");
    SetTimer(GENERATE_TIMER_ID, 200);
}

void CStringsPage::OnTimer(UINT nIDEvent)
{
    if (HandleRunTimer(nIDEvent))
        return;
    KillTimer(nIDEvent); // every other timer of the page fires once
    if (nIDEvent == GENERATE_TIMER_ID)
        StartBatch();
    Default();
}

void CStringsPage::StartBatch()
{
    if (StopRequested()) { // stopped while it waited
        FinishRun("生成已停止：已生成 0 个，共 " + CString::FromInt(m_nCount) + " 个。");
        return;
    }
    m_bGenerated = true;
    CResultsFile::Start start = m_results.Begin(m_strOutFile);
    if (start == CResultsFile::Start::HeldElsewhere) {
        // The shared name is not ours to take: another program holds it (a second Zanfor most
        // likely), or it is a link. This page keeps a results file of its own from now on, and
        // says where it is.
        m_strOutFile = g_pCore->getAppPath() + "_out." +
                       CString::FromInt(static_cast<long long>(::GetCurrentProcessId())) + ".txt";
        m_bOutFileElsewhere = true;
        start = m_results.Begin(m_strOutFile);
    }
    if (start == CResultsFile::Start::DeletePending) {
        FinishWithFileFailure("旧的结果文件正被其他程序打开，请关闭该程序后重新生成。");
        return;
    }
    if (start != CResultsFile::Start::Ok) {
        FinishWithFileFailure(m_results.ErrorText());
        return;
    }
    m_shown.clear();
    m_result = BatchResult{};
    const StringsBatch batch{.options = Options(), .count = m_nCount, .maxShown = MAX_SHOWN_ITEMS};
    m_worker.Start(
        m_hWnd, [this, batch, rng = TheRandomSource(), sources = SourcesOf(*g_pCore)](
                    const std::atomic<bool>& stop, std::atomic<std::int64_t>& made) mutable {
            const BatchControl control{.stop = &stop,
                                       .progress = [&made](std::int64_t n) { made = n; }};
            m_result = MakeStringsBatch(batch, rng, sources, m_results, &m_shown, control);
        });
}

CString CStringsPage::ProgressText()
{
    return "生成中，请稍后... " + Percent(m_worker.Made(), m_nCount);
}

void CStringsPage::OnStopRequest()
{
    m_worker.RequestStop();
}

void CStringsPage::CancelRun()
{
    m_worker.RequestStop();
    m_worker.Wait();
}

void CStringsPage::OnBatchDone()
{
    m_worker.Wait();
    if (!IsRunning())
        return;
    const bool fileOk = !m_result.sinkFailed && m_results.Verify();
    const bool listWhole = m_nCount <= MAX_SHOWN_ITEMS && m_result.shownCount == m_nCount;
    // A list that would take the box too long to show is left to Export, like a long batch.
    const bool showList = m_nCount <= MAX_SHOWN_ITEMS && TextFillMs(m_shown) <= MAX_FILL_MS;
    if (!fileOk) {
        // The list on screen is what Export offers when it is the whole batch.
        m_exportable = listWhole && showList ? Exportable::ShownList : Exportable::Nothing;
        if (m_exportable == Exportable::ShownList)
            SetDlgItemText(IDC_EDIT_STR_OUTPUT, CString(m_shown));
        FinishWithFileFailure(m_results.ErrorText());
        return;
    }
    m_exportable = Exportable::ResultsFile;
    CString message = "生成成功！";
    if (m_result.stopped)
        message = "生成已停止：已生成 " + CString::FromInt(m_result.made) + " 个，共 " +
                  CString::FromInt(m_nCount) + " 个。";
    if (!m_results.IsAtPath()) // removed from outside: the page still holds the batch
        message = (m_result.stopped ? message : CString("生成完成。")) + "\r\n结果文件已被删除：" +
                  m_strOutFile + "\r\n本次结果仍可单击导出按钮保存。";
    else if (m_bOutFileElsewhere)
        message += "\r\n结果文件：" + m_strOutFile;
    if (!showList) {
        SetDlgItemText(IDC_EDIT_STR_OUTPUT, m_result.stopped
                                                ? "生成已停止，已生成的部分请单击导出按钮。"
                                                : "生成完成，请单击导出按钮。");
        FinishRun(message);
        return;
    }
    FillOutput(std::move(m_shown), [this, message](bool, std::int64_t) { FinishRun(message); });
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
    if (m_exportable != Exportable::ShownList)
        SetDlgItemText(IDC_EDIT_STR_OUTPUT, "结果文件写入失败，请检查后重新生成。");
    FinishRun(FileFailureText(why));
}

void CStringsPage::OnExport()
{
    if (IsRunning()) {
        PageMessage(*this, "正在生成，请稍后再导出。");
        return;
    }
    if (m_exportable == Exportable::Nothing) {
        PageMessage(*this, m_bGenerated ? "结果文件写入失败，没有可导出的完整结果，请重新生成。"
                                        : "没有可导出的结果！");
        return;
    }
    std::wstring path;
    ExportEncoding encoding;
    if (!AskExportPath(*this, L"字符串.txt", path, encoding))
        return;
    if (m_results.IsSameFile(path)) {
        // Converting the file in place would take the batch from under the page.
        PageMessage(*this, "不能导出到结果文件本身，请另选文件名。");
        return;
    }
    ExportResult result;
    if (m_exportable == Exportable::ShownList) {
        const CString list = GetDlgItemText(IDC_EDIT_STR_OUTPUT);
        result = SaveExport(path, encoding,
                            [&](const ExportWriter& write) { return write(list.View()); });
    } else {
        result = SaveExport(path, encoding,
                            [&](const ExportWriter& write) { return m_results.ReadBack(write); });
    }
    ReportExport(*this, result);
}
