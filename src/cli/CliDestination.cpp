#include "CliDestination.h"

#include "CliText.h"
#include "tkvFileString.h"
#include "tkvProgramFolder.h"

std::vector<std::string> CliDestination::Problems(const std::string& agFolder,
                                                  const std::vector<std::string>& agTargets,
                                                  const std::vector<std::string>& agMayBeHit,
                                                  bool agReplace) {
    const std::string folder = "-o " + CliText::Escaped(agFolder);
    std::string what;
    if (tkvFileString::InspectTarget(agFolder, what) == tkvFileString::TargetState::kAbsent) {
        return {folder + ": the folder does not exist"};
    }
    if (tkvFileString::GetPathKind(agFolder) != tkvFileString::kFolder) {
        return {folder + ": not a folder"};
    }
    std::vector<std::string> problems;
    if (!tkvProgramFolder::IsWritableFolder(agFolder)) {
        problems.push_back(folder + ": the folder is not writable");
    }
    std::vector<std::pair<std::string, bool>> targets;
    for (const std::string& target : agTargets) {
        targets.emplace_back(target, false);
    }
    for (const std::string& target : agMayBeHit) {
        targets.emplace_back(target, true);
    }
    for (const auto& [target, mayBeHit] : targets) {
        const std::string shown = CliText::Escaped(target);
        switch (tkvFileString::InspectTarget(target, what)) {
            case tkvFileString::TargetState::kAbsent:
                break;
            case tkvFileString::TargetState::kNotAFile:
                problems.push_back(shown + " is there and no regular file (" + what +
                                   "): no run replaces it");
                break;
            case tkvFileString::TargetState::kReplaceable:
                if (!agReplace) {
                    problems.push_back(
                        shown +
                        (mayBeHit ? " exists and a random name may fall on it" : " exists") +
                        "; --force replaces it");
                }
                break;
        }
    }
    return problems;
}
