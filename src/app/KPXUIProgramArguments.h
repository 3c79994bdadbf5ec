#pragma once

#include <ostream>
#include <string>
#include <vector>

// The program's command line, read before any window exists, so that what needs no window
// (the help, the version, a refused option) answers on a machine without a display. The
// piece paths and the uninstall switch are passed on to KPXUIStartModule::Main as they came.
class KPXUIProgramArguments {
public:
    enum class Kind {
        kStart,    // start the program (Main decides on "/Uninstall")
        kHelp,     // --help
        kVersion,  // --version
        kRefused,  // an option the program does not know
    };

    // agProgram: the program's file name, as the texts name it; agWords: the words after it.
    KPXUIProgramArguments(std::string agProgram, const std::vector<std::string>& agWords);

    // The first of --help and --version decides; any unknown option refuses the whole line.
    Kind Request() const { return request_; }
    // For kStart: the words for Main, without the "--" that ends the options. A word that
    // begins with "/" is a path (pieces may lie anywhere), never an option.
    const std::vector<std::string>& Arguments() const { return arguments_; }
    // For kRefused: the first unknown option.
    const std::string& Refused() const { return refused_; }

    // Writes the help, the version or the refusal (to agOut or agErr) and answers the exit
    // status: 0, or 2 for a refused option. Nothing for kStart, which answers 0.
    int Answer(std::ostream& agOut, std::ostream& agErr) const;

    std::string HelpText() const;
    static std::string VersionText();

private:
    std::string program_;
    Kind request_ = Kind::kStart;
    std::vector<std::string> arguments_;
    std::string refused_;
};
