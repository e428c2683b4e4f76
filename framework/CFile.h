// The framework's file: a sequence of bytes with a position, read and written in blocks. The
// archive works on any file through this interface; CMemFile keeps its bytes in memory.
#pragma once

#include "CObject.h"

class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };

    virtual DWORD GetPosition() const = 0;
    // Moves the position |lOff| bytes from |nFrom|; returns the new position. A position before
    // the first byte throws CFileException::badSeek and leaves the position as it was.
    virtual LONG Seek(LONG lOff, UINT nFrom) = 0;
    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return Seek(0, end); }
    // The number of bytes the file holds, exactly: the archive bounds what a load may allocate
    // by the bytes left to read, so a file kind that answered more than it holds would let a
    // stored count take memory for elements that are not there.
    virtual DWORD GetLength() const = 0;

    // Reads up to |nCount| bytes at the position into |lpBuf|; returns how many it read (fewer
    // at the end of the file, 0 beyond it).
    virtual UINT Read(void* lpBuf, UINT nCount) = 0;
    // Writes |nCount| bytes at the position, lengthening the file as needed; throws when it
    // cannot.
    virtual void Write(const void* lpBuf, UINT nCount) = 0;
    virtual void Flush() = 0;
    virtual void Close() = 0;
};
