#pragma once

#include <ostream>
#include <string>
#include <vector>

// "info PIECE...": each piece's header fields, read as a restore reads them (the data size
// confirmed against the file), or why the header cannot be read. Paths and names are printed
// with their control characters escaped.
class InfoCommand {
public:
    InfoCommand(std::ostream& agOut, std::ostream& agErr) : out_(agOut), err_(agErr) {}

    // 0 when every header was read, 1 otherwise.
    int Run(const std::vector<std::string>& agPieces);

private:
    std::ostream& out_;
    std::ostream& err_;
};
