// Objects that receive messages and commands through a message map: a static table of entries per
// class, chained to the base class's table. Each entry names the message (or command id range),
// the handler, and the handler's signature, by which the dispatcher unpacks WPARAM and LPARAM.
#pragma once

#include "CObject.h"

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signatures: the letters after the underscore are the result, then the arguments
// (v void, w UINT, l LPARAM, h a handle).
enum AfxSig {
    AfxSig_end = 0, // ends a table
    AfxSig_vv,      // void (void)
    AfxSig_vwl,     // void (UINT, LPARAM)
    AfxSig_hv,      // HCURSOR (void), answered as the message's result
};

class CWnd;

// The tables are constants (constexpr in BEGIN_MESSAGE_MAP, so the compiler proves it): made
// before any code runs, they need no guard and are whole on any thread, whatever the build does
// with function statics. So an entry keeps its handler as the member pointer type that its
// signature names, one constructor per signature: no constant can view one type's bits as
// another's.
struct AFX_MSGMAP_ENTRY {
    // A handler of signature AfxSig_vv (a window message's too: a member of a class derived from
    // CWnd, taken as CCmdTarget's), or the end of a table.
    constexpr AFX_MSGMAP_ENTRY(UINT nMessage_, UINT nCode_, UINT nID_, UINT nLastID_,
                               UINT_PTR nSig_, AFX_PMSG pfn_)
        : nMessage(nMessage_), nCode(nCode_), nID(nID_), nLastID(nLastID_), nSig(nSig_), pfn(pfn_) {
    }
    constexpr AFX_MSGMAP_ENTRY(UINT nMessage_, UINT nCode_, UINT nID_, UINT nLastID_,
                               UINT_PTR nSig_, void (CWnd::*pfn_)(UINT, LPARAM))
        : nMessage(nMessage_), nCode(nCode_), nID(nID_), nLastID(nLastID_), nSig(nSig_),
          pfn_vwl(pfn_) {}
    constexpr AFX_MSGMAP_ENTRY(UINT nMessage_, UINT nCode_, UINT nID_, UINT nLastID_,
                               UINT_PTR nSig_, HCURSOR (CWnd::*pfn_)())
        : nMessage(nMessage_), nCode(nCode_), nID(nID_), nLastID(nLastID_), nSig(nSig_),
          pfn_hv(pfn_) {}

    UINT nMessage;    // WM_COMMAND for commands, the message number otherwise
    UINT nCode;       // notification code of a command, 0 for messages
    UINT nID;         // first command id, 0 for messages
    UINT nLastID;     // last command id of a range, nID otherwise
    UINT_PTR nSig;    // an AfxSig: how the handler is called; AfxSig_end ends the table
    union {           // the handler: the member that nSig names
        AFX_PMSG pfn; // AfxSig_end, AfxSig_vv
        void (CWnd::*pfn_vwl)(UINT, LPARAM); // AfxSig_vwl
        HCURSOR (CWnd::*pfn_hv)();           // AfxSig_hv
    };
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // the base class's map; null for the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg reports instead of calling, when asked who would handle a command.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// The command a command map routes to the framework's Help handler.
#define ID_HELP 0xE146
#define CN_COMMAND 0

#define afx_msg

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

// Within the table, ThisClass names the class whose map it is, as the ON_WM_ macros expect.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        [[maybe_unused]] typedef theClass ThisClass;                                               \
        typedef baseClass TheBaseClass;                                                            \
        static constexpr AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {                                                                                              \
        0, 0, 0, 0, AfxSig_end, static_cast<AFX_PMSG>(NULL)                                        \
    }                                                                                              \
    }                                                                                              \
    ;                                                                                              \
    static constexpr AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,                    \
                                              &_messageEntries[0]};                                \
    return &messageMap;                                                                            \
    }

// A menu command, accelerator or button click with id |id| calls |memberFxn|: void ().
#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, CN_COMMAND, (id), (id), AfxSig_vv, static_cast<AFX_PMSG>(&memberFxn)},

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)

public:
    // Routes command |nID| with notification |nCode| to the handler in this object's map or its
    // bases' maps and returns TRUE; FALSE when no entry handles it. |pExtra| is unused by void ()
    // handlers. Given |pHandlerInfo|, it calls nothing: it fills in the object and the handler
    // that would be called, and returns TRUE as well.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// The first entry of |lpEntries| for |nMessage| with |nCode| and an id range holding |nID|, or
// NULL. Window messages are looked up with code and id 0.
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntries, UINT nMessage,
                                            UINT nCode, UINT nID);
