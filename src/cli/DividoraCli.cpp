#include "DividoraCli.h"

#include "InfoCommand.h"
#include "RestoreCommand.h"
#include "SplitCommand.h"

const char* DividoraCli::Usage() {
    return "Usage:\n"
           "  dividora-cli split SOURCE -o DIR [-n NAME] (--size SIZE | --count N)\n"
           "               [--naming random|number|padded] [--block BYTES] [--max-pieces N]\n"
           "               [--no-confirm-size] [--keep-partial] [--force] [--estimate]\n"
           "               [--html FILE]\n"
           "  dividora-cli restore PIECE... -o DIR [--block BYTES] [--no-confirm-size]\n"
           "               [--keep-partial] [--force] [--estimate] [--html FILE]\n"
           "  dividora-cli info PIECE...\n";
}

int DividoraCli::BadUsage(std::ostream& agErr, const std::string& agWhy) {
    agErr << "dividora-cli: " << agWhy << "\n\n" << Usage();
    return kBadUsage;
}

int DividoraCli::Run(const std::vector<std::string>& agArguments) {
    if (agArguments.empty()) {
        return BadUsage(err_, "no command given");
    }
    const std::string& command = agArguments.front();
    const std::vector<std::string> rest(agArguments.begin() + 1, agArguments.end());
    if (command == "-h" || command == "--help" || command == "help") {
        out_ << Usage();
        return kDone;
    }
    if (command == "info") {
        if (rest.empty()) {
            return BadUsage(err_, "info needs at least one piece");
        }
        return InfoCommand(out_, err_).Run(rest);
    }
    if (command == "split") {
        return SplitCommand(out_, err_, showProgress_).Run(rest);
    }
    if (command == "restore") {
        return RestoreCommand(out_, err_, showProgress_).Run(rest);
    }
    return BadUsage(err_, "unknown command: " + command);
}
