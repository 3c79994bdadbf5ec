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

    // Every set in agFolder (its subfolders are not searched), in the order of their first
    // piece's name. Files that are no pieces, or whose header cannot be read, are passed over.
    static std::vector<Set> FindSets(const std::string& agFolder);

    // The set agPiece belongs to, among the files of its folder; false when agPiece is no
    // piece.
    static bool FindSetOf(const std::string& agPiece, Set& ouSet);
};
