#include "CliDestination.h"

#include "CliFileSystem.h"
#include "CliText.h"
#include "tkvFileString.h"

std::vector<std::string> CliDestination::Problems(const std::string& agFolder,
                                                  const std::vector<std::string>& agTargets,
                                                  bool agMayBeHit, bool agReplace) {
    const std::string folder = "-o " + CliText::Escaped(agFolder);
    if (CliFileSystem::EntryAt(agFolder) == CliFileSystem::Entry::kNone) {
        return {folder + ": the folder does not exist"};
    }
    if (tkvFileString::GetPathKind(agFolder) != tkvFileString::kFolder) {
        return {folder + ": not a folder"};
    }
    std::vector<std::string> problems;
    if (!CliFileSystem::IsWritableFolder(agFolder)) {
        problems.push_back(folder + ": the folder is not writable");
    }
    for (const std::string& target : agTargets) {
        const std::string shown = CliText::Escaped(target);
        switch (CliFileSystem::EntryAt(target)) {
            case CliFileSystem::Entry::kNone:
                break;
            case CliFileSystem::Entry::kOther:
                problems.push_back(shown + " exists and is not a regular file: no run replaces it");
                break;
            case CliFileSystem::Entry::kReplaceable:
                if (!agReplace) {
                    problems.push_back(
                        shown +
                        (agMayBeHit ? " exists and a random name may fall on it" : " exists") +
                        "; --force replaces it");
                }
                break;
        }
    }
    return problems;
}
