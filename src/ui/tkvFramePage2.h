#pragma once

#include <QColor>
#include <QObject>
#include <cstdint>
#include <vector>

class QFrame;
class QKeyEvent;
class QLabel;
class QWidget;

// A set of pages chosen with tab-like captions: the current page's container is shown, the
// others hidden, and the current tab drawn in the Active colours with its background enlarged
// by EnlargingX and EnlargingY (twips) on every side. While IsFixed, the current page cannot
// change (a request runs) and the tabs are drawn in the Unenable colours. A click on a tab's
// caption or background chooses its page. The captions also take the keyboard focus (Tab) and
// are chosen with Space or Enter, the arrow keys move to the neighbouring tab, and screen
// readers read their names. A switch that hides the control with the focus moves the
// focus into the page shown, so typing never goes into a box nobody sees.
class tkvFramePage2 : public QObject {
    Q_OBJECT

public:
    explicit tkvFramePage2(QObject* agParent = nullptr);
    ~tkvFramePage2() override;

    // Appends a page: its container (required), its tab background and caption (either may be
    // none). The container is hidden and the tab drawn in the Normal colours.
    bool Regist(QWidget* agContainer, QFrame* agBackground, QLabel* agCaption);

    // -1 for none.
    int32_t Index() const { return index_; }
    // Does nothing while fixed or for the current index; IndexChanged may refuse the switch.
    void SetIndex(int32_t agIndex);
    bool IsFixed() const { return isFixed_; }
    void SetIsFixed(bool agIsFixed);

    int32_t Count() const { return static_cast<int32_t>(pages_.size()); }
    // Chooses the page agSteps tabs on (negative: back), round the pages that have a tab.
    void Step(int32_t agSteps);

    QColor ActiveBackColor;
    QColor ActiveBorderColor;
    QColor ActiveForeColor;
    QColor NormalBackColor;
    QColor NormalBorderColor;
    QColor NormalForeColor;
    QColor ActiveUnenableBackColor;
    QColor ActiveUnenableBorderColor;
    QColor ActiveUnenableForeColor;
    QColor NormalUnenableBackColor;
    QColor NormalUnenableBorderColor;
    QColor NormalUnenableForeColor;
    // Twips.
    int32_t EnlargingX = 30;
    int32_t EnlargingY = 30;

signals:
    // Before a switch; setting ouCancel to 1 refuses it.
    void IndexChanged(int32_t agPrevious, int32_t agNew, int32_t& ouCancel);

protected:
    bool eventFilter(QObject* agWatched, QEvent* agEvent) override;

private:
    struct Page {
        QWidget* Container = nullptr;
        QFrame* Background = nullptr;
        QLabel* Caption = nullptr;
    };
    enum class Look { kActive, kNormal, kActiveUnenable, kNormalUnenable };

    void Paint(const Page& agPage, Look agLook);
    void Enlarge(const Page& agPage, int agSign);
    Look LookOf(int32_t agIndex) const;
    // The page whose background or caption agTab is; -1 for none.
    int32_t PageOf(const QObject* agTab) const;
    bool TakeKey(int32_t agPage, const QKeyEvent& agKey);
    // The first control of agShown that takes the focus gets it.
    static void FocusInto(QWidget* agShown);

    std::vector<Page> pages_;
    int32_t index_ = -1;
    bool isFixed_ = false;
};
