#pragma once
// The application object: runs the main window as a modal dialog, then ends the process.

#include "framework/WinApp.h"

class CGeneratorApp : public CWinApp {
public:
    CGeneratorApp();
    BOOL InitInstance() override;
};

extern CGeneratorApp theApp;
