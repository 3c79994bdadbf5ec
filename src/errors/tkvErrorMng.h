#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tkvIError.h"

// The registry of the numbered errors of one operation of its owner. Texts are not stored:
// Description asks the owner's GetDescription handler, so each class keeps its own table.
class tkvErrorMng {
public:
    // The owner's GetDescription handler: fills ouDescription for agNumber. It must not
    // depend on the owner's lifetime (owners answer from static tables), because a registry
    // can outlive its owner through a Reference chain.
    using GetDescriptionHandler = std::function<void(int32_t agNumber, std::string& ouDescription)>;

    // The text every owner answers for a number it does not know.
    static constexpr const char* kUnknownNumberText = "該当するｴﾗｰ番号が存在しません。";

    explicit tkvErrorMng(GetDescriptionHandler agGetDescription = {});

    int32_t Count() const;
    // Throws std::out_of_range for a position outside 0 to Count() - 1.
    int32_t Number(int32_t agIndex) const;
    // The empty text when no handler is connected.
    std::string Description(int32_t agNumber) const;

    std::shared_ptr<tkvIError> Reference() const;
    void SetReference(std::shared_ptr<tkvIError> agReference);

    void Reset();
    // Throws std::overflow_error when Count() is already the largest 32-bit value.
    void Register(int32_t agNumber);

    // The text of agNumber from agText, the owner's table keyed by its Error enum: a switch over
    // the enum without a default, so that a number without a text does not compile (-Wswitch).
    // kUnknownNumberText for a number that is none of the enum's (agText answers nullptr).
    template <typename Error>
    static std::string TextOf(const char* (*agText)(Error), int32_t agNumber) {
        const char* text = agText(static_cast<Error>(agNumber));
        return text != nullptr ? text : kUnknownNumberText;
    }

private:
    std::vector<int32_t> numbers_;
    std::shared_ptr<tkvIError> reference_;
    GetDescriptionHandler getDescription_;
};
