// Counts the registry keys that code linked into the test executable opens and closes, by routing
// its RegOpenKeyExA and RegCloseKey imports through a ledger while the object lives.
#pragma once

#include "TestSupport.h"

namespace test_support {

class KeyLedger {
public:
    KeyLedger();
    KeyLedger(const KeyLedger&) = delete;
    KeyLedger& operator=(const KeyLedger&) = delete;
    ~KeyLedger() = default;

    bool Patched() const { return m_open.Patched() && m_close.Patched(); }
    // Keys opened and not yet closed since the ledger was made. Predefined roots do not count.
    int OpenKeys() const;
    // The most keys held at once, and all keys opened, since the ledger was made.
    int PeakKeys() const;
    int OpenedKeys() const;

private:
    ImportPatch m_open;
    ImportPatch m_close;
};

} // namespace test_support
