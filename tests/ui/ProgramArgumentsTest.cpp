#include <grp.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTest>

#include "DividoraVersion.h"
#include "KPXUIProgramArguments.h"
#include "TestFolder.h"

using Kind = KPXUIProgramArguments::Kind;
Q_DECLARE_METATYPE(Kind)

// The program's command line: what it passes on, and what it answers without a display.
class ProgramArgumentsTest : public QObject {
    Q_OBJECT

private:
    TestFolder folder_;

    // Runs agProgram as a user without a display does, with its settings under the folder; as
    // "nobody" when agAsOtherUser and the test runs as root, whom no permission stops.
    QStringList Run(const QString& agProgram, const QStringList& agArguments,
                    bool agAsOtherUser = false) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(name));
        }
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder_.Path("config"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier([agAsOtherUser] {
            constexpr gid_t kNobody = 65534;
            if (agAsOtherUser && ::geteuid() == 0 &&
                (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
                 ::setuid(kNobody) != 0)) {
                ::_exit(127);
            }
        });
        process.start(agProgram, agArguments);
        process.waitForFinished(30000);
        return {process.exitStatus() == QProcess::NormalExit ? QString::number(process.exitCode())
                                                             : QStringLiteral("crashed"),
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void theWordsAfterTheOptionsArePassedOn_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QStringList>("passed");  // Arguments(), or Refused() when refused
        QTest::newRow("pieces") << QStringList{"/Uninstall", "/uninstall", "a.KPX"} << Kind::kStart
                                << QStringList{"/Uninstall", "/uninstall", "a.KPX"};
        QTest::newRow("after --") << QStringList{"--", "-a.KPX", "--help"} << Kind::kStart
                                  << QStringList{"-a.KPX", "--help"};
        QTest::newRow("help") << QStringList{"a.KPX", "--help", "--version"} << Kind::kHelp
                              << QStringList{"a.KPX"};
        QTest::newRow("refused") << QStringList{"--help", "--bogus", "-x"} << Kind::kRefused
                                 << QStringList{"--bogus"};
        QTest::newRow("Qt's option")
            << QStringList{"-platform", "xcb"} << Kind::kRefused << QStringList{"-platform"};
    }
    void theWordsAfterTheOptionsArePassedOn() {
        QFETCH(QStringList, words);
        QFETCH(Kind, kind);
        QFETCH(QStringList, passed);
        std::vector<std::string> given;
        for (const QString& word : words) {
            given.push_back(word.toStdString());
        }
        const KPXUIProgramArguments arguments("dividora", given);
        QCOMPARE(arguments.Request(), kind);
        QStringList got;
        for (const std::string& argument : arguments.Arguments()) {
            got << QString::fromStdString(argument);
        }
        QCOMPARE(
            kind == Kind::kRefused ? QStringList{QString::fromStdString(arguments.Refused())} : got,
            passed);
    }

    // Status, the lines stdout holds (nothing when none) and how stderr begins.
    void withoutADisplayTheProgramAnswersOnTheTerminal_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("outcome");
        QTest::newRow("help") << QStringList{"--help"}
                              << QStringList{"0",
                                             "  dividora [PIECE...]   open the window, with the "
                                             "pieces listed to restore\n"
                                             "  dividora /Uninstall   remove the settings file "
                                             "KPXUtil.dat, open no window",
                                             ""};
        QTest::newRow("version") << QStringList{"--version"}
                                 << QStringList{"0",
                                                "Dividora 2.0.134\n" +
                                                    QString::fromUtf8(DividoraVersion::kCopyright),
                                                ""};
        QTest::newRow("refused") << QStringList{"--bogus"}
                                 << QStringList{"2", "", "dividora: unknown option '--bogus'\n"};
        QTest::newRow("a piece") << QStringList{"/uninstall"}
                                 << QStringList{"1", "", "dividora: no display to open the window"};
    }
    void withoutADisplayTheProgramAnswersOnTheTerminal() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, outcome);
        const QStringList got = Run(QStringLiteral(DIVIDORA_PROGRAM), arguments);
        QCOMPARE(got[0], outcome[0]);
        QCOMPARE(got[1].isEmpty(), outcome[1].isEmpty());
        for (const QString& line : outcome[1].split(u'\n')) {
            QVERIFY2(got[1].split(u'\n').contains(line), qPrintable(got[1]));
        }
        QCOMPARE(got[2].left(outcome[2].size()), outcome[2]);
        QCOMPARE(got[2].isEmpty(), outcome[2].isEmpty());
    }

    // A copy of the program keeps its settings beside itself when it may write there, else in
    // the user's folder; a read-only folder keeps the file there.
    void theSwitchRemovesTheSettingsWithoutADisplay_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("outcome");
        QTest::newRow("removed") << "app/KPXUtil.dat" << QStringList{"0", "", ""};
        QTest::newRow("kept") << "config/dividora/KPXUtil.dat"
                              << QStringList{"1", "",
                                             "dividora: 設定ファイルを削除できませんでした。 " +
                                                 folder_.Path("config/dividora/KPXUtil.dat") +
                                                 "\n"};
    }
    void theSwitchRemovesTheSettingsWithoutADisplay() {
        QFETCH(QString, settings);
        QFETCH(QStringList, outcome);
        const QString program = folder_.Folder("app") + QStringLiteral("/dividora");
        QVERIFY(QFile::exists(program) || QFile::copy(QStringLiteral(DIVIDORA_PROGRAM), program));
        folder_.Folder("config/dividora");
        folder_.File(settings);
        const bool kept = outcome[0] == "1";
        const auto mode = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
        const QStringList folders{folder_.Root(), folder_.Path("app"),
                                  folder_.Path("config/dividora")};
        for (const QString& folder : folders) {
            QFile::setPermissions(folder, kept ? mode : mode | QFile::WriteOwner);
        }
        const QStringList got = Run(program, {QStringLiteral("/Uninstall")}, kept);
        for (const QString& folder : folders) {
            QFile::setPermissions(folder, mode | QFile::WriteOwner);
        }
        QCOMPARE(got, outcome);
        QCOMPARE(QFile::exists(folder_.Path(settings)), kept);
    }
};

QTEST_GUILESS_MAIN(ProgramArgumentsTest)
#include "ProgramArgumentsTest.moc"
