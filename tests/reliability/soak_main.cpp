// Runs the game for a while with random input and checks that it survives it unchanged:
//   soak [--seconds N] [--seed S]
#include "Soak.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

const double DEFAULT_SECONDS = 60;
const unsigned DEFAULT_SEED = 20240611;

void printUsage()
{
    std::cerr << "usage: soak [--seconds N] [--seed S]\n";
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = DEFAULT_SECONDS;
    unsigned seed = DEFAULT_SEED;
    for (int i = 1; i < argc; ++i) {
        bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--seconds") == 0 && hasValue) {
            seconds = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue) {
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            printUsage();
            return 2;
        }
    }
    if (seconds <= 0) {
        printUsage();
        return 2;
    }
    Soak soak(seconds, seed);
    return soak.run(std::cout) ? 0 : 1;
}
