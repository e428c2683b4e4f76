// The dialogs of the Halvex program: the main dialog and its About box. A run constructs the main
// dialog as the application's main window object but never creates its window; the handlers
// serve when it is run modally.
#pragma once

#include "Afx.h"
#include "resource.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    enum { IDD = IDD_ABOUTBOX };

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};

class CHalvexDlg : public CDialog {
public:
    // Loads the application icon through the application object.
    explicit CHalvexDlg(CWnd* pParent = NULL);
    ~CHalvexDlg() override;

    enum { IDD = IDD_HALVEX_DIALOG };

    // Adds the About entry to the system menu (when its string loads and is not empty) and sets
    // the application icon, big and small. TRUE: the dialog manager sets the focus.
    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // IDM_ABOUTBOX, whatever its low four bits, runs the About box; other commands go to the
    // framework.
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    // Minimised, draws the icon centred in the client area; otherwise the framework paints.
    afx_msg void OnPaint();
    // The icon shown while the minimised window is dragged.
    afx_msg HCURSOR OnQueryDragIcon();

    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()
};
