#pragma once

#include <ostream>
#include <string>

struct CliRequest;

// "restore PIECE... -o DIR ...": joins piece files back into the file they were cut from.
class RestoreCommand {
public:
    RestoreCommand(std::ostream& agOut, std::ostream& agErr, bool agShowProgress)
        : out_(agOut), err_(agErr), showProgress_(agShowProgress) {}

    // agRequest as the parser checked it. 0 done, 1 failed, 2 a refused --html file, 128 + the
    // signal's number when cancelled.
    int Run(const CliRequest& agRequest);

private:
    // The file the restore would write: DIR and the name in the first readable piece's header;
    // empty when no header can be read.
    static std::string RestoredPath(const CliRequest& agRequest);

    std::ostream& out_;
    std::ostream& err_;
    bool showProgress_;
};
