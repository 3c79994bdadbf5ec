#include "KPXDecideFileName.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <vector>

#include "KPXSepaData.h"
#include "tkvCancelMng.h"
#include "tkvFileString.h"

bool KPXDecideFileName::Decide() {
    if (!sepaData_) {
        throw std::invalid_argument("KPXDecideFileName: no job to name");
    }
    switch (howToName_) {
        case kRandom:
            return NameRandomly();
        case kNumber:
            return NameByNumber(0);
        case kPaddedNumber:
            return NameByNumber(PaddedWidth(sepaData_->DividoraCount()));
        default:
            return false;
    }
}

KPXDividoraData& KPXDecideFileName::Record(int32_t agIndex) const {
    const auto record = sepaData_->DividoraData(agIndex);
    if (!record) {
        throw std::logic_error("KPXDecideFileName: the job has no record at position " +
                               std::to_string(agIndex));
    }
    return *record;
}

std::string KPXDecideFileName::RandomSuffix(int32_t agValue) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "%04X", static_cast<unsigned>(agValue));
    return suffix;
}

bool KPXDecideFileName::IsRandomSuffix(std::string_view agSuffix) {
    unsigned value = 0;
    for (const char c : agSuffix) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && (c < 'A' || c > 'F')) {
            return false;
        }
        value = value * 16 + static_cast<unsigned>(digit ? c - '0' : c - 'A' + 10);
    }
    return agSuffix.size() == 4 && value < static_cast<unsigned>(kRandomSuffixCount);
}

bool KPXDecideFileName::IsPieceNameOf(std::string_view agPieceName, std::string_view agBaseName,
                                      int32_t agIndex, int32_t agCount) {
    const std::string_view extension(kExtension);
    if (agPieceName.size() <= agBaseName.size() + extension.size() ||
        !agPieceName.starts_with(agBaseName) || !agPieceName.ends_with(extension)) {
        return false;
    }
    const std::string_view suffix = agPieceName.substr(
        agBaseName.size(), agPieceName.size() - agBaseName.size() - extension.size());
    return IsRandomSuffix(suffix) || suffix == NumberSuffix(agIndex, 0) ||
           suffix == NumberSuffix(agIndex, PaddedWidth(agCount));
}

std::string KPXDecideFileName::NumberSuffix(int32_t agIndex, int32_t agWidth) {
    std::string suffix = std::to_string(agIndex + 1);
    if (static_cast<int32_t>(suffix.size()) < agWidth) {
        suffix.insert(0, static_cast<size_t>(agWidth) - suffix.size(), '0');
    }
    return suffix;
}

int32_t KPXDecideFileName::PaddedWidth(int32_t agCount) {
    return static_cast<int32_t>(std::to_string(agCount).size());
}

std::string KPXDecideFileName::PiecePath(const std::string& agSuffix) const {
    return tkvFileString::JoinFolderAndName(baseFileAddress_, baseFileName_) + agSuffix +
           kExtension;
}

bool KPXDecideFileName::NameRandomly() {
    const int32_t count = sepaData_->DividoraCount();
    if (count > kRandomSuffixCount) {
        return false;  // the draw could never find enough distinct suffixes
    }
    std::mt19937 generator(static_cast<uint32_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<bool> drawn(kRandomSuffixCount, false);
    for (int32_t i = 0; i < count; ++i) {
        int32_t value = 0;
        do {
            value = static_cast<int32_t>(uniform(generator) * kRandomSuffixCount);
            if (drawn[static_cast<size_t>(value)] && tkvCancelMng::IsCanceled(cancelMng_)) {
                return false;
            }
        } while (drawn[static_cast<size_t>(value)]);
        drawn[static_cast<size_t>(value)] = true;
        Record(i).SetFileAddress(PiecePath(RandomSuffix(value)));
        if (tkvCancelMng::IsCanceled(cancelMng_)) {
            return false;
        }
    }
    return true;
}

bool KPXDecideFileName::NameByNumber(int32_t agWidth) {
    const int32_t count = sepaData_->DividoraCount();
    for (int32_t i = 0; i < count; ++i) {
        Record(i).SetFileAddress(PiecePath(NumberSuffix(i, agWidth)));
        if (tkvCancelMng::IsCanceled(cancelMng_)) {
            return false;
        }
    }
    return true;
}
