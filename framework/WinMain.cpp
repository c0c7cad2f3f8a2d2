// The program's entry: the framework's part of start-up, then the application object's.
#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    AfxInitCommonControls();
    CWinApp* app = AfxGetApp();
    if (app)
        app->InitInstance(); // FALSE: no message loop of the framework's own, the process ends
    return 0;
}
