#pragma once

#include <functional>
#include <memory>

class tkvCancelMng;

// While it lives, SIGINT (Ctrl+C), SIGTERM (kill) and SIGHUP (a closed terminal) cancel the
// running operation, so its clean-up runs instead of the tool dying with a half-written file.
// The signal only records itself; the engine's next cancel poll (through the event pump)
// passes it to the cancel manager of the operation running then. A write past a file-size
// limit becomes a failed write instead of killing the tool.
class CliInterrupt {
public:
    using CancelMngSource = std::function<std::shared_ptr<tkvCancelMng>()>;

    explicit CliInterrupt(CancelMngSource agCancelMng);
    ~CliInterrupt();
    CliInterrupt(const CliInterrupt&) = delete;
    CliInterrupt& operator=(const CliInterrupt&) = delete;

    // True once one of the signals arrived during this object's life.
    bool Interrupted() const;
    // The first signal that arrived; 0 for none.
    int Signal() const;
};
