#pragma once
// The strings page: a batch of random strings, 200 ms after the click, written to the results file
// one record per string and shown in the box up to MAX_SHOWN_ITEMS strings.

#include "PageCommon.h"
#include "core/StringComposer.h"
#include "res/resource.h"

class CStringsPage : public CDialog {
public:
    explicit CStringsPage(CWnd* parent = nullptr);
    ~CStringsPage() override;

    BOOL CheckInput();
    void OnGenerate();
    void OnTimer(UINT nIDEvent);
    void OnExport();
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

private:
    bool FitsInMemory() const;
    // Whether the results file holds the latest batch whole, for Export.
    bool m_bOutFileComplete = false;
};
