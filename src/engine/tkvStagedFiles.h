#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The files one run writes. Each is written under a hidden temporary name in its final folder
// and takes its final name only when the run has succeeded, so a run that fails, is cancelled
// or is killed never leaves a partial file under a final name, and a file that was there
// before stays untouched until the moment it is replaced.
//
// A temporary name is "." + final name + "." + process ID + ".dividora-part". A later run that
// writes the same final name removes such files of processes that no longer run.
class tkvStagedFiles {
public:
    // The suffix that marks a temporary name.
    static constexpr const char* kSuffix = ".dividora-part";

    tkvStagedFiles() = default;
    tkvStagedFiles(const tkvStagedFiles&) = delete;
    tkvStagedFiles& operator=(const tkvStagedFiles&) = delete;

    // Registers agFinalPath and answers the temporary path to write it under (the caller creates
    // it exclusively). agReplace: the final name may be replaced at the commit (the user agreed);
    // otherwise the commit fails if anything has appeared there meanwhile.
    std::string Stage(const std::string& agFinalPath, bool agReplace);
    // Undoes the last Stage when its temporary file could not be created.
    void Unstage();

    // Renames every staged file to its final name, in staging order, after looking at every
    // final name first. False at the first that fails, with its final path and the system's
    // text; the files renamed before stay renamed.
    bool CommitAll(std::string& ouFailedPath, std::string& ouSystemText);
    // After a failure: renames what was written to its final name, as far as it goes, so a user
    // who keeps partial files finds them where the run meant to put them.
    void KeepAll();
    // After a failure: deletes every temporary file and every file already renamed. Answers
    // false when one could not be deleted.
    bool DiscardAll();

    // The temporary name for a final name in the same folder.
    static std::string TemporaryName(const std::string& agFinalName, int64_t agProcessID);

private:
    struct Entry {
        std::string FinalPath;
        std::string TemporaryPath;
        bool Replace = false;
        bool Committed = false;
    };

    // A temporary file of a process that no longer runs.
    struct Stale {
        std::string Name;
        std::string NamePart;
        int64_t ProcessID = 0;
    };

    // Whether the final name can no longer take the file, with the reason.
    static bool IsBlocked(const Entry& agEntry, std::string& ouSystemText);
    bool Commit(Entry& ioEntry, std::string& ouSystemText);
    void RemoveStaleTemporaries(const std::string& agFolder, const std::string& agFinalName);

    std::vector<Entry> entries_;
    // Per folder seen, the stale temporary files found there and not yet removed.
    std::map<std::string, std::vector<Stale>> staleByFolder_;
};
