#include "tkvStagedFiles.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <set>
#include <string_view>

#include "tkvDigest.h"
#include "tkvFileString.h"

namespace {

// The longest file name the common file systems take, in bytes.
constexpr size_t kNameLimit = 255;

// What a cut name carries of the whole one: "~" and 16 digits of its digest.
constexpr size_t kCutTagLength = 17;

// The part of a final name a temporary name carries: all of it when it fits, else its start,
// cut at a character boundary, and a tag of the whole name, so that the pieces of one long
// name, which differ only at its end, never share a temporary name.
std::string NamePart(std::string_view agFinalName, size_t agRoom) {
    if (agFinalName.size() <= agRoom) {
        return std::string(agFinalName);
    }
    size_t end = agRoom - kCutTagLength;
    while (end > 0 && (static_cast<unsigned char>(agFinalName[end]) & 0xC0) == 0x80) {
        --end;  // not inside a UTF-8 sequence
    }
    return std::string(agFinalName.substr(0, end)) + "~" +
           tkvDigest::Of(std::string(agFinalName)).substr(0, kCutTagLength - 1);
}

// The room for the name part beside "." and "." + process ID + the suffix.
size_t RoomForName(int64_t agProcessID) {
    return kNameLimit - 2 - std::to_string(agProcessID).size() -
           std::string_view(tkvStagedFiles::kSuffix).size();
}

// Splits a temporary name into the name part and the process ID; false for any other name.
bool ParseTemporaryName(std::string_view agName, std::string& ouNamePart, int64_t& ouProcessID) {
    const std::string_view suffix(tkvStagedFiles::kSuffix);
    if (agName.size() <= suffix.size() + 1 || agName.front() != '.' ||
        agName.substr(agName.size() - suffix.size()) != suffix) {
        return false;
    }
    const std::string_view rest = agName.substr(1, agName.size() - 1 - suffix.size());
    const size_t dot = rest.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == rest.size() || rest.size() - dot > 19) {
        return false;
    }
    int64_t id = 0;
    for (const char c : rest.substr(dot + 1)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        id = id * 10 + (c - '0');
    }
    ouNamePart = std::string(rest.substr(0, dot));
    ouProcessID = id;
    return true;
}

}  // namespace

std::string tkvStagedFiles::TemporaryName(const std::string& agFinalName, int64_t agProcessID) {
    return "." + NamePart(agFinalName, RoomForName(agProcessID)) + "." +
           std::to_string(agProcessID) + kSuffix;
}

std::string tkvStagedFiles::Stage(const std::string& agFinalPath, bool agReplace) {
    const std::string folder = tkvFileString::FolderOf(agFinalPath);
    const std::string name = tkvFileString::GetFileNamePart(agFinalPath);
    RemoveStaleTemporaries(folder, name);
    Entry entry;
    entry.FinalPath = agFinalPath;
    entry.TemporaryPath = folder + TemporaryName(name, tkvFileString::CurrentProcessID());
    entry.Replace = agReplace;
    entries_.push_back(entry);
    return entry.TemporaryPath;
}

void tkvStagedFiles::Unstage() {
    if (!entries_.empty()) {
        entries_.pop_back();
    }
}

void tkvStagedFiles::RemoveStaleTemporaries(const std::string& agFolder,
                                            const std::string& agFinalName) {
    auto found = staleByFolder_.find(agFolder);
    if (found == staleByFolder_.end()) {
        // One listing per folder and run: a split writes many pieces into one folder.
        std::vector<Stale> stale;
        for (const std::string& entry : tkvFileString::FolderEntries(agFolder)) {
            Stale candidate;
            if (ParseTemporaryName(entry, candidate.NamePart, candidate.ProcessID) &&
                candidate.ProcessID != tkvFileString::CurrentProcessID() &&
                !tkvFileString::ProcessIsRunning(candidate.ProcessID)) {
                candidate.Name = entry;
                stale.push_back(std::move(candidate));
            }
        }
        found = staleByFolder_.emplace(agFolder, std::move(stale)).first;
    }
    std::vector<Stale>& stale = found->second;
    for (auto it = stale.begin(); it != stale.end();) {
        if (NamePart(agFinalName, RoomForName(it->ProcessID)) != it->NamePart) {
            ++it;
            continue;
        }
        std::string what;
        const std::string path = tkvFileString::JoinFolderAndName(agFolder, it->Name);
        if (tkvFileString::InspectTarget(path, what) == tkvFileString::TargetState::kReplaceable) {
            tkvFileString::DeleteFile(path);
        }
        it = stale.erase(it);
    }
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
            ouSystemText = std::strerror(EEXIST);
            return true;
    }
    return false;
}

bool tkvStagedFiles::Commit(Entry& ioEntry, std::string& ouSystemText) {
    if (ioEntry.Committed) {
        return true;
    }
    if (IsBlocked(ioEntry, ouSystemText) ||
        !tkvFileString::RenameFile(ioEntry.TemporaryPath, ioEntry.FinalPath, ioEntry.Replace,
                                   ouSystemText)) {
        return false;
    }
    ioEntry.Committed = true;
    return true;
}

bool tkvStagedFiles::CommitAll(std::string& ouFailedPath, std::string& ouSystemText) {
    // Every name is looked at before the first rename: a name taken during the run fails it
    // while every file that was there before is still untouched.
    for (const Entry& entry : entries_) {
        if (!entry.Committed && IsBlocked(entry, ouSystemText)) {
            ouFailedPath = entry.FinalPath;
            return false;
        }
    }
    std::set<std::string> folders;
    bool done = true;
    for (Entry& entry : entries_) {
        if (!Commit(entry, ouSystemText)) {
            ouFailedPath = entry.FinalPath;
            done = false;
            break;
        }
        folders.insert(tkvFileString::FolderOf(entry.FinalPath));
    }
    for (const std::string& folder : folders) {
        tkvFileString::SyncFolder(folder);
    }
    return done;
}

void tkvStagedFiles::KeepAll() {
    for (Entry& entry : entries_) {
        std::string ignored;
        Commit(entry, ignored);
    }
}

bool tkvStagedFiles::DiscardAll() {
    bool done = true;
    for (const Entry& entry : entries_) {
        const std::string& path = entry.Committed ? entry.FinalPath : entry.TemporaryPath;
        std::string what;
        if (tkvFileString::InspectTarget(path, what) != tkvFileString::TargetState::kAbsent &&
            !tkvFileString::DeleteFile(path)) {
            done = false;
        }
    }
    return done;
}
