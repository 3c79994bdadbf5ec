#pragma once

#include <string>
#include <vector>

// The files a split or restore reads and writes, as far as they are known before it runs, so
// that a file the tool writes besides them (the --html page) is never one of them.
class CliRunFiles {
public:
    // A file the run reads (the source, a piece) or writes (the restored file).
    void AddFile(const std::string& agPath) { files_.push_back(agPath); }
    // Split: the pieces are agName, a suffix and ".KPX" in agFolder. Random suffixes are only
    // drawn at run time, so every such name counts, in any letter case.
    void SetPieces(const std::string& agFolder, const std::string& agName);

    // Whether agPath is one of the run's files: the same file also through a link, or, for one
    // that does not exist yet, the same name in the same folder.
    bool Holds(const std::string& agPath) const;

private:
    bool IsPieceName(const std::string& agName) const;

    std::vector<std::string> files_;
    std::string pieceFolder_;
    std::string pieceName_;
};
