#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The sets of pieces among the files of a folder, told apart by their headers (split
// identifier and date), whatever the files are called: what a restore of a folder, or of the
// set one piece belongs to, restores.
class KPXSetFinder {
public:
    struct Set {
        int32_t SpecID = 0;
        double SepaDate = 0.0;
        int32_t Count = 0;
        std::string FileName;
        // The pieces found, in join order, then in name order.
        std::vector<std::string> Pieces;
    };

    // A file the system could not read, so whether it is a piece cannot be told.
    struct Unreadable {
        std::string Path;
        // The reason, as the header reader describes it (its path and the system's text).
        std::string Cause;
    };

    // Every set in agFolder (its subfolders are not searched), in the order of their first
    // piece's name. Files that are no pieces are passed over, and so are the hidden files of
    // runs (tkvRunFileName), which are never pieces. Files the system could not read go to
    // ouUnreadable when given.
    static std::vector<Set> FindSets(const std::string& agFolder,
                                     std::vector<Unreadable>* ouUnreadable = nullptr);

    // The set agPiece belongs to, among the files of its folder; false when agPiece is no
    // piece.
    static bool FindSetOf(const std::string& agPiece, Set& ouSet,
                          std::vector<Unreadable>* ouUnreadable = nullptr);
};
