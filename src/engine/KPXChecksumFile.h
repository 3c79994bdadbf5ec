#pragma once

#include <cstdint>
#include <string>
#include <vector>

class KPXDividoraData;

// The checksum file a split writes beside its pieces, NAME.xxh128. After one line that xxhsum
// passes over, it holds one line per piece in join order, "<digest>  <piece file name>", which
// `xxhsum -H2 -c NAME.xxh128` checks in the pieces' folder:
//
//   # dividora-set <SpecID> <SepaDate's 64 bits, hex> <Count> <source digest> <self check>
//   0123...(32 hexadecimal digits)  photo1.KPX
//
// The digests are XXH3-128 of each whole piece file and of the whole source file. The self
// check, the first 16 digits of the digest of the set's fields and the piece lines, catches a
// damaged checksum file before it can call a sound piece bad. The piece format itself is
// unchanged: the file only stands beside the pieces.
class KPXChecksumFile {
public:
    struct Line {
        std::string Digest;
        std::string Name;
    };

    static constexpr const char* kExtension = ".xxh128";
    // The largest file read: far more than the lines of the most pieces a split makes.
    static constexpr int64_t kSizeLimit = 64 * 1024 * 1024;

    int32_t SpecID = 0;
    double SepaDate = 0.0;
    int32_t Count = 0;
    std::string SourceDigest;
    std::vector<Line> Pieces;

    // The text of the file.
    std::string ToText() const;
    // Reads a text written by ToText; false for anything else, a damaged one included.
    bool FromText(const std::string& agText);
    // Reads the file at agPath; false when it cannot be read or is no sound checksum file.
    // ouSystemText, when given, receives the system's reason when the file could not be read.
    bool Read(const std::string& agPath, std::string* ouSystemText = nullptr);

    // Whether it was written by the split that made agRecord.
    bool Belongs(const KPXDividoraData& agRecord) const;

    // The files beside agPieces (the whole set, in join order) that may be the set's checksum
    // file, agRecord being one of its headers, in name order: a checksum file of ours that names
    // the set's split or one of its pieces, and any file named as the set's checksum file is
    // (NAME.xxh128 where every piece is NAME, a suffix the naming gives and ".KPX"). The latter is
    // the set's, or a wrong file in its place; other programs' checksum files of other names are
    // never taken.
    static std::vector<std::string> FindBeside(const std::vector<std::string>& agPieces,
                                               const KPXDividoraData& agRecord);

    // The checksum file a split of agSource writes into agFolder: NAME.xxh128, NAME being the
    // pieces' name, or the source's name without its extension when that is empty.
    static std::string AddressOfSplit(const std::string& agFolder, const std::string& agName,
                                      const std::string& agSource);
};
