#pragma once

#include <string>
#include <vector>

#include "tkvFileHandle.h"

// The record a split or restore keeps in each folder it writes, ".TAG.dividora-run", locked for
// as long as the run lives. The system drops the lock when the process ends, however it ends,
// so a record of this machine that nobody holds belongs to a run that is over, and every file
// of its tag that is still there was left behind. A record of another machine (a shared
// folder, whose locks may not reach this one) is never taken for an ended run's. A run notes in
// its record when it begins to give its files their final names: what a run left behind during
// that step is the only copy of either the new or the earlier files, and is never removed
// unasked.
class tkvRunRecord {
public:
    // What one ended run left in a folder.
    struct Leftover {
        std::string Tag;
        // The run ended while it gave its files their final names.
        bool Committing = false;
        // The machine the run ran on, when it is not this one: it may still be running there.
        std::string OtherMachine;
        // The files of its tag.
        std::vector<std::string> Files;
        std::string Record;
    };

    tkvRunRecord() = default;
    // Lets go of the record, leaving it in place (see Remove).
    ~tkvRunRecord();
    tkvRunRecord(const tkvRunRecord&) = delete;
    tkvRunRecord& operator=(const tkvRunRecord&) = delete;

    // Makes, locks and fills the record of run agTag in agFolder; false when the folder takes no
    // new file (the run's own files will fail there with the reason).
    bool Create(const std::string& agFolder, const std::string& agTag);
    bool Created() const { return handle_ != tkvFileHandle::kNoHandle; }
    // Notes, durably, that the run begins to give its files their final names. False with the
    // system's text when the note cannot be written.
    bool MarkCommitting(std::string& ouSystemText);
    // Deletes the record, once none of the run's hidden files is left in its folder.
    void Remove();

    // What the ended runs left in agFolder; runs that still live are not looked at.
    static std::vector<Leftover> FindLeftovers(const std::string& agFolder);
    // Deletes a leftover's files, then its record. False when one could not be deleted: the
    // record then stays, so what is left is still known as the run's.
    static bool RemoveLeftover(const Leftover& agLeftover);

private:
    void Close();

    std::string path_;
    tkvFileHandle::Handle handle_ = tkvFileHandle::kNoHandle;
    int64_t length_ = 0;
};
