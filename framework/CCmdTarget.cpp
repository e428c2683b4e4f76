#include "CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY _messageEntries[] = {
        {0, 0, 0, 0, AfxSig_end, static_cast<AFX_PMSG>(NULL)}};
    static constexpr AFX_MSGMAP messageMap = {NULL, &_messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntries, UINT nMessage,
                                            UINT nCode, UINT nID) {
    for (; lpEntries->nSig != AfxSig_end; lpEntries++) {
        if (lpEntries->nMessage == nMessage && lpEntries->nCode == nCode && nID >= lpEntries->nID &&
            nID <= lpEntries->nLastID)
            return lpEntries;
    }
    return NULL;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO* pHandlerInfo) {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? pMap->pfnGetBaseMap() : NULL) {
        const AFX_MSGMAP_ENTRY* lpEntry =
            AfxFindMessageEntry(pMap->lpEntries, WM_COMMAND, static_cast<UINT>(nCode), nID);
        if (lpEntry == NULL)
            continue;
        if (pHandlerInfo != NULL) {
            pHandlerInfo->pTarget = this;
            pHandlerInfo->pmf = lpEntry->pfn;
            return TRUE;
        }
        ASSERT(lpEntry->nSig == AfxSig_vv);
        (this->*lpEntry->pfn)();
        return TRUE;
    }
    return FALSE;
}
