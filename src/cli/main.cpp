#include <iostream>
#include <string>
#include <vector>

#include "DividoraCli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return DividoraCli(std::cout, std::cerr).Run(arguments);
}
