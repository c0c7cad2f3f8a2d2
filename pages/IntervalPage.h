#pragma once
// The interval page: events at random delays, each a line with the local date and time and, when
// asked, the shell opening a program.

#include "GeneratorPage.h"
#include "core/EventsRules.h"
#include "res/resource.h"

class CIntervalPage : public CGeneratorPage {
public:
    explicit CIntervalPage(CWnd* parent = nullptr, const IClock& clock = TickClock());
    ~CIntervalPage() override;

    BOOL CheckInput() override;
    void OnCheckRunProgram();

    BOOL m_bRunProgram = 0;
    CString m_strProgram;
    CString m_strLog;
    int m_nIntervalMin = 0;
    int m_nIntervalMax = 0;
    int m_nCount = 0;
    int m_nFired = 0;

protected:
    bool OnMessage(Message& m) override;
    BOOL OnInitDialog() override;
    void StartRun() override;
    void OnGenerateTimer() override;
    void OnStopRequest(Phase was) override;

private:
    void ScheduleNextEvent();
    void ShowNewLine(const CString& line);

    EventSeries m_series{0, 0, 0};
};
