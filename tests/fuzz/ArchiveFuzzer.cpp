// Loads arbitrary bytes into each kind of collection through a memory file and an archive, as a
// registry load does with a value's bytes. A load must either succeed or end with an archive
// exception, read nothing beyond the bytes, leak nothing and take no more memory than the bytes
// justify (the sanitizers and libFuzzer's limits watch that); what one load gives must store
// and load back to the same bytes.
#include "Afx.h"
#include "ArchiveBytes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

template <class TCollection> void LoadStoreAndLoadAgain(const std::string& strBytes) {
    TCollection loaded;
    if (test_support::Load(loaded, strBytes) != test_support::kLoaded)
        return;
    std::string strStored = test_support::Store(loaded);
    TCollection reloaded;
    if (test_support::Load(reloaded, strStored) != test_support::kLoaded)
        __builtin_trap(); // what the archive wrote, it cannot read
    if (test_support::Store(reloaded) != strStored)
        __builtin_trap(); // a value changed on its way through the archive
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string strBytes(reinterpret_cast<const char*>(data), size);
    LoadStoreAndLoadAgain<CByteArray>(strBytes);
    LoadStoreAndLoadAgain<CWordArray>(strBytes);
    LoadStoreAndLoadAgain<CDWordArray>(strBytes);
    LoadStoreAndLoadAgain<CStringArray>(strBytes);
    LoadStoreAndLoadAgain<CStringList>(strBytes);
    return 0;
}
