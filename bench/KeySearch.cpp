// FindKeyByValue against the least work that finds the same key: a depth-first walk that opens
// each key once, relative to its parent, reads its value once and lists its subkeys once.
//
// The tree lies below HKEY_LOCAL_MACHINE\Software\HalvexBench\Tree: every key holds a "Tag"
// value, and only the key met last in depth-first order holds the wanted text, so both searches
// visit every key.
#include "BenchSupport.h"
#include "RegistryEx.h"

#include <cstdio>
#include <cstring>

namespace bench {
namespace {

const char kTreePath[] = "Software\\HalvexBench\\Tree";
const char kTagValue[] = "Tag";
const char kNeedle[] = "needle";
const char kWanted[] = "NEEDLE"; // letter case is not compared

// Depth 3 for a thousand keys, 4 for ten thousand, 5 above: the least fan-out that reaches
// |nKeys| at that depth. Keys are made level by level, so the deepest level may be partly full.
struct TreeShape {
    int nDepth;
    int nFanOut;
};

TreeShape ShapeFor(int nKeys) {
    TreeShape shape = {nKeys <= 1000 ? 3 : nKeys <= 10000 ? 4 : 5, 2};
    for (;; shape.nFanOut++) {
        long long nTotal = 0, nLevel = 1;
        for (int nDepth = 0; nDepth < shape.nDepth; nDepth++)
            nTotal += nLevel *= shape.nFanOut;
        if (nTotal >= nKeys)
            return shape;
    }
}

void SetTag(HKEY hKey, const std::string& strText) {
    SetValueOrDie(hKey, kTagValue, REG_SZ, strText.c_str(), static_cast<DWORD>(strText.size() + 1));
}

// Seeds the tree and returns the path of the key that holds the wanted text.
std::string SeedTree(int nKeys, const TreeShape& shape) {
    HKEY hRoot = CreateKeyOrDie(HKEY_LOCAL_MACHINE, kTreePath);
    DeleteSubKeys(hRoot);
    SetTag(hRoot, "root");
    // Paths relative to the tree's root, level by level; the children of key k are a range.
    std::vector<std::string> paths = {""};
    std::vector<size_t> firstChild, childCount;
    for (size_t nParent = 0; paths.size() - 1 < static_cast<size_t>(nKeys); nParent++) {
        HKEY hParent = nParent == 0 ? hRoot : CreateKeyOrDie(hRoot, paths[nParent].c_str());
        firstChild.push_back(paths.size());
        size_t nChildren = 0;
        for (int i = 0; i < shape.nFanOut && paths.size() - 1 < static_cast<size_t>(nKeys);
             i++, nChildren++) {
            char szName[16];
            std::snprintf(szName, sizeof szName, "k%02d", i);
            HKEY hChild = CreateKeyOrDie(hParent, szName);
            SetTag(hChild, "key " + std::to_string(paths.size()));
            RegCloseKey(hChild);
            paths.push_back(nParent == 0 ? szName : paths[nParent] + "\\" + szName);
        }
        childCount.push_back(nChildren);
        if (hParent != hRoot)
            RegCloseKey(hParent);
    }
    // Last in depth-first order: the last child of the last child ... down to a leaf.
    size_t nLast = 0;
    while (nLast < childCount.size() && childCount[nLast] > 0)
        nLast = firstChild[nLast] + childCount[nLast] - 1;
    HKEY hLast = CreateKeyOrDie(hRoot, paths[nLast].c_str());
    SetTag(hLast, kNeedle);
    RegCloseKey(hLast);
    RegCloseKey(hRoot);
    return std::string(kTreePath) + "\\" + paths[nLast];
}

// Opens |pszName| below |hParent| once, reads its tag once, and walks its subkeys in enumeration
// order while nothing is found. |strPath| is the key's path; it holds the match afterwards.
bool Walk(HKEY hParent, const char* pszName, std::string& strPath) {
    HKEY hKey = NULL;
    if (RegOpenKeyExA(hParent, pszName, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    char szTag[256] = "";
    DWORD dwSize = 200;
    bool bFound = RegQueryValueExA(hKey, kTagValue, NULL, NULL, reinterpret_cast<BYTE*>(szTag),
                                   &dwSize) == ERROR_SUCCESS &&
                  lstrcmpiA(szTag, kWanted) == 0;
    char szChild[200];
    DWORD dwChildChars = sizeof szChild;
    for (DWORD dwIndex = 0; !bFound && RegEnumKeyExA(hKey, dwIndex, szChild, &dwChildChars, NULL,
                                                     NULL, NULL, NULL) == 0;
         dwIndex++, dwChildChars = sizeof szChild) {
        size_t nLength = strPath.size();
        strPath += '\\';
        strPath += szChild;
        bFound = Walk(hKey, szChild, strPath);
        if (!bFound)
            strPath.resize(nLength);
    }
    RegCloseKey(hKey);
    return bFound;
}

double TimeFindKeyByValue(const std::string& strExpected) {
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    double dStart = NowMilliseconds();
    CString strFound = reg.FindKeyByValue(kTreePath, kTagValue, kWanted);
    double dElapsed = NowMilliseconds() - dStart;
    if (strExpected != static_cast<LPCTSTR>(strFound))
        Die("FindKeyByValue found another key", 0);
    return dElapsed;
}

double TimeWalk(const std::string& strExpected) {
    std::string strPath = kTreePath;
    double dStart = NowMilliseconds();
    bool bFound = Walk(HKEY_LOCAL_MACHINE, kTreePath, strPath);
    double dElapsed = NowMilliseconds() - dStart;
    if (!bFound || strPath != strExpected)
        Die("the one-visit walk found another key", 0);
    return dElapsed;
}

} // namespace

void TimeKeySearch(int nKeys, int nRuns) {
    TreeShape shape = ShapeFor(nKeys);
    std::string strExpected = SeedTree(nKeys, shape);
    // One unmeasured round of each, then interleaved rounds, which of the two goes first
    // alternating, so that neither always follows the other.
    TimeFindKeyByValue(strExpected);
    TimeWalk(strExpected);
    std::vector<double> findTimes, walkTimes;
    for (int nRun = 0; nRun < nRuns; nRun++) {
        if (nRun % 2 == 1)
            walkTimes.push_back(TimeWalk(strExpected));
        findTimes.push_back(TimeFindKeyByValue(strExpected));
        if (nRun % 2 == 0)
            walkTimes.push_back(TimeWalk(strExpected));
    }
    RunSummary find = Summarise(findTimes), walk = Summarise(walkTimes);
    std::printf("tree depth %d fan-out %d match %s\n", shape.nDepth, shape.nFanOut,
                strExpected.c_str());
    std::printf("time find %.1f %.1f\n", find.dMin, find.dMedian);
    std::printf("time walk %.1f %.1f\n", walk.dMin, walk.dMedian);
}

} // namespace bench
