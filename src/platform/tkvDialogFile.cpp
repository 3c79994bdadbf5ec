#include "tkvDialogFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <vector>

#include "tkvModal.h"
#include "tkvQtString.h"

namespace {

// OFN_OVERWRITEPROMPT: the save dialog asks before an existing file is chosen.
constexpr int32_t kOverwritePrompt = 2;

// "desc\0pattern\0desc\0pattern\0" as Qt's name filters "desc (pattern ...)". Patterns are
// separated by ";" there and by spaces here, and "*.*" becomes "*" so that it also matches a
// name without a dot, as it does on Windows.
QStringList NameFilters(const std::string& agFilter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < agFilter.size()) {
        size_t end = agFilter.find('\0', start);
        if (end == std::string::npos) {
            end = agFilter.size();
        }
        parts.push_back(agFilter.substr(start, end - start));
        start = end + 1;
    }
    QStringList filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern :
             tkvQtString::ToQt(parts[i + 1]).split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
        }
        if (!patterns.isEmpty()) {
            // Qt keeps its filters simplified; the selected one is found again by its text.
            filters << (tkvQtString::ToQt(parts[i]) + QStringLiteral(" (") + patterns.join(u' ') +
                        u')')
                           .simplified();
        }
    }
    return filters;
}

// The position of the dialog's selected filter in agFilters. With the details hidden, Qt may
// answer the description alone.
int32_t SelectedIndex(const QStringList& agFilters, const QString& agSelected) {
    for (qsizetype i = 0; i < agFilters.size(); ++i) {
        const QString& filter = agFilters[i];
        if (filter == agSelected || filter.left(filter.lastIndexOf(u'(')).trimmed() == agSelected) {
            return static_cast<int32_t>(i);
        }
    }
    return 0;
}

}  // namespace

bool tkvDialogFile::ShowDialogOfOpen() { return Show(true); }

bool tkvDialogFile::ShowDialogOfSave() { return Show(false); }

bool tkvDialogFile::Show(bool agOpen) {
    QFileDialog dialog(windowHandle_);
    if (agOpen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags_ & kOverwritePrompt) == 0);
    }
    if (!title_.empty()) {
        dialog.setWindowTitle(tkvQtString::ToQt(title_));
    }
    // The descriptions already name their patterns ("すべてのﾌｧｲﾙ(*.*)"); Qt's own would
    // repeat them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = NameFilters(filter_);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (filterIndex_ >= 0 && filterIndex_ < filters.size()) {
            dialog.selectNameFilter(filters[filterIndex_]);
        }
    }
    if (!defaultExtension_.empty()) {
        QString suffix = tkvQtString::ToQt(defaultExtension_);
        while (suffix.startsWith(u'.')) {
            suffix.remove(0, 1);
        }
        dialog.setDefaultSuffix(suffix);
    }
    if (!fileAddressOfStart_.empty()) {
        dialog.setDirectory(tkvQtString::ToQt(fileAddressOfStart_));
    }
    if (!defaultFileName_.empty()) {
        dialog.selectFile(tkvQtString::ToQt(defaultFileName_));
    }

    if (tkvModal::Exec(dialog) != QDialog::Accepted) {
        return false;
    }
    const QStringList selected = dialog.selectedFiles();
    if (selected.isEmpty()) {
        return false;
    }
    const QFileInfo file(selected.front());
    // The open dialog answers an existing file only, the save dialog never a folder.
    if (agOpen ? !file.isFile() : file.isDir() || file.fileName().isEmpty()) {
        return false;
    }
    selectedAddress_ = tkvQtString::FromQt(QDir::toNativeSeparators(file.absoluteFilePath()));
    selectedFileName_ = tkvQtString::FromQt(file.fileName());
    selectedFilterIndex_ = SelectedIndex(filters, dialog.selectedNameFilter());
    return true;
}
