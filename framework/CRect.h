// A rectangle in the platform's RECT layout, usable wherever the platform takes one.
#pragma once

#include "AfxTypes.h"

class CRect : public tagRECT {
public:
    // Uninitialised, as the platform's RECT.
    CRect() = default;
    CRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
