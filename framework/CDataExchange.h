// The context of one data exchange between a dialog's controls and its members.
#pragma once

#include "AfxTypes.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate; // TRUE: controls into members; FALSE: members into controls
    CWnd* m_pDlgWnd;         // the dialog whose controls are exchanged
};
