#include "HalvexDlg.h"

#include "resource.h"

CHalvexDlg::CHalvexDlg(CWnd* pParent) : CDialog(IDD_HALVEX_DIALOG, pParent) {}
