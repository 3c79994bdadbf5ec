#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary folder with real files and folders in it, removed with the object.
class TestFolder {
public:
    bool IsValid() const { return dir_.isValid(); }
    // The full path of agName in the folder; nothing is created.
    QString Path(const QString& agName) const { return dir_.filePath(agName); }
    // Creates the file agName with a few bytes; answers its full path.
    QString File(const QString& agName) const;
    // Creates the folder agName; answers its full path.
    QString Folder(const QString& agName) const;
    QString Root() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
