#pragma once
// The strings page: a batch of random strings, 200 ms after the click, written to the results file
// one record per string and shown in the box up to MAX_SHOWN_ITEMS strings when the list is within
// what a box shows (core/BoxRules.h). The batch itself runs on a worker thread.

#include "GeneratorPage.h"
#include "core/Batch.h"
#include "platform/ResultsFile.h"
#include "res/resource.h"

#include <string>

class CStringsPage : public CGeneratorPage {
public:
    explicit CStringsPage(CWnd* parent = nullptr, const IClock& clock = TickClock());
    ~CStringsPage() override;

    BOOL CheckInput() override;
    // Saves the latest batch to path, on the worker (Export after its Save As).
    void ExportTo(const std::wstring& path, ExportEncoding encoding);
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
    BOOL OnInitDialog() override;
    void StartRun() override;
    void OnGenerateTimer() override;
    void OnWorkerDone() override;
    void OnWorkerFailed(const char* words) override;
    void OnStopRequest(Phase was) override;
    CString ProgressText() override;
    void ExportResults() override;
    // Where the batch's Chinese characters and insertion fields come from: the library object.
    virtual ComposerSources BatchSources();

private:
    void StartBatch();
    // Ends a batch that could not start, or whose file failed without a list to show: the box and
    // the message say so and name the file.
    void FinishWithFileFailure(const CString& why);
    CString FileFailureText(const CString& why) const;
    // The closing message of a batch that reached its file, given how it ended and whether its
    // path still names the file.
    CString EndMessage(const CString& outcome, bool atPath) const;

    // The file the batch goes to: at m_strOutFile's name, or the page's own when that name is
    // not the page's to take.
    CResultsFile& Results() { return m_bOwnFile ? m_ownResults : m_results; }
    // Starts the batch's file: at the name, or when it is taken, at the page's own. Back at the
    // name, the page's own file goes.
    CResultsFile::Start BeginResults();

    CResultsFile m_results;
    CResultsFile m_ownResults; // Zanfor_out.<process id>.txt
    bool m_bOwnFile = false;
    CString m_strSharedOutFile;      // the name left for the page's own file
    bool m_bSharedElsewhere = false; // not beside the program
    BatchResult m_result;
    std::int64_t m_nMaxShown = 0; // the batch collects its list when it holds at most this many
    std::string m_shown;          // the batch's list, as the batch made it
    // What Export offers: the results file of a batch that reached it whole, or else the batch's
    // list when it is the whole batch; with nothing, Export says why.
    enum class Exportable { Nothing, ResultsFile, ShownList } m_exportable = Exportable::Nothing;
    CString m_strNothingToExport;
};
