#include "CDWordArray.h"

IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
