#pragma once
// The standard Save As dialog, with a guard Wine's dialogs need: a name whose path the dialog could
// not hold is refused while the dialog stays open, as Windows does with a name it cannot take.

#include "Wnd.h"

#include <string>

struct SaveAsRequest {
    const wchar_t* defaultName = L"";
    // Pairs of a name and its pattern, ended by an empty text, as OPENFILENAME takes them.
    const wchar_t* filter = L"";
    const wchar_t* defaultExtension = L""; // without its dot; the dialog adds it to a bare name
    CString pathTooLong;                   // what the dialog says to a name too long to take
};

struct SaveAsChoice {
    std::wstring path;
    int filterIndex = 1; // counting from 1, as the dialog does
};

// Asks for a file, warning before an existing one is replaced; false when the user cancels.
bool AskSaveAsPath(CWnd& owner, const SaveAsRequest& request, SaveAsChoice& choice);
