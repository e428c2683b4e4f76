#include "CWordArray.h"

IMPLEMENT_SERIAL(CWordArray, CObject, 0)
