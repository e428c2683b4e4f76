// The framework layer: the part of the application framework that the programs use.
#pragma once

#include "AfxDebug.h"
#include "CArchive.h"
#include "CByteArray.h"
#include "CDWordArray.h"
#include "CException.h"
#include "CFile.h"
#include "CMemFile.h"
#include "CObject.h"
#include "CString.h"
#include "CStringArray.h"
#include "CStringList.h"
#include "CWordArray.h"

#ifdef _WIN32
#include "CCmdTarget.h"
#include "CWnd.h"
#include "CWinApp.h"
#endif
