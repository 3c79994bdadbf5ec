#include "KPXSepaData.h"

#include <chrono>
#include <random>
#include <stdexcept>

#include "tkvCancelMng.h"
#include "tkvFileString.h"

namespace {

// A split identifier from four uniform draws, byte k = floor(r_k * 256), byte 0 least
// significant. The generator is seeded afresh from a high-resolution clock mixed with the
// system's entropy, so two splits in the same second still differ.
int32_t DrawSplitIdentifier() {
    std::random_device entropy;
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32), entropy(),
                       entropy()};
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    uint32_t identifier = 0;
    for (int k = 0; k < 4; ++k) {
        const auto byte = static_cast<uint32_t>(uniform(generator) * 256.0) & 0xFFu;
        identifier |= byte << (8 * k);
    }
    return static_cast<int32_t>(identifier);
}

}  // namespace

void KPXSepaData::lcErrorMng_GetDescription(int32_t, std::string& ouDescription) {
    ouDescription = tkvErrorMng::kUnknownNumberText;
}

size_t KPXSepaData::CheckedIndex(int32_t agIndex) const {
    if (agIndex < 0 || agIndex >= dividoraCount_) {
        throw std::out_of_range("KPXSepaData: no piece record at position " +
                                std::to_string(agIndex));
    }
    return static_cast<size_t>(agIndex);
}

std::shared_ptr<KPXDividoraData> KPXSepaData::DividoraData(int32_t agIndex) const {
    return records_[CheckedIndex(agIndex)];
}

void KPXSepaData::SetDividoraData(int32_t agIndex, std::shared_ptr<KPXDividoraData> agRecord) {
    records_[CheckedIndex(agIndex)] = std::move(agRecord);
}

bool KPXSepaData::Initialize(int32_t agCount) {
    lcErrorMng = std::make_shared<tkvErrorMng>(&KPXSepaData::lcErrorMng_GetDescription);
    records_.clear();
    if (agCount <= 0) {
        dividoraCount_ = 0;
        return true;
    }
    dividoraCount_ = agCount;
    records_.resize(static_cast<size_t>(agCount));
    for (auto& record : records_) {
        record = std::make_shared<KPXDividoraData>();
        if (tkvCancelMng::IsCanceled(cancelMng_)) {
            return false;
        }
    }
    return true;
}

bool KPXSepaData::DecideSpecAndTurnID() {
    const int32_t specID = DrawSplitIdentifier();
    const std::string fileName = tkvFileString::GetFileNamePart(fileAddress_);
    for (int32_t i = 0; i < dividoraCount_; ++i) {
        auto& slot = records_[static_cast<size_t>(i)];
        if (!slot) {
            slot = std::make_shared<KPXDividoraData>();  // a slot a cancelled Initialize left
        }
        KPXDividoraData& record = *slot;
        record.SetSepaDate(sepaDate_);
        record.SetSpecID(specID);
        record.SetTurnID(i);
        record.SetCount(dividoraCount_);
        record.SetFileName(fileName);
        if (tkvCancelMng::IsCanceled(cancelMng_)) {
            return false;
        }
    }
    return true;
}
