#pragma once

#include <string>
#include <string_view>
#include <vector>

// A folder of one fuzz process under $TMPDIR (or /tmp), removed with everything in it when the
// process ends normally. Inputs become real files in it, so the readers run on files as users
// give them. A failure of the file system here is a broken environment, not a finding: it
// stops the process as a broken invariant does.
class FuzzWorkFolder {
public:
    FuzzWorkFolder();
    ~FuzzWorkFolder();
    FuzzWorkFolder(const FuzzWorkFolder&) = delete;
    FuzzWorkFolder& operator=(const FuzzWorkFolder&) = delete;

    // The path of agName inside the folder.
    std::string Path(std::string_view agName) const;

    // Replaces agName with a file of agBytes; answers its path.
    std::string WriteFile(std::string_view agName, std::string_view agBytes) const;
    // Replaces agName with an empty folder; answers its path.
    std::string MakeEmptyFolder(std::string_view agName) const;

    static std::string ReadFile(const std::string& agPath);
    // Every name in agFolder, hidden ones included, sorted.
    static std::vector<std::string> Entries(const std::string& agFolder);

private:
    std::string path_;
};
