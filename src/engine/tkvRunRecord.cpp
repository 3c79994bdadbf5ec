#include "tkvRunRecord.h"

#include <algorithm>
#include <chrono>
#include <map>

#include "tkvFileError.h"
#include "tkvFileString.h"
#include "tkvRunFileName.h"

namespace {

// The first line: "dividora run PID MACHINE".
constexpr std::string_view kStarted = "dividora run ";
constexpr std::string_view kCommitting = "committing\n";
// A record nobody holds and whose first line was never written belongs to a run that died as
// it began, once it is older than this; younger, it may be a run that is just starting.
constexpr int64_t kStartingNanoseconds = int64_t{60} * 1000000000;

// The record's text, as far as it can be read; empty when it cannot.
std::string ReadRecord(tkvFileHandle::Handle agHandle, const std::string& agPath) {
    std::string text(512, '\0');
    try {
        text.resize(static_cast<size_t>(tkvFileHandle::ReadAt(
            agHandle, text.data(), static_cast<int64_t>(text.size()), 0, agPath)));
    } catch (const tkvFileError&) {
        text.clear();
    }
    return text;
}

// The machine a record's first line names; empty when it names none.
std::string MachineOf(const std::string& agText) {
    const std::string first = agText.substr(0, agText.find('\n'));
    const size_t space = first.rfind(' ');
    return space == std::string::npos || space < kStarted.size() ? std::string()
                                                                 : first.substr(space + 1);
}

bool StartedLongAgo(tkvFileHandle::Handle agHandle, const std::string& agPath) {
    try {
        const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
        return now - tkvFileHandle::Stamp(agHandle, agPath).Changed > kStartingNanoseconds;
    } catch (const tkvFileError&) {
        return false;
    }
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
    // Another run looking for leftovers may hold the lock for a moment: it finds no first line
    // and lets go. Where the file system has no locks, no other run can tell this one has ended,
    // and its files are left alone: the safe side.
    tkvFileHandle::Lock(handle_);
    const std::string text = std::string(kStarted) +
                             std::to_string(tkvFileString::CurrentProcessID()) + " " +
                             tkvFileString::MachineName() + "\n";
    try {
        tkvFileHandle::WriteAt(handle_, text.data(), static_cast<int64_t>(text.size()), 0, path_);
        length_ = static_cast<int64_t>(text.size());
    } catch (const tkvFileError&) {
        Remove();  // a folder that takes no line takes no pieces either
        return false;
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
        // A record someone holds is a running run's.
        const bool ended = tkvFileHandle::TryLock(handle);
        const std::string text = ended ? ReadRecord(handle, path) : std::string();
        const bool started = text.starts_with(kStarted) && text.find('\n') != std::string::npos;
        const bool diedStarting = ended && !started && StartedLongAgo(handle, path);
        tkvFileHandle::Close(handle);
        if (!ended || (!started && !diedStarting)) {
            continue;
        }
        Leftover leftover;
        leftover.Tag = tag;
        leftover.Committing = text.find(kCommitting) != std::string::npos;
        const std::string machine = MachineOf(text);
        if (started && machine != tkvFileString::MachineName()) {
            leftover.OtherMachine = machine.empty() ? "?" : machine;
        }
        leftover.Files = filesByTag[tag];
        leftover.Record = path;
        leftovers.push_back(std::move(leftover));
    }
    return leftovers;
}

bool tkvRunRecord::RemoveLeftover(const Leftover& agLeftover) {
    bool removed = true;
    for (const std::string& path : agLeftover.Files) {
        if (tkvFileString::Exists(path) && !tkvFileString::DeleteFile(path)) {
            removed = false;
        }
    }
    return removed && tkvFileString::DeleteFile(agLeftover.Record);
}
