#include "TestFolder.h"

#include <QDir>
#include <QFile>

QString TestFolder::File(const QString& agName) const {
    const QString path = Path(agName);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("piece");
    }
    return path;
}

QString TestFolder::Folder(const QString& agName) const {
    const QString path = Path(agName);
    QDir().mkpath(path);
    return path;
}
