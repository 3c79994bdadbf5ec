#include "KPXUIApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "DividoraVersion.h"

namespace KPXUIApplication {

bool HasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

void Prepare() {
    // The name, not a display name: Qt adds a display name to every caption that does not end
    // with it ("上書きの問い合わせ — Dividora"), and the captions are the windows' own. A
    // message box without a title of its own shows the name.
    QCoreApplication::setApplicationName(QString::fromUtf8(DividoraVersion::kProduct));
    QGuiApplication::setDesktopFileName(QStringLiteral("dividora"));

    // Without the translation (not installed) Qt's texts stay English; nothing else changes.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace KPXUIApplication
