#include "KPXUIProgramArguments.h"

#include <cstdio>

#include "DividoraVersion.h"

namespace {

constexpr const char* kHelpOption = "--help";
constexpr const char* kVersionOption = "--version";
// Every word after it is a piece, whatever it begins with.
constexpr const char* kEndOfOptions = "--";

// The lines of the help: what follows the program's name, and what it does.
struct UsageRow {
    const char* Words;
    const char* What;
};
constexpr UsageRow kUsage[] = {
    {"[PIECE...]", "open the window, with the pieces listed to restore"},
    {"/Uninstall", "remove the settings file KPXUtil.dat, open no window"},
    {"--help", "show this help and exit"},
    {"--version", "show the version and exit"},
};
constexpr size_t kUsageWidth = 13;

// A refused word is printed back: its control characters are shown, never sent to the terminal.
std::string Escaped(const std::string& agText) {
    std::string shown;
    for (const char c : agText) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

KPXUIProgramArguments::KPXUIProgramArguments(std::string agProgram,
                                             const std::vector<std::string>& agWords)
    : program_(std::move(agProgram)) {
    bool options = true;
    for (const std::string& word : agWords) {
        if (!options || word.empty() || word.front() != '-') {
            arguments_.push_back(word);
        } else if (word == kEndOfOptions) {
            options = false;
        } else if (word == kHelpOption || word == kVersionOption) {
            if (request_ == Kind::kStart) {
                request_ = word == kHelpOption ? Kind::kHelp : Kind::kVersion;
            }
        } else if (refused_.empty()) {
            refused_ = word;
        }
    }
    if (!refused_.empty()) {
        request_ = Kind::kRefused;
    }
}

int KPXUIProgramArguments::Answer(std::ostream& agOut, std::ostream& agErr) const {
    switch (request_) {
        case Kind::kHelp:
            agOut << HelpText();
            return 0;
        case Kind::kVersion:
            agOut << VersionText();
            return 0;
        case Kind::kRefused:
            agErr << program_ << ": unknown option '" << Escaped(refused_) << "'\n"
                  << "Try '" << program_ << " --help' for more information.\n";
            return 2;
        case Kind::kStart:
            break;
    }
    return 0;
}

std::string KPXUIProgramArguments::HelpText() const {
    std::string text = std::string(DividoraVersion::kProduct) +
                       " cuts a file into piece files (.KPX) and joins them back.\n\nUsage:\n";
    for (const UsageRow& row : kUsage) {
        std::string words = row.Words;
        words.resize(kUsageWidth, ' ');
        text += "  " + program_ + " " + words + row.What + "\n";
    }
    return text + "\nA PIECE whose name begins with \"-\" follows \"--\": " + program_ +
           " -- -photo1.KPX\nFor scripts, the command-line tool: dividora-cli --help\n";
}

std::string KPXUIProgramArguments::VersionText() {
    return std::string(DividoraVersion::kProduct) + " " + std::to_string(DividoraVersion::kMajor) +
           "." + std::to_string(DividoraVersion::kMinor) + "." +
           std::to_string(DividoraVersion::kRevision) + "\n" + DividoraVersion::kCopyright + "\n";
}
