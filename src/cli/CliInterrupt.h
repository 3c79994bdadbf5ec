#pragma once

#include <functional>
#include <memory>

class tkvCancelMng;

// While it lives, Ctrl+C (SIGINT) cancels the running operation: the signal only sets a flag,
// and the engine's next cancel poll (through the event pump) passes it to the cancel manager
// of the operation running then. A write past a file-size limit becomes a failed write
// instead of killing the tool.
class CliInterrupt {
public:
    using CancelMngSource = std::function<std::shared_ptr<tkvCancelMng>()>;

    explicit CliInterrupt(CancelMngSource agCancelMng);
    ~CliInterrupt();
    CliInterrupt(const CliInterrupt&) = delete;
    CliInterrupt& operator=(const CliInterrupt&) = delete;

    // True once Ctrl+C was pressed during this object's life.
    bool Interrupted() const;
};
