#pragma once

#include <string>
#include <vector>

// What an estimate does not look at but its run would stop on: a destination folder that is
// missing, no folder or not writable, and targets that are there already.
class CliDestination {
public:
    // agTargets: the files the run will write into agFolder; agMayBeHit: names a random draw
    // may fall on. agReplace: --force, which replaces a regular file. One line per problem,
    // ready to print; none when the run would find its destination ready.
    static std::vector<std::string> Problems(const std::string& agFolder,
                                             const std::vector<std::string>& agTargets,
                                             const std::vector<std::string>& agMayBeHit,
                                             bool agReplace);
};
