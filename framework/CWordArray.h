// The framework's growable array of 16-bit unsigned numbers, indexed from 0.
#pragma once

#include "CElementArray.h"

class CWordArray : public CElementArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
};
