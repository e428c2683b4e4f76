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
#include "AfxModule.h"
#include "CCmdTarget.h"
#include "CDC.h"
#include "CDataExchange.h"
#include "CDialog.h"
#include "CMenu.h"
#include "CRect.h"
#include "CWinApp.h"
#include "CWnd.h"
#endif
