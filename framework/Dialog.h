#pragma once
// Dialogs from templates: a modal dialog (the main window) or a child dialog (a page). One static
// dialog procedure attaches the object at WM_INITDIALOG and hands every message to virtual
// handlers; messages before that, or after the window is gone, reach no object.

#include "MessageMap.h"
#include "Wnd.h"

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally and returns the value given to EndDialog.
    INT_PTR DoModal();
    // Creates the dialog without a modal loop, as a child of parent (a page), or as a hidden
    // top-level window when parent is null.
    BOOL Create(UINT templateId, CWnd* parent);
    void EndDialog(INT_PTR result);
    UINT GetTemplateId() const { return m_nIDTemplate; }

protected:
    virtual BOOL OnInitDialog();
    // Binds controls to members, before OnInitDialog runs.
    virtual void DoDataExchange() {}
    // The window's message map: Dispatch(this, map, m).
    virtual bool OnMessage(Message& m);
    // The framework's handling of Enter (IDOK) and Esc (IDCANCEL): a modal dialog ends; a child
    // dialog's Cancel goes to the top-level window it lies in.
    virtual void OnOK();
    virtual void OnCancel();
    // Leaves the message being handled to the default dialog processing.
    void Default() { m_bDefault = true; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bModal = false;
    bool m_bDefault = false;
};

// Attaches a member window object to a control of the dialog.
inline void DDX_Control(CWnd& dialog, int id, CWnd& control)
{
    control.Attach(::GetDlgItem(dialog.m_hWnd, id));
}

// The module that holds the program's resources (templates, icon).
HINSTANCE AfxGetResourceHandle();
