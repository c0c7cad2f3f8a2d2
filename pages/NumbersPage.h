#pragma once
// The numbers page: a list of random whole and decimal numbers, built on the click and shown at
// once, or a piece at a time when the list is long.

#include "GeneratorPage.h"
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
    void ExportResults() override;

private:
    // The message for a list the box cannot take, or null.
    const char* ListRefusal() const;
};
