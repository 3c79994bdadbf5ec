#include "CliPieceSet.h"

#include "CliOptions.h"
#include "CliText.h"
#include "KPXSetFinder.h"
#include "tkvDateTime.h"
#include "tkvFileString.h"

namespace {

// "3 of 4 pieces of a.bin (split 1234 of 2026/12/08 10:00:00)"
std::string SetText(const KPXSetFinder::Set& agSet) {
    return std::to_string(agSet.Pieces.size()) + " of " + std::to_string(agSet.Count) +
           " pieces of " + CliText::Escaped(agSet.FileName) + " (split " +
           std::to_string(agSet.SpecID) + " of " + tkvDateTime::GeneralDateText(agSet.SepaDate) +
           ")";
}

}  // namespace

bool CliPieceSet::Find(const CliRequest& agRequest, std::string& ouWhy) {
    pieces_.clear();
    found_.clear();
    KPXSetFinder::Set set;
    if (!agRequest.FindPiece.empty()) {
        if (!KPXSetFinder::FindSetOf(agRequest.FindPiece, set)) {
            ouWhy = CliText::Escaped(agRequest.FindPiece) +
                    " is no piece file whose header can be read";
            return false;
        }
        const std::string folder = tkvFileString::FolderOf(agRequest.FindPiece);
        found_ = "found " + SetText(set) + " in " +
                 CliText::Escaped(folder.empty() ? "." : folder) + ":";
    } else {
        const auto isFolder = [](const std::string& agPath) {
            return tkvFileString::GetPathKind(agPath) == tkvFileString::kFolder;
        };
        const std::vector<std::string>& inputs = agRequest.Inputs;
        if (inputs.size() == 1 && isFolder(inputs.front())) {
            const std::string& folder = inputs.front();
            const auto sets = KPXSetFinder::FindSets(folder);
            if (sets.empty()) {
                ouWhy = CliText::Escaped(folder) + " holds no piece file whose header can be read";
                return false;
            }
            if (sets.size() > 1) {
                ouWhy = CliText::Escaped(folder) + " holds pieces of " +
                        std::to_string(sets.size()) + " sets; name one with --find PIECE:";
                for (const auto& other : sets) {
                    ouWhy += "\n  " + SetText(other) + ", e.g. " +
                             CliText::Escaped(other.Pieces.front());
                }
                return false;
            }
            set = sets.front();
            found_ = "found " + SetText(set) + " in " + CliText::Escaped(folder) + ":";
        } else {
            for (const std::string& input : inputs) {
                if (isFolder(input)) {
                    ouWhy = CliText::Escaped(input) +
                            " is a folder: give one folder alone, or piece files";
                    return false;
                }
            }
            pieces_ = inputs;
            return true;
        }
    }
    pieces_ = set.Pieces;
    for (const std::string& piece : pieces_) {
        found_ += "\n  " + CliText::Escaped(piece);
    }
    return true;
}
