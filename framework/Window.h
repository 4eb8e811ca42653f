#pragma once
#include <windows.h>

// A window the framework drives: one object per HWND, found again through a map of handles, with one virtual
// message handler. Used for windows we create and for controls we subclass; the object does not own the HWND.
class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Routes the control's messages through WindowProc; Default() then reaches its original procedure.
    bool SubclassWindow(HWND hwnd);
    // The same with the messages in Unicode, passed on as they came: for edit boxes, whose typed characters an
    // ANSI procedure would see split into single bytes, which Wine cannot put together again.
    bool SubclassWindowUnicode(HWND hwnd);
    bool SubclassDlgItem(UINT id, HWND parent) { return SubclassWindow(GetDlgItem(parent, id)); }
    void UnsubclassWindow();

    static CWnd* FromHandle(HWND hwnd);

    // Creates a window of a class registered with StaticWindowProc.
    HWND CreateEx(DWORD exStyle,
                  const char* className,
                  const char* title,
                  DWORD style,
                  int x,
                  int y,
                  int cx,
                  int cy,
                  HWND parent,
                  HMENU menu,
                  HINSTANCE instance);
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    // Owner-drawn controls get their WM_DRAWITEM back from the parent.
    virtual BOOL OnDrawItemReflect(const DRAWITEMSTRUCT&) { return FALSE; }

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

    void AttachHandle(HWND hwnd);
    void DetachHandle();

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProcUnicode(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool Subclass(HWND hwnd, bool unicode);

    WNDPROC m_prevProc = nullptr;
    bool m_unicode = false;
};

// Registers, once per program, a class of windows that CWnd::CreateEx creates: the arrow cursor, `background`
// (none when null) and `icon`. True when the class is there.
bool RegisterWindowClass(HINSTANCE instance, const char* name, UINT style, HBRUSH background, HICON icon = nullptr);
