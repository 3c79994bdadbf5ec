#include <QLocale>
#include <QTest>
#include <string>

#include "tkvQtTypedNumber.h"
#include "tkvTypedNumber.h"

// Numbers typed into the window read as its user writes them: the locale's decimal and group
// separators, else the C locale's, with full-width digits, signs and separators as ASCII.
class tkvQtTypedNumberTest : public QObject {
    Q_OBJECT

private slots:
    void init() { tkvQtTypedNumber::Install(); }
    void cleanup() {
        tkvQtTypedNumber::Uninstall();
        QLocale::setDefault(QLocale::system());
    }

    void aTypedNumberReadsInTheLocalesFormsAndTheCForms_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("number");
        QTest::addColumn<double>("value");
        const auto row = [](const char* agLocale, const QString& agTyped, double agValue) {
            QTest::addRow("%s %s", agLocale, qPrintable(agTyped))
                << QString::fromLatin1(agLocale) << agTyped << true << agValue;
        };
        const auto refused = [](const char* agLocale, const QString& agTyped) {
            QTest::addRow("%s %s refused", agLocale, qPrintable(agTyped))
                << QString::fromLatin1(agLocale) << agTyped << false << 0.0;
        };
        for (const char* locale : {"C", "de_DE", "ja_JP"}) {
            row(locale, QStringLiteral("2.5"), 2.5);  // the C form, under every locale
            row(locale, QStringLiteral("２５０"), 250);
            row(locale, QStringLiteral("+3"), 3);
            row(locale, QStringLiteral("-1"), -1);
            row(locale, QStringLiteral(" 7 "), 7);
            row(locale, QStringLiteral("　７　"), 7);
            row(locale, QStringLiteral("1e3"), 1000);
            row(locale, QStringLiteral("－１"), -1);
            refused(locale, QStringLiteral("abc"));
            refused(locale, QStringLiteral(""));
            refused(locale, QStringLiteral("inf"));
            refused(locale, QStringLiteral("0x10"));
        }
        // Where the comma is the group separator, or the C locale's own.
        for (const char* locale : {"C", "ja_JP"}) {
            row(locale, QStringLiteral("1,000"), 1000);
            row(locale, QStringLiteral("１,０００"), 1000);
            row(locale, QStringLiteral("１，０００"), 1000);
            row(locale, QStringLiteral("1.000"), 1);
            row(locale, QStringLiteral("２．５"), 2.5);
            refused(locale, QStringLiteral("2,5"));
        }
        // Where the comma is the decimal separator: the locale's meaning comes first.
        row("de_DE", QStringLiteral("2,5"), 2.5);
        row("de_DE", QStringLiteral("２，５"), 2.5);
        row("de_DE", QStringLiteral("1,000"), 1);
        row("de_DE", QStringLiteral("１,０００"), 1);
        row("de_DE", QStringLiteral("1.000"), 1000);
        row("de_DE", QStringLiteral("1.000,5"), 1000.5);
        refused("de_DE", QStringLiteral("2,5.1"));
    }

    void aTypedNumberReadsInTheLocalesFormsAndTheCForms() {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(bool, number);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));
        double read = -99;
        QCOMPARE(tkvTypedNumber::Parse(typed.toStdString(), read), number);
        if (number) {
            QCOMPARE(read, value);
        }
    }

    void afterUninstallThePlainFormHolds() {
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        tkvQtTypedNumber::Uninstall();
        double read = 0;
        QVERIFY(!tkvTypedNumber::Parse("2,5", read));
        QVERIFY(!tkvTypedNumber::Parse("２５０", read));
    }
};

QTEST_GUILESS_MAIN(tkvQtTypedNumberTest)
#include "tkvQtTypedNumberTest.moc"
