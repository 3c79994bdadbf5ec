#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tkvRunRecord.h"

// The files one run writes. Each is written under a hidden temporary name in its final folder
// and takes its final name only when the run has succeeded, so a run that fails, is cancelled
// or is killed never leaves a partial file under a final name, and a file that was there
// before stays untouched until the moment it is replaced. A commit that fails part-way puts
// every replaced file back: until every final name is given, each replaced file is kept under
// a hidden name of its own.
//
// The hidden names carry the run's random tag (tkvRunFileName), and each folder written holds
// the run's record (tkvRunRecord). The first time a run writes into a folder, it removes what
// ended runs left there, whatever their final names, except what a run left while it was
// giving its files their final names.
class tkvStagedFiles {
public:
    tkvStagedFiles();
    // Removes the run's records, where none of its hidden files is left.
    ~tkvStagedFiles();
    tkvStagedFiles(const tkvStagedFiles&) = delete;
    tkvStagedFiles& operator=(const tkvStagedFiles&) = delete;

    // Registers agFinalPath and answers the temporary path to write it under (the caller creates
    // it exclusively). agReplace: the final name may be replaced at the commit (the user agreed);
    // otherwise the commit fails if anything has appeared there meanwhile.
    std::string Stage(const std::string& agFinalPath, bool agReplace);
    // Undoes the last Stage when its temporary file could not be created.
    void Unstage();
    // The final path of one of the run's temporary paths; any other path unchanged.
    std::string FinalPathOf(const std::string& agPath) const;

    // Gives every staged file its final name, in staging order, after looking at every final name
    // first, and makes the folders' entries durable. On failure everything is put back as it was
    // before (as far as the system lets it), with the path that failed and the system's text.
    // agCancelled, when given, is asked once the records say the commit begins and before the
    // first rename: true stops it there, with no failed path.
    bool CommitAll(std::string& ouFailedPath, std::string& ouSystemText,
                   const std::function<bool()>& agCancelled = {});
    // After a failure: gives what was written its final name, as far as it goes, so a user who
    // keeps partial files finds them where the run meant to put them.
    void KeepAll();
    // After a failure: deletes every temporary file. Answers false when one could not be deleted,
    // or a replaced file could not be put back (it then stays under its hidden name).
    bool DiscardAll();

private:
    struct Entry {
        std::string FinalPath;
        std::string TemporaryPath;
        // The file the commit replaced, under its hidden name until the commit is over.
        std::string KeptPath;
        bool Replace = false;
        bool Committed = false;
    };

    // Whether the final name can no longer take the file, with the reason.
    static bool IsBlocked(const Entry& agEntry, std::string& ouSystemText);
    bool Commit(Entry& ioEntry, std::string& ouSystemText);
    // Takes a committed file back under its temporary name and puts back what it replaced.
    static bool Uncommit(Entry& ioEntry, std::string& ouSystemText);
    // Puts the file at agIncoming at agPlace, keeping what was there as agAside; on failure
    // everything stays or is put back where it was.
    static bool ReplaceKeeping(const std::string& agPlace, const std::string& agIncoming,
                               const std::string& agAside, std::string& ouSystemText);
    // Uncommits every entry, last first; the failures are added to ioSystemText.
    void RollBack(std::string& ioSystemText);
    // Deletes the replaced files once every final name is given.
    void RemoveKept();
    // The run's record in agFolder, made (after a look for what ended runs left) on first use.
    void PrepareFolder(const std::string& agFolder);

    std::string tag_;
    std::vector<Entry> entries_;
    std::map<std::string, std::unique_ptr<tkvRunRecord>> records_;
};
