#pragma once
// The strings page: a batch of random strings, 200 ms after the click, written to the results file
// one record per string and shown in the box up to MAX_SHOWN_ITEMS strings. The batch itself runs
// on a worker thread.

#include "GeneratorPage.h"
#include "core/Batch.h"
#include "corelib/ResultsFile.h"
#include "res/resource.h"

#include <string>

class CStringsPage : public CGeneratorPage {
public:
    explicit CStringsPage(CWnd* parent = nullptr);
    ~CStringsPage() override;

    BOOL CheckInput();
    void OnGenerate();
    void OnTimer(UINT nIDEvent);
    void OnExport();
    void CancelRun() override;
    // The composer's settings, made of the page's own members.
    StringOptions Options() const;

    BOOL m_bUpper = 0;
    BOOL m_bLower = 0;
    BOOL m_bDigit = 0;
    BOOL m_bHanzi = 0;
    CString m_strHead;
    CString m_strTail;
    CString m_strInsert;
    CString m_strOutFile;
    int m_nLenMin = 0;
    int m_nLenMax = 0;
    int m_nCount = 0;

protected:
    bool OnMessage(Message& m) override;
    BOOL OnInitDialog() override;
    void OnStopRequest() override;
    CString ProgressText() override;

private:
    bool FitsInMemory() const;
    void StartBatch();
    void OnBatchDone();
    // Ends a batch that could not start, or whose file failed: the message names the file.
    void FinishWithFileFailure(const CString& why);
    CString FileFailureText(const CString& why) const;

    CResultsFile m_results;
    CBatchWorker m_worker;
    BatchResult m_result;
    std::string m_shown;
    // The results file is not the one beside the program: the user is told where it is.
    bool m_bOutFileElsewhere = false;
    // What Export offers: the results file of a batch that reached it whole, or else the list on
    // screen when it is the whole batch.
    enum class Exportable { Nothing, ResultsFile, ShownList } m_exportable = Exportable::Nothing;
    bool m_bGenerated = false; // a batch has been tried
};
