// Halvex as it ships, with a ledger of the registry keys that its own code opens and closes: the
// ledger routes the executable's RegOpenKeyExA and RegCloseKey imports through counters before
// the framework starts, and at exit writes the most keys held at once, and the keys still held,
// to standard output as "peak-keys P held-at-exit H opened O".
#include "KeyLedger.h"

#include <cstdio>

namespace {

class LedgerReport {
public:
    LedgerReport(const LedgerReport&) = delete;
    LedgerReport& operator=(const LedgerReport&) = delete;
    LedgerReport() = default;
    ~LedgerReport() {
        char szLine[128];
        int nLength =
            std::snprintf(szLine, sizeof szLine, "peak-keys %d held-at-exit %d opened %d\n",
                          m_ledger.Patched() ? m_ledger.PeakKeys() : -1, m_ledger.OpenKeys(),
                          m_ledger.OpenedKeys());
        DWORD dwWritten = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), szLine, static_cast<DWORD>(nLength), &dwWritten,
                  NULL);
    }

private:
    test_support::KeyLedger m_ledger;
};

// Made by static initialisation, before the framework's start-up runs the pass; reports when
// the process ends.
LedgerReport g_report;

} // namespace
