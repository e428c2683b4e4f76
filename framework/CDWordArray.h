// The framework's growable array of 32-bit unsigned numbers, indexed from 0.
#pragma once

#include "CElementArray.h"

class CDWordArray : public CElementArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
};
