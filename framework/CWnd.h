// Windows: the framework object that stands for a window, which may or may not exist on the
// screen (m_hWnd is NULL until it does). While it exists, the window's messages reach the object
// through the framework's window procedure: WindowProc, then OnWndMsg, which looks the message up
// in the class's message map and its bases' maps and calls the handler, else DefWindowProc.
#pragma once

#include "CCmdTarget.h"
#include "CMenu.h"

class CDataExchange;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd() = default;
    // Destroys the window if there is still one.
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to |hWnd|, or NULL when no object is.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Attaches the object to |hWnd|, which no other object may hold; TRUE on success.
    BOOL Attach(HWND hWndNew);
    // Ends the attachment and returns the window handle, which stays valid.
    HWND Detach();

    // Destroys the window if there is one; TRUE when it was destroyed. The object detaches.
    virtual BOOL DestroyWindow();

    // Sends |message| to the window and returns the result of its window procedure.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The window's system menu (|bRevert| FALSE), or NULL when it has none. |bRevert| TRUE
    // restores the default menu and returns NULL. The object stays valid while this one lives.
    CMenu* GetSystemMenu(BOOL bRevert) const;
    // Sets the window's big (|bBigIcon|) or small icon and returns the one it replaces.
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;

    // Moves data between the controls and the object's members through DoDataExchange: into the
    // members when |bSaveAndValidate|, into the controls otherwise. TRUE when the exchange held.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    HWND m_hWnd = NULL;

protected:
    // Every message of the window: OnWndMsg, or DefWindowProc when no map entry handles it.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Calls the map's handler for |message| and stores its result in |pResult|; FALSE when no
    // entry of this class or its bases handles it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: a command from a menu, an accelerator or a control, routed through OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // The platform's processing: the window procedure the window had before the framework took
    // it over, else the platform's default.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc for the message being handled, with its own parameters.
    LRESULT Default();
    // Called after the window is gone and the object detached.
    virtual void PostNcDestroy();
    virtual void DoDataExchange(CDataExchange* pDX);

    // The framework's own handlers: the platform's processing of the message.
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnNcDestroy();

    WNDPROC m_pfnSuper = NULL;

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam);

    mutable CMenu m_menuSystem;
};

// Routes message |nMsg| of |hWnd| to |pWnd|'s WindowProc, remembering it for Default.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The framework's window procedure: hands each message to the window's object.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Until AfxUnhookWindowCreate, the next window this thread creates, other than the input-method
// system's own, is attached to |pWnd| and takes the framework's window procedure before it gets
// its first message. The hook that watches for it goes as soon as it has attached the window.
void AfxHookWindowCreate(CWnd* pWnd);
// Ends the hook if it is still there; FALSE when no window was attached after
// AfxHookWindowCreate.
BOOL AfxUnhookWindowCreate();

// Message map entries for the framework's window messages, with their handlers' signatures.

// clang-format off
#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, 0, 0, 0, AfxSig_vwl, \
     static_cast<void (CWnd::*)(UINT, LPARAM)>(&ThisClass::OnSysCommand)},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, 0, AfxSig_vv, \
     static_cast<AFX_PMSG>(&ThisClass::OnPaint)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hv, \
     static_cast<HCURSOR (CWnd::*)()>(&ThisClass::OnQueryDragIcon)},
#define ON_WM_NCDESTROY() \
    {WM_NCDESTROY, 0, 0, 0, AfxSig_vv, \
     static_cast<AFX_PMSG>(&ThisClass::OnNcDestroy)},
// clang-format on
