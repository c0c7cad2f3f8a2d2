#pragma once
// The application object: the framework's entry runs InitInstance of the one instance and ends
// the process when it returns FALSE.

#include "Wnd.h"

class CWinApp {
public:
    CWinApp(); // no application name of its own
    virtual ~CWinApp();
    virtual BOOL InitInstance() { return FALSE; }

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
// Registers the common controls the templates use (tab control, visual styles).
void AfxInitCommonControls();
// Kept for the application's start-up sequence; our layer hosts no ActiveX controls and every
// control already draws in 3D, so neither has anything to do.
inline void AfxEnableControlContainer() {}
inline BOOL Enable3dControls()
{
    return TRUE;
}
