#include "tkvQtTypedNumber.h"

#include <QLocale>
#include <QString>

#include "tkvQtString.h"
#include "tkvTypedNumber.h"

namespace tkvQtTypedNumber {

namespace {

// The full-width forms (U+FF01 to U+FF5E) lie at a fixed distance from ASCII.
constexpr char16_t kFullWidthFirst = 0xFF01;
constexpr char16_t kFullWidthLast = 0xFF5E;
constexpr char16_t kFullWidthOffset = 0xFEE0;

QString HalfWidth(const QString& agText) {
    QString text = agText;
    for (QChar& character : text) {
        const char16_t code = character.unicode();
        if (code >= kFullWidthFirst && code <= kFullWidthLast) {
            character = QChar(static_cast<char16_t>(code - kFullWidthOffset));
        }
    }
    return text;
}

bool Read(const std::string& agText, double& ouValue) {
    const QString text = HalfWidth(tkvQtString::ToQt(agText));
    // The user's own forms first: under a comma-decimal locale "2,5" is two and a half and
    // "1,000" is one.
    for (const QLocale& locale : {QLocale(), QLocale::c()}) {
        bool read = false;
        const double value = locale.toDouble(text, &read);
        if (read) {
            ouValue = value;
            return true;
        }
    }
    return false;
}

}  // namespace

void Install() { tkvTypedNumber::SetPlatformReader(&Read); }

void Uninstall() { tkvTypedNumber::SetPlatformReader({}); }

}  // namespace tkvQtTypedNumber
