// Loads arbitrary bytes into each kind of collection through a memory file and an archive, as a
// registry load does with a value's bytes: plainly, as the registry's loads that keep an array's
// size do, and as its rectangle and point loads do. A load must either succeed or end with an
// archive exception, read nothing beyond the bytes, leak nothing and take no more memory than
// the bytes justify (the sanitizers and libFuzzer's limits watch that); what one load gives must
// store and load back to the same bytes.
//
// An input is a little-endian 16-bit archive buffer size (any, zero and below included), one
// byte for the size that a size-keeping load keeps, then the value's bytes.
#include "Afx.h"
#include "ArchiveBytes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

// What a registry value of this many bytes or more is too large to be loaded as.
const size_t kCollectionBlockBytes = 4096;
const size_t kShapeBlockBytes = 30;
// A size-keeping load first makes room for this many elements; a shape load for this many.
const int kLoadPresize = 10;
const int kShapeElements = 5;

// Loads |strBytes| with |fnLoad| as the registry does: from a heap block of exactly their size
// (a read beyond them shows under AddressSanitizer), closing the archive and then the file.
void LoadAsTheRegistryDoes(const std::string& strBytes, int nBufSize,
                           const std::function<void(CArchive&)>& fnLoad) {
    std::unique_ptr<BYTE[]> block(new BYTE[strBytes.size()]);
    std::memcpy(block.get(), strBytes.data(), strBytes.size());
    CMemFile file(block.get(), static_cast<UINT>(strBytes.size()));
    try {
        CArchive ar(&file, CArchive::load, nBufSize);
        fnLoad(ar);
        ar.Close();
        file.Close();
    } catch (CArchiveException* e) {
        e->Delete();
    }
}

template <class TCollection> void LoadStoreAndLoadAgain(const std::string& strBytes, int nBufSize) {
    TCollection loaded;
    if (test_support::Load(loaded, strBytes, nBufSize) != test_support::kLoaded)
        return;
    std::string strStored = test_support::Store(loaded, nBufSize);
    TCollection reloaded;
    if (test_support::Load(reloaded, strStored, nBufSize) != test_support::kLoaded)
        __builtin_trap(); // what the archive wrote, it cannot read
    if (test_support::Store(reloaded) != strStored)
        __builtin_trap(); // a value changed on its way through the archive
}

template <class TArray>
void LoadKeepingSize(const std::string& strBytes, int nBufSize, int nEntrySize) {
    TArray arr;
    arr.SetSize(nEntrySize);
    LoadAsTheRegistryDoes(strBytes, nBufSize, [&arr, nEntrySize](CArchive& ar) {
        arr.RemoveAll();
        arr.SetSize(kLoadPresize, -1);
        arr.Serialize(ar);
        arr.SetSize(nEntrySize, -1);
    });
}

// Loads a rectangle's or a point's array and reads the |nNeeded| numbers of the shape.
void LoadShape(const std::string& strBytes, int nBufSize, int nNeeded) {
    CDWordArray arrShape;
    LoadAsTheRegistryDoes(strBytes, nBufSize, [&arrShape](CArchive& ar) {
        arrShape.RemoveAll();
        arrShape.SetSize(kShapeElements, -1);
        arrShape.Serialize(ar);
    });
    DWORD dwSum = 0;
    for (int i = 0; i < nNeeded && arrShape.GetSize() >= nNeeded; i++)
        dwSum += arrShape.GetAt(i);
    volatile DWORD dwKept = dwSum; // read, so that the sanitizers see the reads
    (void)dwKept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t kSettingsBytes = 3;
    if (size < kSettingsBytes)
        return 0;
    int nBufSize = static_cast<int16_t>(data[0] | data[1] << 8);
    int nEntrySize = data[2];
    std::string strBytes(reinterpret_cast<const char*>(data + kSettingsBytes),
                         size - kSettingsBytes);
    LoadStoreAndLoadAgain<CByteArray>(strBytes, nBufSize);
    LoadStoreAndLoadAgain<CWordArray>(strBytes, nBufSize);
    LoadStoreAndLoadAgain<CDWordArray>(strBytes, nBufSize);
    LoadStoreAndLoadAgain<CStringArray>(strBytes, nBufSize);
    LoadStoreAndLoadAgain<CStringList>(strBytes, nBufSize);
    if (strBytes.size() < kCollectionBlockBytes) {
        LoadKeepingSize<CByteArray>(strBytes, nBufSize, nEntrySize);
        LoadKeepingSize<CWordArray>(strBytes, nBufSize, nEntrySize);
        LoadKeepingSize<CDWordArray>(strBytes, nBufSize, nEntrySize);
        LoadKeepingSize<CStringArray>(strBytes, nBufSize, nEntrySize);
    }
    if (strBytes.size() < kShapeBlockBytes) {
        LoadShape(strBytes, nBufSize, 4);
        LoadShape(strBytes, nBufSize, 2);
    }
    return 0;
}
