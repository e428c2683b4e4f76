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

} // namespace

void TimePrograms(int nInstances, int nRuns, const std::vector<std::string>& arguments) {
    std::vector<Program> programs;
    for (const std::string& strArgument : arguments)
        programs.push_back(ParseProgram(strArgument, nRuns));
    // One unmeasured round: the first run of a program also pays for the file cache.
    for (const Program& program : programs) {
        if (program.nRuns >= nRuns)
            RunOnce(nInstances, program);
    }
    for (int nRun = 0; nRun < nRuns; nRun++) {
        for (Program& program : programs) {
            if (nRun < program.nRuns)
                program.times.push_back(RunOnce(nInstances, program));
        }
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
