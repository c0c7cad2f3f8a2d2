#include "StringsPage.h"

#include "Export.h"
#include "core/Random.h"
#include "corelib/Core.h"
#include "framework/FieldReaders.h"
#include "framework/Platform.h"

#include <algorithm>

CStringsPage::CStringsPage(CWnd* parent) : CDialog(IDD_PAGE_STRINGS, parent) {}

CStringsPage::~CStringsPage() = default;

bool CStringsPage::OnMessage(Message& m)
{
    static const MessageEntry<CStringsPage> map[] = {
        ForCommand(IDC_BTN_STR_GENERATE, BN_CLICKED, &CStringsPage::OnGenerate),
        ForCommand(IDC_BTN_STR_EXPORT, BN_CLICKED, &CStringsPage::OnExport),
        ForTimer(&CStringsPage::OnTimer),
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
    DeleteFileGbk(m_strOutFile); // a results file left by an earlier run
    return TRUE;
}

StringOptions CStringsPage::Options() const
{
    return StringOptions{m_bUpper,  m_bLower,    m_bDigit,  m_bHanzi, m_strHead,
                         m_strTail, m_strInsert, m_nLenMin, m_nLenMax};
}

BOOL CStringsPage::CheckInput()
{
    m_bUpper = IsChecked(*this, IDC_CHECK_UPPER);
    m_bLower = IsChecked(*this, IDC_CHECK_LOWER);
    m_bDigit = IsChecked(*this, IDC_CHECK_DIGIT);
    m_bHanzi = IsChecked(*this, IDC_CHECK_HANZI);
    if (!m_bUpper && !m_bLower && !m_bDigit && !m_bHanzi)
        return RefuseSetting(*this, "至少指定一种字符类型！");
    m_strHead = GetDlgItemText(IDC_EDIT_HEAD);
    m_strTail = GetDlgItemText(IDC_EDIT_TAIL);
    m_strInsert = GetDlgItemText(IDC_EDIT_INSERT);
    m_strInsert.TrimLeft();
    m_strInsert.TrimRight();
    m_nLenMin = ReadIntField(this, IDC_EDIT_LEN_MIN);
    m_nLenMax = ReadIntField(this, IDC_EDIT_LEN_MAX);
    m_nCount = ReadIntField(this, IDC_EDIT_STR_COUNT);
    if (m_nLenMin > m_nLenMax)
        return RefuseSetting(*this, "生成长度设定无效！");
    if (m_nCount < 1)
        return RefuseSetting(*this, "生成个数设定无效！");
    if (!FitsInMemory())
        return RefuseSetting(*this, "生成结果过大，请减小生成长度或生成个数！");
    SeedRandom();
    return TRUE;
}

// The longest string the settings can make, and the shown list, must fit in memory: a setting
// that cannot be produced is refused like any other invalid one, before anything changes.
bool CStringsPage::FitsInMemory() const
{
    // One draw never passes the lower bound by more than RAND_DRAW_MAX.
    const long long lenMax =
        std::min<long long>(m_nLenMax, static_cast<long long>(m_nLenMin) + RAND_DRAW_MAX);
    long long longest =
        static_cast<long long>(m_strHead.size()) + m_strTail.size() + m_strInsert.size();
    if (lenMax > 0)
        longest += lenMax * (m_bHanzi ? 2 : 1);
    if (longest > MAX_OUTPUT_BYTES)
        return false;
    return m_nCount > MAX_SHOWN_ITEMS || m_nCount * (longest + 2) <= MAX_OUTPUT_BYTES;
}

void CStringsPage::OnGenerate()
{
    if (!CheckInput())
        return;
    GetDlgItem(IDC_BTN_STR_GENERATE).EnableWindow(FALSE);
    SetDlgItemText(IDC_EDIT_STR_OUTPUT, "生成中，请稍后...");
    SetTimer(GENERATE_TIMER_ID, 200);
}

void CStringsPage::OnTimer(UINT nIDEvent)
{
    KillTimer(nIDEvent); // every timer of the page fires once
    if (nIDEvent == GENERATE_TIMER_ID) {
        // A file that cannot be removed (locked by another program) must not get this batch
        // appended to the previous one.
        g_pCore->logClose();
        bool fileOk = DeleteFileGbk(m_strOutFile);
        const StringOptions opt = Options();
        const ComposerSources sources = SourcesOf(*g_pCore);
        const bool showList = m_nCount <= MAX_SHOWN_ITEMS; // exactly 1000 still shows the list
        CString shown;
        for (int i = 0; i < m_nCount; ++i) {
            const CString s = MakeString(opt, sources);
            if (fileOk)
                g_pCore->logAdd(m_strOutFile, s, 0);
            if (showList) {
                shown += s;
                shown += "\r\n";
            }
        }
        fileOk = g_pCore->logClose() && fileOk;
        if (showList)
            SetDlgItemText(IDC_EDIT_STR_OUTPUT, shown);
        else
            SetDlgItemText(IDC_EDIT_STR_OUTPUT, fileOk ? "生成完成，请单击导出按钮。"
                                                       : "结果文件写入失败，请检查后重新生成。");
        m_bOutFileComplete = fileOk;
        // Success is said only when the results file holds the whole batch.
        PageMessage(*this, fileOk ? CString("生成成功！") : "结果文件写入失败：" + m_strOutFile);
        GetDlgItem(IDC_BTN_STR_GENERATE).EnableWindow(TRUE);
    }
    Default();
}

void CStringsPage::OnExport()
{
    if (!m_bOutFileComplete) {
        PageMessage(*this, "没有可导出的结果！");
        return;
    }
    std::wstring path;
    ExportEncoding encoding;
    if (!AskExportPath(*this, L"字符串.txt", path, encoding))
        return;
    PageMessage(*this, ExportFile(m_strOutFile, path, encoding) ? "导出成功！" : "导出失败！");
}
