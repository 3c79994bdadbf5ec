#pragma once

#include <memory>

class tkvCancelMng;

// While it lives, Ctrl+C (SIGINT) cancels the running operation: the signal only sets a flag,
// and the engine's next cancel poll (through the event pump) passes it to the cancel manager.
// A full disk under a file-size limit becomes a failed write instead of killing the tool.
class CliInterrupt {
public:
    explicit CliInterrupt(std::shared_ptr<tkvCancelMng> agCancelMng);
    ~CliInterrupt();
    CliInterrupt(const CliInterrupt&) = delete;
    CliInterrupt& operator=(const CliInterrupt&) = delete;

    // True once Ctrl+C was pressed during this object's life.
    bool Interrupted() const;

    // As if Ctrl+C had been pressed (tests).
    static void Raise();
};
