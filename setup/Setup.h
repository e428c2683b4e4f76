// The Setup program: force-installs the network adapter's driver from W9X90XBC.INF in the
// executable's own directory, and ends.
#pragma once

#include "Afx.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp();
    ~CSetupApp() override;

    DECLARE_MESSAGE_MAP()

    // Makes the one driver installation call and returns FALSE, so that no message loop runs.
    BOOL InitInstance() override;
};

extern CSetupApp theApp;
