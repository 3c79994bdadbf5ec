#include "tkvErrorAnalysis.h"

#include <algorithm>
#include <ctime>
#include <stdexcept>

#include "tkvErrorMng.h"

const tkvErrorAnalysis::Record& tkvErrorAnalysis::RecordAt(int32_t agClassIndex) const {
    if (agClassIndex < 0 || agClassIndex >= CountOfClass()) {
        throw std::out_of_range("tkvErrorAnalysis: no class at position " +
                                std::to_string(agClassIndex));
    }
    return records_[static_cast<size_t>(agClassIndex)];
}

const tkvErrorAnalysis::Entry& tkvErrorAnalysis::EntryAt(int32_t agClassIndex,
                                                         int32_t agFunctionIndex) const {
    const Record& record = RecordAt(agClassIndex);
    if (agFunctionIndex < 0 || agFunctionIndex >= static_cast<int32_t>(record.Entries.size())) {
        throw std::out_of_range("tkvErrorAnalysis: no function at position " +
                                std::to_string(agFunctionIndex));
    }
    return record.Entries[static_cast<size_t>(agFunctionIndex)];
}

int32_t tkvErrorAnalysis::CountOfFunction(int32_t agClassIndex) const {
    return static_cast<int32_t>(RecordAt(agClassIndex).Entries.size());
}

int32_t tkvErrorAnalysis::Number(int32_t agClassIndex, int32_t agFunctionIndex) const {
    return EntryAt(agClassIndex, agFunctionIndex).Number;
}

const std::string& tkvErrorAnalysis::Description(int32_t agClassIndex,
                                                 int32_t agFunctionIndex) const {
    return EntryAt(agClassIndex, agFunctionIndex).Description;
}

std::shared_ptr<tkvIError> tkvErrorAnalysis::Object(int32_t agClassIndex) const {
    return RecordAt(agClassIndex).Object;
}

bool tkvErrorAnalysis::IsThereClass(const std::string& agClassName, int32_t& ouClassIndex) const {
    for (int32_t i = 0; i < CountOfClass(); ++i) {
        if (records_[static_cast<size_t>(i)].Object->ClassName() == agClassName) {
            ouClassIndex = i;
            return true;
        }
    }
    return false;
}

bool tkvErrorAnalysis::Analyze(std::shared_ptr<tkvIError> agErrObj) {
    circulatingReference_ = false;
    records_.clear();
    entered_.clear();
    modeUsed_ = sortMode_;
    if (modeUsed_ != kInnermostFirst && modeUsed_ != kOutermostFirst) {
        return true;
    }
    return Walk(agErrObj);
}

bool tkvErrorAnalysis::Walk(const std::shared_ptr<tkvIError>& agObject) {
    if (!agObject) {
        return true;
    }
    // An object met again closes a cycle (A -> A, or A -> B -> A): the walk ends there.
    if (std::find(entered_.begin(), entered_.end(), agObject.get()) != entered_.end()) {
        circulatingReference_ = true;
        return false;
    }
    entered_.push_back(agObject.get());
    const auto registry = agObject->ErrorMng();
    const auto reference = registry ? registry->Reference() : nullptr;
    if (modeUsed_ == kInnermostFirst) {
        return Walk(reference) && RecordObject(agObject) && !IsCanceled();
    }
    return RecordObject(agObject) && !IsCanceled() && Walk(reference);
}

bool tkvErrorAnalysis::RecordObject(const std::shared_ptr<tkvIError>& agObject) {
    records_.push_back(Record{{}, agObject});
    const auto registry = agObject->ErrorMng();
    const int32_t count = registry ? registry->Count() : 0;
    std::vector<Entry>& entries = records_.back().Entries;
    entries.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t number = registry->Number(i);
        const int32_t at = modeUsed_ == kInnermostFirst ? i : count - 1 - i;
        entries[static_cast<size_t>(at)] = Entry{number, registry->Description(number)};
        if (IsCanceled()) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> tkvErrorAnalysis::Descriptions() const {
    std::vector<std::string> texts;
    for (const Record& record : records_) {
        for (const Entry& entry : record.Entries) {
            if (entry.Number != 0) {
                texts.push_back(entry.Description);
            }
        }
    }
    return texts;
}

bool tkvErrorAnalysis::MakeStringForDeveloper(std::string& ouText) const {
    const std::string nl = "\r\n";
    const std::string i1(3, ' ');
    const std::string i2(6, ' ');
    const std::string i3(9, ' ');
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y/%m/%d", &local);

    std::string text = "Error Data for Developer on " + std::string(date) + nl + nl;
    text += "SortMode:" + nl + i1 + std::to_string(modeUsed_) + nl + nl;
    text += "Count:" + nl + i1 + std::to_string(CountOfClass()) + nl + nl;
    for (int32_t c = 0; c < CountOfClass(); ++c) {
        const Record& record = records_[static_cast<size_t>(c)];
        text += "Class Data " + std::to_string(c) + nl + nl;
        text += i1 + "Object:" + nl + i2 + record.Object->ClassName() + nl + nl;
        text += i1 + "Count:" + nl + i2 + std::to_string(record.Entries.size()) + nl + nl;
        for (size_t f = 0; f < record.Entries.size(); ++f) {
            text += i1 + "Function Data " + std::to_string(f) + nl + nl;
            text += i2 + "Number:" + nl + i3 + std::to_string(record.Entries[f].Number) + nl + nl;
            text += i2 + "Description:" + nl + i3 + record.Entries[f].Description + nl + nl;
        }
    }
    ouText = std::move(text);
    return true;
}
