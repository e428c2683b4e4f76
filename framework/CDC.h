// Device contexts: the framework object for a drawing surface, and the one a window paints with.
#pragma once

#include "CObject.h"

class CWnd;

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)

public:
    CDC() = default;
    // Deletes the context in m_hDC, as DeleteDC does; a derived class that gives its context
    // back otherwise (CPaintDC) detaches it first.
    ~CDC() override;

    HDC GetSafeHdc() const { return m_hDC; }
    // Lets go of the context without deleting it; returns it, and m_hDC is NULL.
    HDC Detach();
    // Deletes the context and lets go of it; FALSE when there is none or it would not delete.
    BOOL DeleteDC();
    // Draws |hIcon| with its upper left corner at |x|, |y|; TRUE on success.
    BOOL DrawIcon(int x, int y, HICON hIcon);

    HDC m_hDC = NULL;
};

// Painting a window in answer to WM_PAINT: begins the paint in the constructor and ends it in the
// destructor, so that the update region is validated however the handler leaves.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)

public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};
