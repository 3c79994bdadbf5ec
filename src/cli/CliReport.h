#pragma once

#include <memory>
#include <ostream>

class KPXSepaCtrl;
class tkvIError;

// How the tool tells why an operation failed: every cause of the error chain, root cause first,
// one line each, then the piece at which the engine stopped.
class CliReport {
public:
    static void PrintCauses(std::ostream& agErr, const std::shared_ptr<tkvIError>& agFailed);
    static void PrintFailedPiece(std::ostream& agErr, const KPXSepaCtrl& agSepaCtrl);
};
