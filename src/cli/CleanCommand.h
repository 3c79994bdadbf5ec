#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tkvRunRecord.h"

// "clean DIR... [--remove]": what splits and restores that ended early (killed, a power cut)
// left in the folders: their hidden files and records, listed run by run; with --remove they
// are deleted. A run that ended while it gave its files their final names is marked: its
// hidden files are then the only copy of either the new files or the ones they replaced. What
// a run of another machine left (a shared folder) is listed, never removed: it may still run.
class CleanCommand {
public:
    CleanCommand(std::ostream& agOut, std::ostream& agErr) : out_(agOut), err_(agErr) {}

    // 0 when every folder was looked at (and, with agRemove, everything listed removed).
    int Run(const std::vector<std::string>& agFolders, bool agRemove);

private:
    void List(const std::string& agFolder, const tkvRunRecord::Leftover& agLeftover);

    std::ostream& out_;
    std::ostream& err_;
};
