#pragma once

#include <string>

class KPXSepaData;
class KPXSepaResult;
class tkvPageDocument;

// The page bodies of a completed split and a completed restore: what was done, where, and
// under which split identifier.
namespace KPXExecutionLog {

// agJob is the split's job; agBaseFileAddress the folder the pieces went to; agResult tells
// the checksum file written.
void WriteSeparateLog(tkvPageDocument& agBody, const KPXSepaData& agJob,
                      const std::string& agBaseFileAddress, const KPXSepaResult& agResult);
// agJob is the restore's job, its records in join order; agResult tells whether the data was
// checked against a checksum file; agToStream: it went to the standard output.
void WriteRestoreLog(tkvPageDocument& agBody, const KPXSepaData& agJob,
                     const KPXSepaResult& agResult, bool agToStream);

}  // namespace KPXExecutionLog
