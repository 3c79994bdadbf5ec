#include "CliPieceSet.h"

#include "CliOptions.h"
#include "CliText.h"
#include "KPXSetFinder.h"
#include "tkvDateTime.h"
#include "tkvFileString.h"
#include "tkvRunRecord.h"

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
    notes_.clear();
    std::vector<KPXSetFinder::Unreadable> unreadable;
    const bool found = FindSet(agRequest, unreadable, ouWhy);
    for (const auto& file : unreadable) {
        notes_.push_back(CliText::Escaped(file.Path) +
                         " could not be read: " + CliText::Escaped(file.Cause));
    }
    // Pieces of a run that ended while it gave them their final names are hidden, never taken:
    // the user hears where they are.
    if (!searched_.empty() && !tkvRunRecord::FindLeftovers(searched_).empty()) {
        notes_.push_back(CliText::Escaped(searched_) +
                         " holds hidden files of a split or restore that ended early; "
                         "'dividora-cli clean " +
                         CliText::Escaped(searched_) + "' lists them");
    }
    return found;
}

void CliPieceSet::TellNotes(std::ostream& agErr) const {
    for (const std::string& note : notes_) {
        agErr << "dividora-cli: " << note << '\n';
    }
}

bool CliPieceSet::FindSet(const CliRequest& agRequest,
                          std::vector<KPXSetFinder::Unreadable>& ouUnreadable, std::string& ouWhy) {
    KPXSetFinder::Set set;
    searched_.clear();
    if (!agRequest.FindPiece.empty()) {
        const std::string folder = tkvFileString::FolderOf(agRequest.FindPiece);
        searched_ = folder.empty() ? "." : folder;
        if (!KPXSetFinder::FindSetOf(agRequest.FindPiece, set, &ouUnreadable)) {
            ouWhy = CliText::Escaped(agRequest.FindPiece) +
                    " is no piece file whose header can be read";
            return false;
        }
        found_ = "found " + SetText(set) + " in " + CliText::Escaped(searched_) + ":";
    } else {
        const auto isFolder = [](const std::string& agPath) {
            return tkvFileString::GetPathKind(agPath) == tkvFileString::kFolder;
        };
        const std::vector<std::string>& inputs = agRequest.Inputs;
        if (inputs.size() == 1 && isFolder(inputs.front())) {
            const std::string& folder = inputs.front();
            searched_ = folder;
            const auto sets = KPXSetFinder::FindSets(folder, &ouUnreadable);
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
