// Placing Setup.exe in a sandbox's folders and watching one run of it.
#pragma once

#include "TestSupport.h"

#include <string>
#include <utility>
#include <vector>

namespace setup_test {

using Run = test_support::ProgramRun;
using test_support::ProgramPath;
using test_support::ReadText;

// Makes |strDirectory| with its parents; paths may go beyond MAX_PATH.
void MakeDirectory(const std::string& strDirectory);

// The short (8.3) form of the existing |strPath|, which may go beyond MAX_PATH; "" when none.
std::string ShortPath(const std::string& strPath);

// Copies the build's file |strUnixFile| into |strDirectory| as |pszName| (a gtest assertion).
void CopyInto(const std::string& strUnixFile, const std::string& strDirectory, const char* pszName);

// Starts |strExe| with |environment| added (through the native call with |bNativeCall|) and
// watches its windows until it ends (30 s at most).
Run RunSetup(const std::string& strExe,
             const std::vector<std::pair<std::string, std::string>>& environment = {},
             bool bNativeCall = false);

// Ended by itself with exit code 0, having shown no window.
void ExpectQuietEnd(const Run& run);

} // namespace setup_test
