#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "DividoraCli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    DividoraCli cli(std::cout, std::cerr);
    cli.SetShowProgress(::isatty(STDERR_FILENO) == 1);
    return cli.Run(arguments);
}
