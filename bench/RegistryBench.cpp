// The benchmark's driver inside Wine, one job per run:
//   RegistryBench seed-adapters N          seeds N adapter instances
//   RegistryBench time N RUNS LABEL=CMD ... times whole programs on N instances, interleaved
//   RegistryBench search N RUNS            seeds a tree of N keys and times the key search
// Results go to standard output, one "time LABEL MIN MEDIAN ..." line per series (milliseconds).
#include "BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    using namespace bench;
    if (argc == 3 && std::strcmp(argv[1], "seed-adapters") == 0) {
        SeedAdapters(std::atoi(argv[2]));
    } else if (argc >= 5 && std::strcmp(argv[1], "time") == 0) {
        TimePrograms(std::atoi(argv[2]), std::atoi(argv[3]),
                     std::vector<std::string>(argv + 4, argv + argc));
    } else if (argc == 4 && std::strcmp(argv[1], "search") == 0) {
        TimeKeySearch(std::atoi(argv[2]), std::atoi(argv[3]));
    } else {
        std::fprintf(stderr,
                     "usage: RegistryBench seed-adapters N | time N RUNS LABEL[:RUNS]=COMMAND... "
                     "| search N RUNS\n");
        return 1;
    }
    std::fflush(stdout);
    return 0;
}
