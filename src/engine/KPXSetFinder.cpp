#include "KPXSetFinder.h"

#include <algorithm>
#include <map>
#include <memory>

#include "KPXPieceFormat.h"
#include "KPXSepaCtrl.h"
#include "tkvFileString.h"
#include "tkvRunFileName.h"

namespace {

struct Found {
    std::string Path;
    KPXDividoraData Header;
};

bool SameSet(const KPXSetFinder::Set& agSet, const KPXDividoraData& agHeader) {
    return KPXPieceFormat::SameSplit(agSet.SpecID, agSet.SepaDate, agHeader);
}

}  // namespace

std::vector<KPXSetFinder::Set> KPXSetFinder::FindSets(const std::string& agFolder,
                                                      std::vector<Unreadable>* ouUnreadable) {
    std::vector<std::string> names = tkvFileString::FolderEntries(agFolder);
    std::sort(names.begin(), names.end());
    // The size check: a damaged piece is no piece of a set.
    auto job = std::make_shared<KPXSepaData>();
    job->SetConfirmDividoraSize(true);
    KPXSepaCtrl reader;
    reader.SetSepaData(job);
    std::vector<Set> sets;
    std::vector<std::vector<Found>> members;
    for (const std::string& name : names) {
        Found found;
        found.Path = tkvFileString::JoinFolderAndName(agFolder, name);
        found.Header.SetFileAddress(found.Path);
        if (tkvRunFileName::IsRunFileName(name) ||
            tkvFileString::GetPathKind(found.Path) != tkvFileString::kFile) {
            continue;
        }
        if (!reader.ReadHeader(found.Header)) {
            if (reader.HeaderUnreadable() && ouUnreadable != nullptr) {
                const auto& errors = *reader.ErrorMng();
                ouUnreadable->push_back(
                    {found.Path, errors.Description(errors.Number(errors.Count() - 1))});
            }
            continue;
        }
        auto set = std::find_if(sets.begin(), sets.end(),
                                [&](const Set& agSet) { return SameSet(agSet, found.Header); });
        if (set == sets.end()) {
            sets.push_back({found.Header.SpecID(),
                            found.Header.SepaDate(),
                            found.Header.Count(),
                            found.Header.FileName(),
                            {}});
            members.emplace_back();
            set = sets.end() - 1;
        }
        members[static_cast<size_t>(set - sets.begin())].push_back(std::move(found));
    }
    for (size_t i = 0; i < sets.size(); ++i) {
        std::stable_sort(members[i].begin(), members[i].end(),
                         [](const Found& agA, const Found& agB) {
                             return agA.Header.TurnID() < agB.Header.TurnID();
                         });
        for (const Found& found : members[i]) {
            sets[i].Pieces.push_back(found.Path);
        }
    }
    return sets;
}

bool KPXSetFinder::FindSetOf(const std::string& agPiece, Set& ouSet,
                             std::vector<Unreadable>* ouUnreadable) {
    KPXDividoraData header;
    header.SetFileAddress(agPiece);
    KPXSepaCtrl reader;
    if (!reader.ReadHeader(header)) {
        return false;
    }
    std::string folder = tkvFileString::FolderOf(agPiece);
    for (Set& set : FindSets(folder.empty() ? "." : folder, ouUnreadable)) {
        if (SameSet(set, header)) {
            ouSet = std::move(set);
            return true;
        }
    }
    return false;
}
