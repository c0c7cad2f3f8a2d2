#include "GeneratorApp.h"

#include "GeneratorDlg.h"

CGeneratorApp theApp;

CGeneratorApp::CGeneratorApp() = default;

BOOL CGeneratorApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();
    CGeneratorDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE; // no message loop of the framework's own: the process ends
}
