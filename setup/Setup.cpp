#include "Setup.h"

#include <newdev.h>

namespace {
const char kHardwareId[] = "PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E";
const char kInfName[] = "W9X90XBC.INF";
} // namespace

CSetupApp theApp;

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CSetupApp::CSetupApp() : CWinApp(NULL) {}

CSetupApp::~CSetupApp() = default;

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();

    CString strInfPath;
    LPTSTR pszPath = strInfPath.GetBuffer(MAX_PATH);
    // A path that fills the buffer was cut short and may lack its terminator: it would name some
    // other directory than ours, so it counts as no path and the bare file name is passed.
    if (::GetModuleFileNameA(NULL, pszPath, MAX_PATH) >= MAX_PATH)
        pszPath[0] = '\0';
    strInfPath.ReleaseBuffer(-1);
    strInfPath = strInfPath.Left(strInfPath.ReverseFind('\\') + 1);
    strInfPath += kInfName;

    // Success and failure end alike: whatever the user must see, the platform shows.
    ::UpdateDriverForPlugAndPlayDevicesA(NULL, kHardwareId, strInfPath, INSTALLFLAG_FORCE, NULL);
    return FALSE;
}
