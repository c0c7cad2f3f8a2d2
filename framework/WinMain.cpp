// The program's entry: the framework's part of start-up, then the application object's.
#include "WinApp.h"

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // ShellExecute may hand the text to a handler that needs COM on this thread.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    AfxInitCommonControls();
    CWinApp* app = AfxGetApp();
    if (app)
        app->InitInstance(); // FALSE: no message loop of the framework's own, the process ends
    return 0;
}
