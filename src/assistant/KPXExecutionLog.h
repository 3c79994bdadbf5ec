#pragma once

#include <string>

class KPXSepaData;
class tkvPageDocument;

// The page bodies of a completed split and a completed restore: what was done, where, and
// under which split identifier.
namespace KPXExecutionLog {

// agJob is the split's job; agBaseFileAddress the folder the pieces went to.
void WriteSeparateLog(tkvPageDocument& agBody, const KPXSepaData& agJob,
                      const std::string& agBaseFileAddress);
// agJob is the restore's job, its records in join order.
void WriteRestoreLog(tkvPageDocument& agBody, const KPXSepaData& agJob);

}  // namespace KPXExecutionLog
