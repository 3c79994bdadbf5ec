#pragma once

#include <cstdint>
#include <memory>
#include <string>

class KPXSepaData;
class tkvCancelMng;
class tkvPageDocument;

// The page body of a split estimate: whether the split can be done, the source, the pieces the
// decisions made with their names and sizes, and otherwise why not. Nothing is written to disk.
class KPXSeparateEstimate {
public:
    // What the estimate found: the source as typed and whether it is a file, its length, the
    // outcomes of the size and name decisions, the job they filled and the header size.
    struct Findings {
        std::string Source;
        bool SourceExists = false;
        int64_t SourceSize = 0;
        bool SizeDecided = false;
        bool NamesDecided = false;
        std::shared_ptr<KPXSepaData> Job;
        int32_t HeaderSize = 0;
    };

    KPXSeparateEstimate(Findings agFindings, std::shared_ptr<tkvCancelMng> agCancelMng)
        : findings_(std::move(agFindings)), cancelMng_(std::move(agCancelMng)) {}

    // The split can be done.
    bool Verdict() const;

    // Appends the verdict and the details to agBody; false on a cancel while the pieces are
    // listed.
    bool Write(tkvPageDocument& agBody) const;

private:
    void WriteCauses(tkvPageDocument& agBody, int32_t agCauseNumber) const;

    Findings findings_;
    std::shared_ptr<tkvCancelMng> cancelMng_;
};
