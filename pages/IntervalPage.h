#pragma once
// The interval page: events at random delays, each a line with the local date and time and, when
// asked, the shell opening a program.

#include "GeneratorPage.h"
#include "res/resource.h"

class CIntervalPage : public CGeneratorPage {
public:
    explicit CIntervalPage(CWnd* parent = nullptr);
    ~CIntervalPage() override;

    BOOL CheckInput();
    void OnGenerate();
    void OnTimer(UINT nIDEvent);
    void OnCheckRunProgram();
    void CancelRun() override;

    BOOL m_bRunProgram = 0;
    CString m_strProgram;
    CString m_strLog;
    int m_nIntervalMin = 0;
    int m_nIntervalMax = 0;
    int m_nCount = 0;
    int m_nFired = 0;
    int m_nLaunchFailures = 0; // events whose program the shell could not open

protected:
    bool OnMessage(Message& m) override;
    BOOL OnInitDialog() override;
    void OnStopRequest() override;

private:
    UINT NextDelay();
    // The closing message: success only when every launch succeeded.
    CString EndMessage(bool stopped) const;
};
