#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "tkvErrorMng.h"
#include "tkvIError.h"

class KPXDividoraData;
class KPXSepaData;
class tkvCancelMng;

// Gives every piece of a split job its path: folder, base name, a suffix that tells the pieces
// apart, and ".KPX". It registers no errors: its ErrorMng is always none.
class KPXDecideFileName : public tkvIError {
public:
    static constexpr int32_t kRandom = 1;
    static constexpr int32_t kNumber = 2;
    static constexpr int32_t kPaddedNumber = 3;
    // Random suffixes are four hexadecimal digits below 0x8000.
    static constexpr int32_t kRandomSuffixCount = 32768;
    // What ends every piece's name.
    static constexpr const char* kExtension = ".KPX";

    // The suffix of random draw agValue: four upper-case hexadecimal digits.
    static std::string RandomSuffix(int32_t agValue);
    // Whether agSuffix is one a random draw gives.
    static bool IsRandomSuffix(std::string_view agSuffix);
    // Whether agPieceName is a name this class gives piece agIndex (from 0) of agCount of base
    // name agBaseName: the base name, a random suffix or the piece's (padded) number, and the
    // extension.
    static bool IsPieceNameOf(std::string_view agPieceName, std::string_view agBaseName,
                              int32_t agIndex, int32_t agCount);

    void SetCancelMng(std::shared_ptr<tkvCancelMng> agCancelMng) {
        cancelMng_ = std::move(agCancelMng);
    }
    std::shared_ptr<tkvErrorMng> ErrorMng() const override { return nullptr; }
    std::string ClassName() const override { return "KPXDecideFileName"; }

    int32_t HowToName() const { return howToName_; }
    void SetHowToName(int32_t agValue) { howToName_ = agValue; }
    // The folder of the pieces.
    const std::string& BaseFileAddress() const { return baseFileAddress_; }
    void SetBaseFileAddress(const std::string& agValue) { baseFileAddress_ = agValue; }
    // The pieces' name without suffix and extension.
    const std::string& BaseFileName() const { return baseFileName_; }
    void SetBaseFileName(const std::string& agValue) { baseFileName_ = agValue; }
    std::shared_ptr<KPXSepaData> SepaData() const { return sepaData_; }
    void SetSepaData(std::shared_ptr<KPXSepaData> agValue) { sepaData_ = std::move(agValue); }

    // False for an unknown HowToName, on a cancel, and in random mode for more pieces than
    // there are suffixes. Throws std::invalid_argument without a job, std::logic_error for a
    // job whose records were not all made.
    bool Decide();

private:
    bool NameRandomly();
    bool NameByNumber(int32_t agWidth);
    // Piece agIndex's number, padded with zeros to agWidth digits.
    static std::string NumberSuffix(int32_t agIndex, int32_t agWidth);
    // The width of the padded numbers of agCount pieces.
    static int32_t PaddedWidth(int32_t agCount);
    std::string PiecePath(const std::string& agSuffix) const;
    // Throws std::logic_error for a slot without a record (a cancelled Initialize left it).
    KPXDividoraData& Record(int32_t agIndex) const;

    std::shared_ptr<tkvCancelMng> cancelMng_;
    int32_t howToName_ = 0;
    std::string baseFileAddress_;
    std::string baseFileName_;
    std::shared_ptr<KPXSepaData> sepaData_;
};
