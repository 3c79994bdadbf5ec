#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "KPXSetFinder.h"

struct CliRequest;

// The pieces a restore or a verify works on: the files named, the one set in the folder named,
// or the set that --find's piece belongs to. Sets are told apart by their headers, whatever the
// files are called.
class CliPieceSet {
public:
    // False, with why on ouWhy, when the request names no piece or more than one set.
    bool Find(const CliRequest& agRequest, std::string& ouWhy);

    const std::vector<std::string>& Pieces() const { return pieces_; }
    // What was found and where, for an estimate; empty when the pieces were named.
    const std::string& Found() const { return found_; }
    // Tells agErr what the user should hear of the folder searched: each file that could not be
    // read, with its cause (any may be a piece of the set), and hidden files that runs left.
    void TellNotes(std::ostream& agErr) const;

private:
    bool FindSet(const CliRequest& agRequest, std::vector<KPXSetFinder::Unreadable>& ouUnreadable,
                 std::string& ouWhy);

    std::vector<std::string> pieces_;
    std::string found_;
    std::vector<std::string> notes_;
    // The folder searched for the set; empty when the pieces were named.
    std::string searched_;
};
