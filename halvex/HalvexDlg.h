// The main dialog of the Halvex program. A run constructs it as the application's main window
// object but never creates its window.
#pragma once

#include "Afx.h"

class CHalvexDlg : public CDialog {
public:
    explicit CHalvexDlg(CWnd* pParent = NULL);
};
