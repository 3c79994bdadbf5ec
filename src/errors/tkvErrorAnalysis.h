#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tkvIError.h"

// Walks a chain of error registries (each object's registry refers to the component whose
// failure caused its own) and copies every object's numbers and texts into a table: one
// record ("class") per object, one entry ("function") per error.
class tkvErrorAnalysis {
public:
    static constexpr int32_t kInnermostFirst = 1;
    static constexpr int32_t kOutermostFirst = 2;

    // The cancel poll, run after each recorded object and each copied error; none means never
    // cancelled. (A function keeps this library free of the engine's cancel flag.)
    void SetCancelMng(std::function<bool()> agIsCanceled) { isCanceled_ = std::move(agIsCanceled); }

    int32_t CountOfClass() const { return static_cast<int32_t>(records_.size()); }
    // Each of these throws std::out_of_range for an index outside the table.
    int32_t CountOfFunction(int32_t agClassIndex) const;
    int32_t Number(int32_t agClassIndex, int32_t agFunctionIndex) const;
    const std::string& Description(int32_t agClassIndex, int32_t agFunctionIndex) const;
    std::shared_ptr<tkvIError> Object(int32_t agClassIndex) const;

    // kInnermostFirst (each object's errors oldest first) or kOutermostFirst (newest first).
    int32_t SortMode() const { return sortMode_; }
    void SetSortMode(int32_t agSortMode) { sortMode_ = agSortMode; }

    // Set when the walk came back to an object it had already entered.
    bool CirculatingReference() const { return circulatingReference_; }

    // The first record whose object's class is agClassName; ouClassIndex only set when found.
    bool IsThereClass(const std::string& agClassName, int32_t& ouClassIndex) const;

    // False on a cancel or a circular chain; the records made so far stay readable.
    bool Analyze(std::shared_ptr<tkvIError> agErrObj);

    // The texts of every error in the table, in its order: the causes as a user reads them.
    std::vector<std::string> Descriptions() const;

    // The whole table as a plain-text report for developers.
    bool MakeStringForDeveloper(std::string& ouText) const;

private:
    struct Entry {
        int32_t Number = 0;
        std::string Description;
    };
    struct Record {
        std::vector<Entry> Entries;
        std::shared_ptr<tkvIError> Object;
    };

    bool Walk(const std::shared_ptr<tkvIError>& agObject);
    bool RecordObject(const std::shared_ptr<tkvIError>& agObject);
    bool IsCanceled() const { return isCanceled_ && isCanceled_(); }
    const Record& RecordAt(int32_t agClassIndex) const;
    const Entry& EntryAt(int32_t agClassIndex, int32_t agFunctionIndex) const;

    std::vector<Record> records_;
    std::vector<const tkvIError*> entered_;
    int32_t sortMode_ = kInnermostFirst;
    int32_t modeUsed_ = kInnermostFirst;
    bool circulatingReference_ = false;
    std::function<bool()> isCanceled_;
};
