#include "CFile.h"

IMPLEMENT_DYNAMIC(CFile, CObject)
