// Archived values as the tests handle them: bytes written as hex text ("03 00 61") and back,
// and framework objects stored into and loaded from memory through the archive. Portable: the
// native tests and the fuzz target use it too.
#pragma once

#include "Afx.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace test_support {

// The bytes that |pszHex| spells, two hex digits each, blanks between them ignored.
inline std::string Bytes(const char* pszHex) {
    std::string strBytes;
    for (const char* pch = pszHex; *pch != '\0';) {
        if (*pch == ' ') {
            pch++;
            continue;
        }
        char szDigits[3] = {pch[0], pch[1], '\0'};
        strBytes += static_cast<char>(std::strtoul(szDigits, NULL, 16));
        pch += 2;
    }
    return strBytes;
}

// |strBytes| as hex text, for messages.
inline std::string Hex(const std::string& strBytes) {
    std::string strHex;
    for (unsigned char by : strBytes) {
        char szByte[4];
        std::snprintf(szByte, sizeof szByte, "%s%02x", strHex.empty() ? "" : " ", by);
        strHex += szByte;
    }
    return strHex;
}

// What |object|'s Serialize stores, through an archive of |nBufSize| bytes.
inline std::string Store(CObject& object, int nBufSize = 4096) {
    CMemFile file(16);
    CArchive ar(&file, CArchive::store, nBufSize);
    object.Serialize(ar);
    ar.Close();
    DWORD dwLength = file.GetLength();
    BYTE* lpBuffer = file.Detach();
    std::string strBytes(reinterpret_cast<char*>(lpBuffer), dwLength);
    std::free(lpBuffer);
    return strBytes;
}

const int kLoaded = -1;

// Loads |strBytes| into |object| through an archive of |nBufSize| bytes, from a heap block of
// exactly their size (so that a read beyond them shows under AddressSanitizer). Returns kLoaded,
// or the cause of the archive exception that the load threw.
inline int Load(CObject& object, const std::string& strBytes, int nBufSize = 4096) {
    std::unique_ptr<BYTE[]> block(new BYTE[strBytes.size()]);
    std::memcpy(block.get(), strBytes.data(), strBytes.size());
    CMemFile file(block.get(), static_cast<UINT>(strBytes.size()));
    CArchive ar(&file, CArchive::load, nBufSize);
    try {
        object.Serialize(ar);
    } catch (CArchiveException* e) {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    }
    return kLoaded;
}

} // namespace test_support
