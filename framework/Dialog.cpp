#include "Dialog.h"

#include <new>

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleW(nullptr);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    // Cut the window's link to this object first: no message may reach a half-destroyed object.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

INT_PTR CDialog::DoModal()
{
    m_bModal = true;
    const INT_PTR result = ::DialogBoxParamW(
        AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate),
        m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    m_pParentWnd = parent;
    m_bModal = false;
    const HWND hWnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(templateId),
                                           parent ? parent->m_hWnd : nullptr, DialogProc,
                                           reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

bool CDialog::OnMessage(Message&)
{
    return false;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    if (m_bModal) {
        EndDialog(IDCANCEL);
        return;
    }
    // A child dialog (a page) has no end of its own: Esc in one of its multi-line boxes reaches it
    // (the box sends WM_CLOSE to its parent, which the dialog manager turns into Cancel), not the
    // window the user sees. That window gets the Cancel, as Esc anywhere else gives it.
    if (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CHILD) {
        const HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
        if (top && top != m_hWnd)
            ::SendMessageW(top, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hWnd;
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    }
    if (!self)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
        return FALSE;
    }
    // No exception crosses the window system: a handler that runs out of memory leaves the
    // message unhandled and says so.
    try {
        return self->WindowProc(msg, wParam, lParam);
    } catch (const std::bad_alloc&) {
        ::MessageBoxW(hWnd, L"\x5185\x5b58\x4e0d\x8db3\xff01", L"", MB_OK); // 内存不足！
    } catch (...) {
    }
    return FALSE;
}

INT_PTR CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        DoDataExchange();
        return OnInitDialog();
    }
    Message m{msg, wParam, lParam};
    m_bDefault = false;
    if (OnMessage(m)) {
        if (m_bDefault)
            return FALSE;
        switch (msg) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_QUERYDRAGICON:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return static_cast<INT_PTR>(m.result); // these answer through the return value
        default:
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, m.result);
            return TRUE;
        }
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
    }
    return FALSE;
}
