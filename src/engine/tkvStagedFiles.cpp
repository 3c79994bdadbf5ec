#include "tkvStagedFiles.h"

#include <cerrno>
#include <set>

#include "tkvFileError.h"
#include "tkvFileString.h"
#include "tkvRunFileName.h"

namespace {

std::string HiddenPath(tkvRunFileName::Kind agKind, const std::string& agFinalPath,
                       const std::string& agTag) {
    return tkvFileString::FolderOf(agFinalPath) +
           tkvRunFileName::Of(agKind, tkvFileString::GetFileNamePart(agFinalPath), agTag);
}

}  // namespace

tkvStagedFiles::tkvStagedFiles() : tag_(tkvRunFileName::NewTag()) {}

tkvStagedFiles::~tkvStagedFiles() {
    for (auto& [folder, record] : records_) {
        bool clear = true;
        for (const Entry& entry : entries_) {
            if (tkvFileString::FolderOf(entry.FinalPath) == folder &&
                ((!entry.Committed && tkvFileString::Exists(entry.TemporaryPath)) ||
                 (!entry.KeptPath.empty() && tkvFileString::Exists(entry.KeptPath)))) {
                clear = false;
            }
        }
        // A hidden file that could not be deleted keeps the record that marks it as the run's.
        if (clear) {
            record->Remove();
        }
    }
}

void tkvStagedFiles::PrepareFolder(const std::string& agFolder) {
    if (records_.count(agFolder) != 0) {
        return;
    }
    for (const auto& leftover : tkvRunRecord::FindLeftovers(agFolder)) {
        if (!leftover.Committing && leftover.OtherMachine.empty()) {
            tkvRunRecord::RemoveLeftover(leftover);
        }
    }
    auto record = std::make_unique<tkvRunRecord>();
    record->Create(agFolder, tag_);
    records_.emplace(agFolder, std::move(record));
}

std::string tkvStagedFiles::Stage(const std::string& agFinalPath, bool agReplace) {
    PrepareFolder(tkvFileString::FolderOf(agFinalPath));
    Entry entry;
    entry.FinalPath = agFinalPath;
    entry.TemporaryPath = HiddenPath(tkvRunFileName::Kind::kPart, agFinalPath, tag_);
    entry.Replace = agReplace;
    entries_.push_back(entry);
    return entry.TemporaryPath;
}

void tkvStagedFiles::Unstage() {
    if (!entries_.empty()) {
        entries_.pop_back();
    }
}

std::string tkvStagedFiles::FinalPathOf(const std::string& agPath) const {
    for (const Entry& entry : entries_) {
        if (entry.TemporaryPath == agPath) {
            return entry.FinalPath;
        }
    }
    return agPath;
}

bool tkvStagedFiles::IsBlocked(const Entry& agEntry, std::string& ouSystemText) {
    // Something may have been put at the final name during the run: what is not a file is
    // never replaced, and a name that was free when the run asked is not replaced either.
    std::string what;
    switch (tkvFileString::InspectTarget(agEntry.FinalPath, what)) {
        case tkvFileString::TargetState::kAbsent:
            return false;
        case tkvFileString::TargetState::kNotAFile:
            ouSystemText = what;
            return true;
        case tkvFileString::TargetState::kReplaceable:
            if (agEntry.Replace) {
                return false;
            }
            ouSystemText = tkvFileError::SystemTextOf(EEXIST);
            return true;
    }
    return false;
}

bool tkvStagedFiles::Commit(Entry& ioEntry, std::string& ouSystemText) {
    if (ioEntry.Committed) {
        return true;
    }
    if (IsBlocked(ioEntry, ouSystemText)) {
        return false;
    }
    const std::string& finalPath = ioEntry.FinalPath;
    // A free name is taken only while it is free; a file there (also one that appeared just
    // now, where replacing was agreed) is kept aside until the commit is over.
    if (!tkvFileString::Exists(finalPath) &&
        tkvFileString::RenameFile(ioEntry.TemporaryPath, finalPath, false, ouSystemText)) {
        ioEntry.Committed = true;
        return true;
    }
    if (!ioEntry.Replace || !tkvFileString::Exists(finalPath)) {
        if (!ioEntry.Replace && ouSystemText.empty()) {
            ouSystemText = tkvFileError::SystemTextOf(EEXIST);
        }
        return false;
    }
    const std::string kept = HiddenPath(tkvRunFileName::Kind::kKept, finalPath, tag_);
    if (!ReplaceKeeping(finalPath, ioEntry.TemporaryPath, kept, ouSystemText)) {
        return false;
    }
    ioEntry.KeptPath = kept;
    ioEntry.Committed = true;
    return true;
}

bool tkvStagedFiles::Uncommit(Entry& ioEntry, std::string& ouSystemText) {
    if (!ioEntry.Committed) {
        return true;
    }
    // The run's file goes back under its temporary name, the earlier file (if any) back to its
    // own.
    const bool back = ioEntry.KeptPath.empty()
                          ? tkvFileString::RenameFile(ioEntry.FinalPath, ioEntry.TemporaryPath,
                                                      false, ouSystemText)
                          : ReplaceKeeping(ioEntry.FinalPath, ioEntry.KeptPath,
                                           ioEntry.TemporaryPath, ouSystemText);
    if (!back) {
        return false;
    }
    ioEntry.KeptPath.clear();
    ioEntry.Committed = false;
    return true;
}

bool tkvStagedFiles::ReplaceKeeping(const std::string& agPlace, const std::string& agIncoming,
                                    const std::string& agAside, std::string& ouSystemText) {
    std::string ignored;
    if (tkvFileString::LinkFile(agPlace, agAside, ignored)) {
        // What is at the place keeps a second name, and the incoming file replaces it in one
        // step: the place is never empty.
        if (tkvFileString::RenameFile(agIncoming, agPlace, true, ouSystemText)) {
            return true;
        }
        // Only a second name of what is still at the place goes: a rename that did happen yet
        // was reported as failed must not cost the earlier file its last name.
        if (tkvFileString::IsSameFile(agPlace, agAside)) {
            tkvFileString::DeleteFile(agAside);
        }
        return false;
    }
    // No second names here (FAT): what is at the place steps aside first.
    if (!tkvFileString::RenameFile(agPlace, agAside, false, ouSystemText)) {
        return false;
    }
    if (tkvFileString::RenameFile(agIncoming, agPlace, false, ouSystemText)) {
        return true;
    }
    tkvFileString::RenameFile(agAside, agPlace, false, ignored);
    return false;
}

void tkvStagedFiles::RollBack(std::string& ioSystemText) {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        std::string why;
        if (!Uncommit(*entry, why)) {
            ioSystemText += "; " + entry->FinalPath + ": " + why;
            if (!entry->KeptPath.empty()) {
                ioSystemText += " (the earlier file is kept as " + entry->KeptPath + ")";
            }
        }
    }
}

void tkvStagedFiles::RemoveKept() {
    for (Entry& entry : entries_) {
        if (!entry.KeptPath.empty() && tkvFileString::DeleteFile(entry.KeptPath)) {
            entry.KeptPath.clear();
        }
    }
}

bool tkvStagedFiles::CommitAll(std::string& ouFailedPath, std::string& ouSystemText,
                               const std::function<bool()>& agCancelled) {
    // Every name is looked at before the first rename: a name taken during the run fails it
    // while every file that was there before is still untouched.
    for (const Entry& entry : entries_) {
        if (!entry.Committed && IsBlocked(entry, ouSystemText)) {
            ouFailedPath = entry.FinalPath;
            return false;
        }
    }
    std::set<std::string> folders;
    for (const Entry& entry : entries_) {
        folders.insert(tkvFileString::FolderOf(entry.FinalPath));
    }
    for (const std::string& folder : folders) {
        const auto record = records_.find(folder);
        if (record != records_.end() && !record->second->MarkCommitting(ouSystemText)) {
            ouFailedPath = folder;
            return false;
        }
    }
    if (agCancelled && agCancelled()) {
        return false;
    }
    bool done = true;
    for (Entry& entry : entries_) {
        if (!Commit(entry, ouSystemText)) {
            ouFailedPath = entry.FinalPath;
            done = false;
            break;
        }
    }
    // A folder whose new entries the system may lose fails the run like a failed write.
    for (auto folder = folders.begin(); done && folder != folders.end(); ++folder) {
        if (!tkvFileString::SyncFolder(*folder, ouSystemText)) {
            ouFailedPath = *folder;
            done = false;
        }
    }
    if (!done) {
        RollBack(ouSystemText);
        return false;
    }
    RemoveKept();
    return true;
}

void tkvStagedFiles::KeepAll() {
    for (Entry& entry : entries_) {
        std::string ignored;
        Commit(entry, ignored);
    }
    RemoveKept();
}

bool tkvStagedFiles::DiscardAll() {
    bool done = true;
    for (const Entry& entry : entries_) {
        if (entry.Committed && !entry.KeptPath.empty()) {
            done = false;  // the earlier file could not be put back: both stay
            continue;
        }
        const std::string& path = entry.Committed ? entry.FinalPath : entry.TemporaryPath;
        if (tkvFileString::Exists(path) && !tkvFileString::DeleteFile(path)) {
            done = false;
        }
    }
    return done;
}
