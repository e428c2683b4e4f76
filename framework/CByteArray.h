// The framework's growable array of 8-bit unsigned numbers, indexed from 0.
#pragma once

#include "CElementArray.h"

class CByteArray : public CElementArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
};
