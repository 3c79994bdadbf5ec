#include "tkvRunRecord.h"

#include <algorithm>
#include <map>

#include "tkvFileError.h"
#include "tkvFileString.h"
#include "tkvRunFileName.h"

namespace {

constexpr std::string_view kStarted = "dividora run ";
constexpr std::string_view kCommitting = "committing\n";

// The record's text, as far as it can be read; empty when it cannot.
std::string ReadRecord(tkvFileHandle::Handle agHandle, const std::string& agPath) {
    std::string text(256, '\0');
    try {
        text.resize(static_cast<size_t>(tkvFileHandle::ReadAt(
            agHandle, text.data(), static_cast<int64_t>(text.size()), 0, agPath)));
    } catch (const tkvFileError&) {
        text.clear();
    }
    return text;
}

}  // namespace

tkvRunRecord::~tkvRunRecord() { Close(); }

bool tkvRunRecord::Create(const std::string& agFolder, const std::string& agTag) {
    Close();
    path_ = tkvFileString::JoinFolderAndName(
        agFolder, tkvRunFileName::Of(tkvRunFileName::Kind::kRecord, {}, agTag));
    handle_ = tkvFileHandle::Open(path_, tkvFileHandle::Access::kReadWrite, true, true);
    if (handle_ == tkvFileHandle::kNoHandle) {
        return false;
    }
    // Where the file system has no locks, no other run can tell this one has ended, and its
    // files are left alone: the safe side.
    tkvFileHandle::TryLock(handle_);
    const std::string text =
        std::string(kStarted) + std::to_string(tkvFileString::CurrentProcessID()) + "\n";
    try {
        tkvFileHandle::WriteAt(handle_, text.data(), static_cast<int64_t>(text.size()), 0, path_);
        length_ = static_cast<int64_t>(text.size());
    } catch (const tkvFileError&) {
        // An empty record still holds its lock: the run's files are safe while it lives.
    }
    return true;
}

bool tkvRunRecord::MarkCommitting(std::string& ouSystemText) {
    if (!Created()) {
        return true;
    }
    try {
        tkvFileHandle::WriteAt(handle_, kCommitting.data(),
                               static_cast<int64_t>(kCommitting.size()), length_, path_);
        length_ += static_cast<int64_t>(kCommitting.size());
        tkvFileHandle::Sync(handle_, path_);
    } catch (const tkvFileError& error) {
        ouSystemText = error.SystemText();
        return false;
    }
    return true;
}

void tkvRunRecord::Remove() {
    if (Created()) {
        tkvFileString::DeleteFile(path_);
    }
    Close();
}

void tkvRunRecord::Close() {
    if (Created()) {
        tkvFileHandle::Close(handle_);
        handle_ = tkvFileHandle::kNoHandle;
    }
}

std::vector<tkvRunRecord::Leftover> tkvRunRecord::FindLeftovers(const std::string& agFolder) {
    std::vector<std::string> names = tkvFileString::FolderEntries(agFolder);
    std::sort(names.begin(), names.end());
    std::map<std::string, std::vector<std::string>> filesByTag;
    std::vector<std::string> recordTags;
    for (const std::string& name : names) {
        tkvRunFileName::Kind kind{};
        std::string tag;
        if (!tkvRunFileName::Parse(name, kind, tag)) {
            continue;
        }
        if (kind == tkvRunFileName::Kind::kRecord) {
            recordTags.push_back(tag);
        } else {
            filesByTag[tag].push_back(tkvFileString::JoinFolderAndName(agFolder, name));
        }
    }
    std::vector<Leftover> leftovers;
    for (const std::string& tag : recordTags) {
        const std::string path = tkvFileString::JoinFolderAndName(
            agFolder, tkvRunFileName::Of(tkvRunFileName::Kind::kRecord, {}, tag));
        const auto handle = tkvFileHandle::Open(path, tkvFileHandle::Access::kRead, false, false);
        if (handle == tkvFileHandle::kNoHandle) {
            continue;
        }
        // A record someone holds is a running run's; one whose first line is not written yet
        // may be one that is just starting.
        const bool ended = tkvFileHandle::TryLock(handle);
        const std::string text = ended ? ReadRecord(handle, path) : std::string();
        tkvFileHandle::Close(handle);
        if (!ended || text.find('\n') == std::string::npos || !text.starts_with(kStarted)) {
            continue;
        }
        Leftover leftover;
        leftover.Tag = tag;
        leftover.Committing = text.find(kCommitting) != std::string::npos;
        leftover.Paths = filesByTag[tag];
        leftover.Paths.push_back(path);
        leftovers.push_back(std::move(leftover));
    }
    return leftovers;
}

bool tkvRunRecord::RemoveLeftover(const Leftover& agLeftover) {
    bool removed = true;
    for (const std::string& path : agLeftover.Paths) {
        // The record goes last, and only after every file of its tag: a file that stays keeps
        // the record that tells it from a user's file.
        if (&path == &agLeftover.Paths.back() && !removed) {
            break;
        }
        std::string what;
        if (tkvFileString::InspectTarget(path, what) != tkvFileString::TargetState::kAbsent &&
            !tkvFileString::DeleteFile(path)) {
            removed = false;
        }
    }
    return removed;
}
