// The framework's growable array of strings, indexed from 0.
#pragma once

#include "CElementArray.h"
#include "CString.h"

class CStringArray : public CElementArray<CString, LPCTSTR> {
    DECLARE_SERIAL(CStringArray)
};
