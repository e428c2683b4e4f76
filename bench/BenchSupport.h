// What the benchmark's parts share: a wall clock, the summary of a series of runs, and the keys
// they seed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Milliseconds since some fixed moment, from the performance counter.
double NowMilliseconds();

// The fastest and the middle of a series of run times (the upper middle of an even count).
struct RunSummary {
    double dMin = 0;
    double dMedian = 0;
};
RunSummary Summarise(std::vector<double> times);

// Deletes every subkey of |hKey|, with everything below them; the key and its values stay.
void DeleteSubKeys(HKEY hKey);

// Creates or opens |pszPath| below |hParent| with full access; exits the benchmark on failure.
HKEY CreateKeyOrDie(HKEY hParent, const char* pszPath);

// Sets a value; exits the benchmark on failure.
void SetValueOrDie(HKEY hKey, const char* pszName, DWORD dwType, const void* pData, DWORD dwSize);

// Prints |pszWhat| and the status, and ends the benchmark with exit code 2.
[[noreturn]] void Die(const char* pszWhat, LONG lStatus);

// Seeds the adapter class key with |nInstances| instances of the mix (see the .cpp).
void SeedAdapters(int nInstances);

// Sets the values of |nInstances| seeded instances again as SeedAdapters left them.
void RestoreAdapters(int nInstances);

// Times |programs| ("LABEL=COMMAND LINE", or "LABEL:RUNS=..." for fewer runs than |nRuns|) in
// interleaved rounds, each run on |nInstances| instances restored as seeded (untimed). A round
// that no one measures comes first, but for programs with fewer runs. Prints "time LABEL MIN
// MEDIAN RUN..." for each, in milliseconds.
void TimePrograms(int nInstances, int nRuns, const std::vector<std::string>& programs);

// Seeds a tree of |nKeys| keys and times FindKeyByValue against a one-visit walk over it in
// |nRuns| interleaved rounds; prints the tree's shape and both summaries.
void TimeKeySearch(int nKeys, int nRuns);

} // namespace bench
