#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "KPXUIChecked.h"
#include "KPXUIPicture.h"
#include "KPXUIRenewable.h"
#include "KPXUIResources.h"
#include "WindowLook.h"
#include "tkvCheckVersion.h"
#include "tkvDateTime.h"
#include "tkvNetAccess.h"

namespace {

// The little-endian bytes of a version file as the maker's server publishes it.
std::string LongBytes(int32_t agValue) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<size_t>(i)] =
            static_cast<char>((static_cast<uint32_t>(agValue) >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string TextBytes(const std::string& agText) {
    return LongBytes(static_cast<int32_t>(agText.size())) + agText;
}

std::string VersionFile(int32_t agMajor, int32_t agMinor, int32_t agRevision, double agDate) {
    uint64_t dateBits = 0;
    std::memcpy(&dateBits, &agDate, sizeof dateBits);
    std::string date(8, '\0');
    for (int i = 0; i < 8; ++i) {
        date[static_cast<size_t>(i)] = static_cast<char>((dateBits >> (8 * i)) & 0xFF);
    }
    return TextBytes(tkvCheckVersion::kMagicText) + TextBytes("Dividora") + LongBytes(agMajor) +
           LongBytes(agMinor) + LongBytes(agRevision) + date;
}

double Date(int32_t agYear, int32_t agMonth, int32_t agDay) {
    double date = 0;
    tkvDateTime::FromParts({agYear, agMonth, agDay, 0, 0, 0}, date);
    return date;
}

// This program, 2.0.134, after a check that read the given published version.
tkvCheckVersion CheckedAgainst(int32_t agMajor, int32_t agMinor, int32_t agRevision,
                               double agDate) {
    tkvCheckVersion check;
    check.SetClientProductName("Dividora");
    check.SetClientMajor(2);
    check.SetClientMinor(0);
    check.SetClientRevision(134);
    check.CheckVersionFile(VersionFile(agMajor, agMinor, agRevision, agDate));
    return check;
}

QString Text(const QWidget* agWindow, const char* agName) {
    const auto* label = agWindow->findChild<const QLabel*>(QString::fromLatin1(agName));
    return label != nullptr ? label->text() : QStringLiteral("<no label>");
}

void Click(const QWidget* agWindow, const char* agButton) {
    agWindow->findChild<QPushButton*>(QString::fromLatin1(agButton))->click();
}

// Runs the deletions that closed windows have asked for.
void RunDeletions() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

template <typename Window>
int OpenWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::allWidgets()) {
        count += qobject_cast<Window*>(widget) != nullptr ? 1 : 0;
    }
    return count;
}

const QString kCaption = QStringLiteral("バージョンの確認結果");

}  // namespace

// The two notices of a finished version check: modeless over the main window, one of each.
class KPXUINoticeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        KPXUIResources::Initialize();
        owner_.setWindowIcon(QIcon(QString::fromUtf8(KPXUIResources::kIcon)));
        // Inside the offscreen screen (800 x 600), so that no notice is moved back onto it.
        owner_.setGeometry(100, 80, 600, 440);
        owner_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner_));
    }
    void cleanup() {
        for (QWidget* notice :
             std::vector<QWidget*>{KPXUIChecked::OpenNotice(), KPXUIRenewable::OpenNotice()}) {
            if (notice != nullptr) {
                notice->close();
            }
        }
        RunDeletions();
        tkvNetAccess::SetOpenHook({});
        opened_.clear();
    }

    void checkedShowsItsTextsAndPicture() {
        const KPXUIChecked* notice = KPXUIChecked::ShowNotice(&owner_);
        QCOMPARE(notice->windowTitle(), kCaption);
        QCOMPARE(Text(notice, "lblMes_0"),
                 QStringLiteral("バージョンの確認が正常に完了しました。"));
        QCOMPARE(Text(notice, "lblMes_1"),
                 QStringLiteral("このソフトは最新のバージョンであることが確認できました。"));
        QCOMPARE(notice->findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("O.K."));
        const auto* picture = notice->findChild<KPXUIPicture*>(QStringLiteral("imgPicture"));
        QCOMPARE(picture->Picture(), QString::fromUtf8(KPXUIResources::kUpdatePicture1));
        QVERIFY(picture->IsLoaded());
        QCOMPARE(WindowLook::ClippedControls(*notice), QString());
    }

    void checkedClosesWithOKAndIsDeleted() {
        QPointer<KPXUIChecked> notice = KPXUIChecked::ShowNotice(&owner_);
        QVERIFY(notice->isVisible());
        Click(notice, "cmdOK");
        RunDeletions();
        QVERIFY(notice.isNull());
        QCOMPARE(KPXUIChecked::OpenNotice(), nullptr);
    }

    // Showing it again while it is open brings the same window forward.
    void checkedShownTwiceIsOneWindow() {
        KPXUIChecked* first = KPXUIChecked::ShowNotice(&owner_);
        KPXUIChecked* second = KPXUIChecked::ShowNotice(&owner_);
        QCOMPARE(second, first);
        QCOMPARE(OpenWindows<KPXUIChecked>(), 1);
    }

    // A scheduled check that shows the notices again and again leaves no window behind.
    void aHundredNoticesLeaveNoWindow() {
        const tkvCheckVersion check = CheckedAgainst(2, 1, 0, Date(2005, 3, 7));
        for (int i = 0; i < 100; ++i) {
            Click(KPXUIChecked::ShowNotice(&owner_), "cmdOK");
            Click(KPXUIRenewable::ShowNotice(&owner_, check, "/help/howtoupdate.htm"), "cmdNo");
            RunDeletions();
        }
        QCOMPARE(OpenWindows<KPXUIChecked>(), 0);
        QCOMPARE(OpenWindows<KPXUIRenewable>(), 0);
        QVERIFY(owner_.findChildren<QDialog*>().isEmpty());
    }

    // 2.1.0 published on 7 March 2005, against this program's 2.0.134.
    void renewableShowsBothVersionsAndTheDate() {
        const KPXUIRenewable* notice = KPXUIRenewable::ShowNotice(
            &owner_, CheckedAgainst(2, 1, 0, Date(2005, 3, 7)), "/help/howtoupdate.htm");
        QCOMPARE(Text(notice, "lblOldVersion"), QStringLiteral("2.0.134"));
        QCOMPARE(Text(notice, "lblNewVersion"), QStringLiteral("2.1.0"));
        QCOMPARE(Text(notice, "lblUpDatedDate"), QStringLiteral("2005年 3月 7日"));
        QCOMPARE(WindowLook::ClippedControls(*notice), QString());
    }

    void renewableShowsItsTextsAndPicture() {
        const KPXUIRenewable* notice = KPXUIRenewable::ShowNotice(
            &owner_, CheckedAgainst(2, 1, 0, Date(2005, 3, 7)), "/help/howtoupdate.htm");
        QCOMPARE(notice->windowTitle(), kCaption);
        QStringList texts;
        for (const char* name :
             {"lblMes_0", "lblMes_1", "lblMes_2", "lblMes_4", "lblMes_5", "lblMes_6", "lblMes_3"}) {
            texts << Text(notice, name);
        }
        QCOMPARE(texts, (QStringList{"バージョンの確認が正常に完了しました。",
                                     "このソフトのバージョンよりも新しいバージョンが公開されて",
                                     "いることが分かりました。",
                                     "このソフトのバージョン:", "最新のバージョン:",
                                     "公開された日付:", "新しいバージョンへ更新しますか。"}));
        QCOMPARE(notice->findChild<QPushButton*>("cmdYes")->text(), QStringLiteral("はい(&Y)"));
        QCOMPARE(notice->findChild<QPushButton*>("cmdNo")->text(), QStringLiteral("いいえ(&N)"));
        QCOMPARE(notice->findChild<KPXUIPicture*>(QStringLiteral("imgPicture"))->Picture(),
                 QString::fromUtf8(KPXUIResources::kUpdatePicture2));
    }

    void yesOpensTheHowToUpdatePageAndCloses() {
        tkvNetAccess::SetOpenHook([this](const std::string& agAddress) {
            opened_.push_back(agAddress);
            return true;
        });
        QPointer<KPXUIRenewable> notice = KPXUIRenewable::ShowNotice(
            &owner_, CheckedAgainst(2, 1, 0, Date(2005, 3, 7)), "/opt/dividora/howtoupdate.htm");
        Click(notice, "cmdYes");
        RunDeletions();
        QCOMPARE(opened_, std::vector<std::string>{"/opt/dividora/howtoupdate.htm"});
        QVERIFY(notice.isNull());
    }

    // A page that cannot be opened is not reported; the notice closes all the same.
    void yesClosesAlsoWhenThePageDoesNotOpen() {
        tkvNetAccess::SetOpenHook([](const std::string&) { return false; });
        QPointer<KPXUIRenewable> notice = KPXUIRenewable::ShowNotice(
            &owner_, CheckedAgainst(2, 1, 0, Date(2005, 3, 7)), "/missing.htm");
        Click(notice, "cmdYes");
        RunDeletions();
        QVERIFY(notice.isNull());
    }

    void noClosesWithoutOpeningAnything() {
        tkvNetAccess::SetOpenHook([this](const std::string& agAddress) {
            opened_.push_back(agAddress);
            return true;
        });
        QPointer<KPXUIRenewable> notice = KPXUIRenewable::ShowNotice(
            &owner_, CheckedAgainst(2, 1, 0, Date(2005, 3, 7)), "/help/howtoupdate.htm");
        Click(notice, "cmdNo");
        RunDeletions();
        QVERIFY(notice.isNull());
        QVERIFY(opened_.empty());
    }

    // Shown again while open: one window, telling the check that has just finished.
    void renewableShownTwiceIsOneWindowWithTheLatestCheck() {
        KPXUIRenewable* first = KPXUIRenewable::ShowNotice(
            &owner_, CheckedAgainst(2, 1, 0, Date(2005, 3, 7)), "/help/howtoupdate.htm");
        KPXUIRenewable* second = KPXUIRenewable::ShowNotice(
            &owner_, CheckedAgainst(2, 2, 5, Date(2006, 12, 24)), "/help/howtoupdate.htm");
        QCOMPARE(second, first);
        QCOMPARE(OpenWindows<KPXUIRenewable>(), 1);
        QCOMPARE(Text(second, "lblNewVersion"), QStringLiteral("2.2.5"));
        QCOMPARE(Text(second, "lblUpDatedDate"), QStringLiteral("2006年 12月 24日"));
    }

    // Both are modeless, owned by the main window, centred over it, with a fixed frame.
    void noticesAreFixedModelessWindowsCentredOverTheOwner() {
        const std::vector<QWidget*> notices{
            KPXUIChecked::ShowNotice(&owner_),
            KPXUIRenewable::ShowNotice(&owner_, CheckedAgainst(2, 1, 0, Date(2005, 3, 7)), "")};
        for (const QWidget* notice : notices) {
            QVERIFY(notice->isVisible());
            QVERIFY(!notice->isModal());
            QCOMPARE(notice->parentWidget(), &owner_);
            QCOMPARE(notice->windowIcon().cacheKey(), owner_.windowIcon().cacheKey());
            QVERIFY((notice->geometry().center() - owner_.geometry().center()).manhattanLength() <=
                    2);
            QCOMPARE(notice->minimumSize(), notice->maximumSize());
            QVERIFY(!(notice->windowFlags() & Qt::WindowMinMaxButtonsHint));
        }
    }

    // An owner at the screen's corner: the notice stays whole on the screen.
    void aNoticeOverAnOwnerAtTheEdgeStaysOnTheScreen() {
        QWidget owner;
        owner.setGeometry(650, 500, 150, 100);
        const KPXUIChecked* notice = KPXUIChecked::ShowNotice(&owner);
        const QRect screen = notice->screen()->availableGeometry();
        QVERIFY(screen.contains(notice->geometry()));
    }

    void theDateHasNoLeadingZeros_data() {
        QTest::addColumn<double>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("7 March 2005") << Date(2005, 3, 7) << "2005年 3月 7日";
        QTest::newRow("two-digit month and day") << Date(2024, 12, 25) << "2024年 12月 25日";
        QTest::newRow("with a time of day") << Date(2010, 1, 1) + 0.75 << "2010年 1月 1日";
        QTest::newRow("no date") << std::numeric_limits<double>::quiet_NaN() << "";
        QTest::newRow("beyond the calendar") << 1e10 << "";
    }
    void theDateHasNoLeadingZeros() {
        QFETCH(double, date);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(KPXUIRenewable::UpDatedDateText(date)), text);
    }

private:
    QWidget owner_;
    std::vector<std::string> opened_;
};

QTEST_MAIN(KPXUINoticeTest)
#include "KPXUINoticeTest.moc"
