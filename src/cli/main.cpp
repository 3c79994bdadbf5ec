#include <iostream>
#include <string>
#include <vector>

#include "CliTerminal.h"
#include "DividoraCli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    DividoraCli cli(std::cout, std::cerr);
    cli.SetShowProgress(CliTerminal::ErrorStreamIsTerminal());
    cli.SetSignalsCaughtToExit(true);
    return cli.Run(arguments);
}
