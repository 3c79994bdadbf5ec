#include "tkvQtEventPump.h"

#include <QCoreApplication>

#include "tkvEventPump.h"

namespace tkvQtEventPump {

void Install() {
    tkvEventPump::SetProcessEventsHook([] { QCoreApplication::processEvents(); });
}

void Uninstall() { tkvEventPump::SetProcessEventsHook({}); }

}  // namespace tkvQtEventPump
