// Objects that receive commands through a message map: a static table of entries per class,
// chained to the base class's table.
#pragma once

#include "CObject.h"

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // WM_COMMAND for commands, the message number otherwise
    UINT nCode;    // notification code
    UINT nID;      // first command id
    UINT nLastID;  // last command id of a range, nID otherwise
    AFX_PMSG pfn;  // the handler; null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// The command a command map routes to the framework's Help handler.
#define ID_HELP 0xE146
#define CN_COMMAND 0

#define DECLARE_MESSAGE_MAP()                                                                      \
private:                                                                                           \
    static const AFX_MSGMAP_ENTRY _messageEntries[];                                               \
                                                                                                   \
protected:                                                                                         \
    static const AFX_MSGMAP messageMap;                                                            \
                                                                                                   \
public:                                                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return &theClass::messageMap;                                                              \
    }                                                                                              \
    const AFX_MSGMAP theClass::messageMap = {&baseClass::messageMap,                               \
                                             &theClass::_messageEntries[0]};                       \
    const AFX_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, static_cast<AFX_PMSG>(NULL) }                                                    \
    }                                                                                              \
    ;

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, CN_COMMAND, (id), (id), static_cast<AFX_PMSG>(&memberFxn)},

class CCmdTarget : public CObject {
public:
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    static const AFX_MSGMAP messageMap;
};
