#include "Halvex.h"

#include "HalvexDlg.h"
#include "RegistryEx.h"

namespace {
const char kClassKeyPath[] = "SYSTEM\\CurrentControlSet\\Control\\Class";
const char kAdapterClass[] = "{4D36E972-E325-11CE-BFC1-08002BE10318}";
const char kAdapterInstancePrefix[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
const char kPowerValue[] = "EnhLANPwrMgmt";
} // namespace

CHalvexApp theApp;

BEGIN_MESSAGE_MAP(CHalvexApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CHalvexApp::CHalvexApp() : CWinApp(NULL) {}

BOOL CHalvexApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();

    CHalvexDlg dlg;
    m_pMainWnd = &dlg;
    PatchAdapters();
    // The dialog object goes with this step; the framework's end-of-run steps look here.
    m_pMainWnd = NULL;
    return FALSE;
}

BOOL CHalvexApp::CheckClassKey() {
    CRegistryEx reg(m_hRootKey);
    return reg.OpenSubKey(m_strKeyPath);
}

void CHalvexApp::PatchAdapters() {
    m_hRootKey = HKEY_LOCAL_MACHINE;
    CRegistryEx reg(m_hRootKey);
    m_strKeyPath = kClassKeyPath;
    if (!CheckClassKey()) {
        AfxMessageBox("Invalid Registry Key!!!", MB_OK, 0);
        return;
    }

    reg.Open(m_hRootKey, m_strKeyPath);
    CStringArray arrNames;
    CString strValue;
    reg.EnumSubKeys(kAdapterClass, arrNames);

    for (int i = 0; i < arrNames.GetSize(); i++) {
        m_strKeyPath = kAdapterInstancePrefix;
        m_strKeyPath += arrNames[i];
        // Open forgets the handle it replaces: closing first holds one key at a time.
        reg.Close();
        if (!reg.Open(m_hRootKey, m_strKeyPath))
            continue;
        if (reg.ReadString(kPowerValue, strValue))
            reg.WriteString(kPowerValue, "1");
    }
    reg.Close();
}
