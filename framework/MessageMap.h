#pragma once
// Message maps as tables of pointer-to-member handlers, one entry per notification, declared
// inside the class's OnMessage. Reading a window's table tells everything it reacts to:
//
//     static const MessageEntry<CNumbersPage> map[] = {
//         ForCommand(IDC_BTN_NUM_GENERATE, BN_CLICKED, &CNumbersPage::OnGenerate),
//     };
//     return Dispatch(this, map, m) || CGeneratorPage::OnMessage(m);
//
// What a table does not handle goes on to the base class's table, as a dialog class hands it on.

#include <windows.h>

#include <cstddef>

// The message being handled; a handler's answer goes into result.
struct Message {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
};

template <class T> struct MessageEntry {
    enum class Kind { Plain, Command, Notify, Timer, Query, DpiChanged };
    Kind kind;
    UINT msg;
    int id;
    UINT code;
    void (T::*plain)() = nullptr;           // Plain and Command
    LRESULT (T::*notify)(NMHDR*) = nullptr; // Notify: the answer for DWLP_MSGRESULT
    void (T::*timer)(UINT) = nullptr;       // Timer: given the timer's identifier
    LRESULT (T::*query)() = nullptr;        // Query: the answer itself (WM_QUERYDRAGICON)
    void (T::*dpiChanged)(UINT dpi, const RECT& suggested) = nullptr; // WM_DPICHANGED, unpacked
};

template <class T> constexpr MessageEntry<T> ForMessage(UINT msg, void (T::*handler)())
{
    MessageEntry<T> e{MessageEntry<T>::Kind::Plain, msg, 0, 0};
    e.plain = handler;
    return e;
}

template <class T> constexpr MessageEntry<T> ForCommand(int id, UINT code, void (T::*handler)())
{
    MessageEntry<T> e{MessageEntry<T>::Kind::Command, WM_COMMAND, id, code};
    e.plain = handler;
    return e;
}

template <class T>
constexpr MessageEntry<T> ForNotify(int id, UINT code, LRESULT (T::*handler)(NMHDR*))
{
    MessageEntry<T> e{MessageEntry<T>::Kind::Notify, WM_NOTIFY, id, code};
    e.notify = handler;
    return e;
}

template <class T> constexpr MessageEntry<T> ForTimer(void (T::*handler)(UINT))
{
    MessageEntry<T> e{MessageEntry<T>::Kind::Timer, WM_TIMER, 0, 0};
    e.timer = handler;
    return e;
}

template <class T> constexpr MessageEntry<T> ForQuery(UINT msg, LRESULT (T::*handler)())
{
    MessageEntry<T> e{MessageEntry<T>::Kind::Query, msg, 0, 0};
    e.query = handler;
    return e;
}

// WM_DPICHANGED: the new scale and the window rectangle Windows suggests for it.
template <class T>
constexpr MessageEntry<T> ForDpiChanged(void (T::*handler)(UINT dpi, const RECT& suggested))
{
    MessageEntry<T> e{MessageEntry<T>::Kind::DpiChanged, WM_DPICHANGED, 0, 0};
    e.dpiChanged = handler;
    return e;
}

// Calls the entry that matches m; false when none does.
template <class T, std::size_t N>
bool Dispatch(T* self, const MessageEntry<T> (&map)[N], Message& m)
{
    using Kind = typename MessageEntry<T>::Kind;
    for (const MessageEntry<T>& e : map) {
        if (e.msg != m.msg)
            continue;
        switch (e.kind) {
        case Kind::Plain:
            (self->*e.plain)();
            return true;
        case Kind::Command:
            if (LOWORD(m.wParam) == static_cast<WORD>(e.id) && HIWORD(m.wParam) == e.code) {
                (self->*e.plain)();
                return true;
            }
            break;
        case Kind::Notify: {
            const NMHDR* hdr = reinterpret_cast<const NMHDR*>(m.lParam);
            if (static_cast<int>(hdr->idFrom) == e.id && hdr->code == e.code) {
                m.result = (self->*e.notify)(const_cast<NMHDR*>(hdr));
                return true;
            }
            break;
        }
        case Kind::Timer:
            (self->*e.timer)(static_cast<UINT>(m.wParam));
            return true;
        case Kind::Query:
            m.result = (self->*e.query)();
            return true;
        case Kind::DpiChanged:
            (self->*e.dpiChanged)(HIWORD(m.wParam), *reinterpret_cast<const RECT*>(m.lParam));
            return true;
        }
    }
    return false;
}
