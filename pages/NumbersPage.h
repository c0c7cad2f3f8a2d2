#pragma once
// The numbers page: a list of random whole and decimal numbers, shown in the box when it is within
// what a box shows (core/BoxRules.h), else kept for Export. A list that surely fits is made on the
// click, in a few tens of milliseconds at most; a larger batch is made on the worker, with
// progress and Stop.

#include "GeneratorPage.h"
#include "HeldBatch.h"
#include "core/NumberItem.h"
#include "res/resource.h"

class CNumbersPage : public CGeneratorPage {
public:
    explicit CNumbersPage(CWnd* parent = nullptr, const IClock& clock = TickClock());
    ~CNumbersPage() override;

    BOOL CheckInput() override;
    void OnCheckFloat();
    // The page's settings as the number items read them.
    NumberOptions Options() const;

    BOOL m_bInteger = 0;
    BOOL m_bFloat = 0;
    float m_fMin = 0;
    float m_fMax = 0;
    int m_nCount = 0;
    int m_nDecimals = 0;

protected:
    bool OnMessage(Message& m) override;
    BOOL OnInitDialog() override;
    void StartRun() override;
    void OnWorkerDone() override;
    void OnWorkerFailed(const char* words) override;
    CString ProgressText() override;
    void ExportResults() override;
    CString ExportSourceFailure() const override;

private:
    // The batch is made: the box shows it, or says where it is, and the run ends.
    void ShowBatch(const BatchResult& result);

    CHeldBatch m_batch;
    BatchResult m_result;
    // What Export saves: the box, which the user may edit, while it shows the whole batch (or
    // before any batch); else the batch held; or nothing, after a failure.
    enum class Exportable { Box, Batch, Nothing } m_exportable = Exportable::Box;
};
