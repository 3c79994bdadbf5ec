#pragma once

#include <QString>
#include <QSvgRenderer>
#include <QWidget>

// A picture control: one of the program's SVG pictures, drawn at paint time into the widget's
// own pixels, so it stays crisp at every device pixel ratio and on every screen. The picture
// keeps its proportions and sits centred in the control.
class KPXUIPicture : public QWidget {
    Q_OBJECT

public:
    explicit KPXUIPicture(QWidget* agParent = nullptr);

    // The resource path of the picture (KPXUIResources), empty for none.
    const QString& Picture() const { return picture_; }
    void SetPicture(const QString& agPicture);
    // True when the picture was found and could be read.
    bool IsLoaded() const { return renderer_.isValid(); }

    // The size the control asks for at 96 dots per inch; empty (the default) for the
    // picture's own size.
    const QSize& DesignSize() const { return designSize_; }
    void SetDesignSize(const QSize& agSize);

    // The design size, scaled by the screen's logical dots per inch as the window sizes in
    // twips are.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* agEvent) override;

private:
    QString picture_;
    QSize designSize_;
    QSvgRenderer renderer_;
};
