#pragma once

#include <ostream>
#include <string>
#include <vector>

struct CliRequest;

// "restore (PIECE... | DIR | --find PIECE) -o DIR|- ...": joins piece files back into the file
// they were cut from, or pours it into standard output.
class RestoreCommand {
public:
    // -o's value for standard output.
    static constexpr const char* kStandardOutput = "-";

    RestoreCommand(std::ostream& agOut, std::ostream& agErr, bool agShowProgress)
        : out_(agOut), err_(agErr), showProgress_(agShowProgress) {}

    // agRequest as the parser checked it. 0 done, 1 failed, 2 a refused --html file, 128 + the
    // signal's number when cancelled.
    int Run(const CliRequest& agRequest);

private:
    // The file the restore would write: DIR and the name in the first readable header of
    // agPieces; empty when no header can be read.
    static std::string RestoredPath(const CliRequest& agRequest,
                                    const std::vector<std::string>& agPieces);

    std::ostream& out_;
    std::ostream& err_;
    bool showProgress_;
};
