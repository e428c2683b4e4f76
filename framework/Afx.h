// The framework layer: the part of the application framework that the programs use.
#pragma once

#include "AfxDebug.h"
#include "CObject.h"
#include "CString.h"
#include "CStringArray.h"

#ifdef _WIN32
#include "CCmdTarget.h"
#include "CWnd.h"
#include "CWinApp.h"
#endif
