#include "CCmdTarget.h"

namespace {
const AFX_MSGMAP_ENTRY g_noEntries[] = {{0, 0, 0, 0, static_cast<AFX_PMSG>(NULL)}};
}

const AFX_MSGMAP CCmdTarget::messageMap = {NULL, &g_noEntries[0]};

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return &CCmdTarget::messageMap;
}
