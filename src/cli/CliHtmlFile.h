#pragma once

#include <string>

class CliRunFiles;
class tkvPageDocument;

// The copy of the result page that --html FILE asks for. It never replaces a file the run
// reads or writes, replaces an existing FILE only when asked to, and is written beside FILE
// and renamed over it, so FILE never holds half a page.
class CliHtmlFile {
public:
    CliHtmlFile(std::string agPath, bool agReplace)
        : path_(std::move(agPath)), replace_(agReplace) {}

    const std::string& Path() const { return path_; }

    // Before the run: DividoraCli::kDone when the page may go to Path; kBadUsage when Path is
    // one of agFiles or no regular file; kFailed when its folder cannot take it, or when a file
    // is there and replacing was not asked for. ouWhy says why, ready to print.
    int Check(const CliRunFiles& agFiles, std::string& ouWhy) const;

    // Writes the page in CP932, as it declares; its link to itself points at the copy, since
    // the page file goes when the run ends. False with ouWhy, ready to print.
    bool Write(const tkvPageDocument& agPage, std::string& ouWhy) const;

private:
    std::string path_;
    bool replace_;
};
