#pragma once

#include <functional>
#include <memory>

class tkvCancelMng;

// While it lives, SIGINT (Ctrl+C), SIGTERM (kill) and SIGHUP (a closed terminal) are only
// recorded, so the tool never dies half-way: a command owns one for its whole life. A recorded
// signal cancels the running operation at the engine's next cancel poll (through the event
// pump), also one that arrived before the operation began; once the operation's files have
// their final names there is no poll left, and the command ends as done. A write past a
// file-size limit becomes a failed write instead of killing the tool.
class CliInterrupt {
public:
    using CancelMngSource = std::function<std::shared_ptr<tkvCancelMng>()>;

    // agRestore false: the handlers stay when this object goes, for a process that ends right
    // after it, so that a late signal cannot change how it ends.
    explicit CliInterrupt(bool agRestore = true);
    ~CliInterrupt();
    CliInterrupt(const CliInterrupt&) = delete;
    CliInterrupt& operator=(const CliInterrupt&) = delete;

    // A recorded signal cancels the operation agSource names, from now until it is called with
    // an empty source.
    static void CancelThrough(CancelMngSource agSource);

    // True once one of the signals arrived during the life of the current object.
    static bool Interrupted();
    // The first signal that arrived; 0 for none.
    static int Signal();

private:
    bool restore_;
};
