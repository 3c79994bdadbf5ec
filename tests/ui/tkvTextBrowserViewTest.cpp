#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <memory>
#include <string>
#include <vector>

#include "KPXUIMsgBox.h"
#include "KPXUISepaAss.h"
#include "KPXUISepaAssPlainWindow.h"
#include "KPXUtilSettings.h"
#include "TestFolder.h"
#include "tkvNetAccess.h"
#include "tkvQtString.h"
#include "tkvShowHTMLToIE.h"
#include "tkvTextBrowserView.h"

namespace {

// The main window as far as a split needs it, with the view as its split log.
class SplitWindow : public KPXUISepaAssPlainWindow {
public:
    explicit SplitWindow(tkvTextBrowserView& agView)
        : KPXUISepaAssPlainWindow(std::make_shared<KPXUtilSettings>()), view_(agView) {}

    bool UnloadFlag() const override { return false; }
    void SetDoButtonEnabled(Operation, bool) override {}
    void SetPageSetFixed(PageSet, bool) override {}
    void SetStatusText(Operation, const std::string&) override {}
    tkvWebBrowser* ResultView(Operation) override { return &view_; }
    KPXUIMsgBox& OverwriteQuestion() override { return question_; }

private:
    class NoQuestion : public KPXUIMsgBox {
    public:
        int32_t MsgBox(const std::string&) override { return 0; }
    };
    tkvTextBrowserView& view_;
    NoQuestion question_;
};

// Where a line of text sits in the document.
struct LineSpot {
    qreal Left;
    qreal Right;
    qreal Baseline;
};

LineSpot FirstLine(const QTextDocument& agDocument, const QTextBlock& agBlock) {
    const QRectF block = agDocument.documentLayout()->blockBoundingRect(agBlock);
    const QTextLine line = agBlock.layout()->lineAt(0);
    const qreal left = block.left() + line.x();
    return {left, left + line.naturalTextWidth(), block.top() + line.y() + line.ascent()};
}

std::vector<QTextTable*> Tables(const QTextDocument& agDocument) {
    std::vector<QTextTable*> tables;
    for (QTextFrame* frame : agDocument.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            tables.push_back(table);
        }
    }
    return tables;
}

}  // namespace

// The split log in the window's view, on real files: its own link, its paths and its rows.
class tkvTextBrowserViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<TestFolder>();
        temporaryFolder_ = qgetenv("TMPDIR");
        tkvNetAccess::SetOpenHook([this](const std::string& agAddress) {
            opened_.push_back(agAddress);
            return true;
        });
    }
    void cleanup() {
        tkvNetAccess::SetOpenHook({});
        opened_.clear();
        assistant_.reset();
        window_.reset();
        view_.reset();
        if (temporaryFolder_.isNull()) {
            qunsetenv("TMPDIR");
        } else {
            qputenv("TMPDIR", temporaryFolder_);
        }
        folder_.reset();
    }

    // The page file is made in the temporary folder, whatever that folder is called.
    void theOwnLinkOpensThePageFileWhateverTheTemporaryFolderIsCalled_data() {
        QTest::addColumn<QString>("temporary");
        QTest::newRow("#") << QStringLiteral("tmp #1");
        QTest::newRow("%") << QStringLiteral("100% a%20b");
        QTest::newRow("?") << QStringLiteral("q?x=1");
        QTest::newRow("all") << QStringLiteral("ﾃﾝﾎﾟﾗﾘ #2 50%25 x");
    }
    void theOwnLinkOpensThePageFileWhateverTheTemporaryFolderIsCalled() {
        QFETCH(QString, temporary);
        const QString folder = folder_->Folder(temporary);
        qputenv("TMPDIR", QFile::encodeName(folder));
        Split(QStringLiteral("holiday-photos.zip"), 400);
        if (QTest::currentTestFailed()) {
            return;
        }
        const std::string page = assistant_->ShowHTMLToIE()->Address();
        QVERIFY(tkvQtString::ToQt(page).startsWith(folder + QLatin1Char('/')));

        ClickText(QStringLiteral("新しいウィンドウで表示する"));
        QCOMPARE(opened_, std::vector<std::string>{page});
        QVERIFY(QFile::exists(tkvQtString::ToQt(page)));
    }

    // In a view narrower than its paths, a path stays on one line (the view scrolls); each row's
    // label and value stand apart on one baseline, whichever fonts draw them, a line's height
    // below the row above; the verdict is indented under the title as the details are.
    void aLogKeepsItsPathsWholeItsRowsOnOneBaselineAndItsBlocksIndented() {
        const QString name = QStringLiteral("a-long-folder-name-for-the-holiday-photos");
        Split(name + QStringLiteral("/holiday-photos.zip"), 260);
        if (QTest::currentTestFailed()) {
            return;
        }
        const QTextDocument& document = *view_->document();

        const auto leftOf = [&document](const QString& agText) {
            return FirstLine(document, document.find(agText).block()).Left;
        };
        QVERIFY(leftOf(QStringLiteral("分割が完了しました。")) >
                leftOf(QStringLiteral("分割実行結果")));
        // The table's cells start after its cell spacing.
        QTextTable* details = Tables(document).front();
        const qreal tableLeft = document.documentLayout()->frameBoundingRect(details).left();
        QVERIFY(qAbs(leftOf(QStringLiteral("分割が完了しました。")) - tableLeft) <=
                details->format().cellSpacing());

        int paths = 0;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block.text().startsWith(folder_->Root())) {
                ++paths;
                QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
            }
        }
        QCOMPARE(paths, 3);  // the source, the destination and the checksum file

        int rows = 0;
        for (QTextTable* table : Tables(document)) {
            qreal lastBaseline = 0;
            for (int row = 0; row < table->rows(); ++row) {
                const QTextBlock label = table->cellAt(row, 0).firstCursorPosition().block();
                const QTextBlock value = table->cellAt(row, 1).firstCursorPosition().block();
                if (label.text().isEmpty() || value.text().isEmpty()) {
                    continue;
                }
                ++rows;
                const LineSpot left = FirstLine(document, label);
                const LineSpot right = FirstLine(document, value);
                const QString what = label.text() + QLatin1Char(' ') + value.text();
                QVERIFY2(qAbs(left.Baseline - right.Baseline) < 0.5, qPrintable(what));
                // At least half a line apart: the space a reader sees between two words.
                const qreal line = label.layout()->lineAt(0).height();
                QVERIFY2(right.Left - left.Right >= line / 2, qPrintable(what));
                // Rows as far apart as the lines of a paragraph, not packed over each other.
                QVERIFY2(row == 0 || left.Baseline - lastBaseline >= line, qPrintable(what));
                lastBaseline = left.Baseline;
            }
        }
        QVERIFY(rows >= 5);
    }

private:
    // Splits agSource (made here, 3000 bytes) into three pieces beside it, with the log in a
    // view agWidth pixels wide.
    void Split(const QString& agSource, int agWidth) {
        const QString source = folder_->Path(agSource);
        QVERIFY(QDir().mkpath(QFileInfo(source).path()));
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3000, 'x'));
        file.close();

        view_ = std::make_unique<tkvTextBrowserView>();
        view_->resize(agWidth, 300);
        view_->show();
        window_ = std::make_unique<SplitWindow>(*view_);
        window_->SeparateFileAddress = tkvQtString::FromQt(source);
        window_->SeparateFileMode = 2;
        window_->SeparateFileModeCount = "3";
        window_->SeparateFileSepaAddress = tkvQtString::FromQt(QFileInfo(source).path());
        window_->SeparateFileDividoraName = "holiday";
        assistant_ = std::make_unique<KPXUISepaAss>(*window_);
        QVERIFY(assistant_->Separate());
        QCoreApplication::processEvents();
    }

    void ClickText(const QString& agText) {
        const QTextCursor found = view_->document()->find(agText);
        QVERIFY(!found.isNull());
        QTextCursor inside(view_->document());
        inside.setPosition(found.selectionStart() + 1);
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, {},
                          view_->cursorRect(inside).center());
    }

    std::unique_ptr<TestFolder> folder_;
    QByteArray temporaryFolder_;
    std::unique_ptr<tkvTextBrowserView> view_;
    std::unique_ptr<SplitWindow> window_;
    std::unique_ptr<KPXUISepaAss> assistant_;
    std::vector<std::string> opened_;
};

QTEST_MAIN(tkvTextBrowserViewTest)
#include "tkvTextBrowserViewTest.moc"
