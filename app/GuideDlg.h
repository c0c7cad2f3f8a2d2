#pragma once
// The user guide, opened by F1: a window of the program's own with the guide's sections listed
// beside its text, opened at a given section. The guide travels inside the exe (resource
// IDR_USER_GUIDE, the Markdown file as UTF-8), so it needs nothing beside the program and no
// browser, and it shows in the program's own font at the display's scale.

#include "framework/Dialog.h"
#include "res/resource.h"

#include <string>
#include <vector>

// The guide as the window shows it, in UTF-16.
struct WideGuide {
    std::wstring text;
    std::vector<std::wstring> titles; // as listed, deeper sections indented
    std::vector<std::wstring> names;  // the headings' own words
    std::vector<LONG> starts;         // where each section starts in text
};

class CGuideDlg : public CDialog {
public:
    // Opens at section index of guide.
    CGuideDlg(CWnd* parent, WideGuide guide, std::size_t section);

    // Selects section index in the list and brings its heading to the top of the text.
    void ShowSection(std::size_t index);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(Message& m) override;

private:
    void OnSelchangeList();
    void OnTextFocus();
    void SetTextMargins();
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    WideGuide m_guide;
    std::size_t m_nSection;
};

// Reads the guide from the resources of module and renders it; false when it is missing or not
// UTF-8.
bool LoadUserGuide(HMODULE module, WideGuide& guide);

// Opens the guide modally over owner at the section named section (GBK; the start when there is
// none), read from the resources of module. A guide that cannot be shown is said so in a message
// box, never passed over in silence.
void ShowUserGuide(HWND owner, const CString& section, HMODULE module = AfxGetResourceHandle());
