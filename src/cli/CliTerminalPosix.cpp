#include <unistd.h>

#include "CliTerminal.h"

namespace CliTerminal {

bool ErrorStreamIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

bool OutputStreamIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

}  // namespace CliTerminal
