// Wall time of whole programs, from CreateProcess to the end of the process, measured inside
// Wine so that the Linux side of starting Wine is not counted.
#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>

namespace bench {
namespace {

struct Program {
    std::string strLabel;
    std::string strCommandLine;
    int nRuns;
    std::vector<double> times;
};

Program ParseProgram(const std::string& strArgument, int nRuns) {
    size_t nEquals = strArgument.find('=');
    std::string strLabel = strArgument.substr(0, nEquals);
    size_t nColon = strLabel.find(':');
    if (nColon != std::string::npos) {
        nRuns = std::atoi(strLabel.c_str() + nColon + 1);
        strLabel.resize(nColon);
    }
    return {strLabel, strArgument.substr(nEquals + 1), nRuns, {}};
}

double RunOnce(int nInstances, const Program& program) {
    RestoreAdapters(nInstances);
    std::string strCommandLine = program.strCommandLine; // CreateProcessA may write into it
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    double dStart = NowMilliseconds();
    if (!CreateProcessA(NULL, &strCommandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        Die(program.strCommandLine.c_str(), LONG(GetLastError()));
    WaitForSingleObject(pi.hProcess, INFINITE);
    double dElapsed = NowMilliseconds() - dStart;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return dElapsed;
}

// The orders of a balanced design for |nCount| programs (a Williams design): over its rounds each
// program runs equally often in each place of a round, and equally often right after each other
// program, so neither a place nor a predecessor favours one series. The first order is 0, 1,
// n-1, 2, n-2, ...; each next one adds 1 to every index; for an odd count the mirror images
// follow, since those rows alone would give each program the same predecessors.
std::vector<std::vector<size_t>> BalancedOrders(size_t nCount) {
    std::vector<size_t> first;
    for (size_t nLow = 1, nHigh = nCount - 1; first.size() < nCount;)
        first.push_back(first.empty() ? 0 : first.size() % 2 == 1 ? nLow++ : nHigh--);
    std::vector<std::vector<size_t>> orders;
    for (size_t nShift = 0; nShift < nCount; nShift++) {
        orders.emplace_back();
        for (size_t nIndex : first)
            orders.back().push_back((nIndex + nShift) % nCount);
    }
    if (nCount % 2 == 1) {
        for (size_t nRow = 0; nRow < nCount; nRow++)
            orders.emplace_back(orders[nRow].rbegin(), orders[nRow].rend());
    }
    return orders;
}

} // namespace

void TimePrograms(int nInstances, int nRuns, const std::vector<std::string>& arguments) {
    std::vector<Program> programs;
    for (const std::string& strArgument : arguments)
        programs.push_back(ParseProgram(strArgument, nRuns));
    // The series that run every round take turns in the design's orders; one with fewer runs
    // (too slow for more) runs after them, alone, so that it leaves their balance alone.
    std::vector<size_t> full, fewer;
    for (size_t nProgram = 0; nProgram < programs.size(); nProgram++)
        (programs[nProgram].nRuns >= nRuns ? full : fewer).push_back(nProgram);
    std::vector<std::vector<size_t>> orders = BalancedOrders(full.size());
    // One unmeasured round: the first run of a program also pays for the file cache.
    for (size_t nProgram : full)
        RunOnce(nInstances, programs[nProgram]);
    for (int nRun = 0; nRun < nRuns && !full.empty(); nRun++) {
        for (size_t nPlace : orders[size_t(nRun) % orders.size()]) {
            Program& program = programs[full[nPlace]];
            program.times.push_back(RunOnce(nInstances, program));
        }
    }
    for (size_t nProgram : fewer) {
        for (int nRun = 0; nRun < programs[nProgram].nRuns; nRun++)
            programs[nProgram].times.push_back(RunOnce(nInstances, programs[nProgram]));
    }
    for (const Program& program : programs) {
        RunSummary summary = Summarise(program.times);
        std::printf("time %s %.1f %.1f", program.strLabel.c_str(), summary.dMin, summary.dMedian);
        for (double dTime : program.times)
            std::printf(" %.1f", dTime);
        std::printf("\n");
    }
}

} // namespace bench
