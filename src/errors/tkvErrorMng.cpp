#include "tkvErrorMng.h"

#include <limits>
#include <stdexcept>

tkvErrorMng::tkvErrorMng(GetDescriptionHandler agGetDescription)
    : getDescription_(std::move(agGetDescription)) {}

int32_t tkvErrorMng::Count() const { return static_cast<int32_t>(numbers_.size()); }

int32_t tkvErrorMng::Number(int32_t agIndex) const {
    if (agIndex < 0 || agIndex >= Count()) {
        throw std::out_of_range("tkvErrorMng::Number: no error at position " +
                                std::to_string(agIndex));
    }
    return numbers_[static_cast<size_t>(agIndex)];
}

std::string tkvErrorMng::Description(int32_t agNumber) const {
    std::string description;
    if (getDescription_) {
        getDescription_(agNumber, description);
    }
    return description;
}

std::shared_ptr<tkvIError> tkvErrorMng::Reference() const { return reference_; }

void tkvErrorMng::SetReference(std::shared_ptr<tkvIError> agReference) {
    reference_ = std::move(agReference);
}

void tkvErrorMng::Reset() {
    numbers_.clear();
    reference_.reset();
}

void tkvErrorMng::Register(int32_t agNumber) {
    if (Count() == std::numeric_limits<int32_t>::max()) {
        throw std::overflow_error("tkvErrorMng::Register: the registry is full");
    }
    numbers_.push_back(agNumber);
}
