// A picture drawn by a painter at any size: shown in a widget, exported to PNG and PDF,
// and the window that holds one with its export buttons.
#pragma once
#include <QImage>
#include <QWidget>

class QAction;
class QScrollArea;

namespace gui {

class ChartView : public QWidget {
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr) : QWidget(parent) {}

    // The picture drawn at `size` on a white ground.
    QImage render(QSize size) const;
    // Write the picture at the size it is shown; false when the file cannot be written.
    bool exportPng(const QString& path) const;
    bool exportPdf(const QString& path) const;  // one page of the picture's size, as vectors

protected:
    virtual void paintChart(QPainter& painter, QSizeF size) const = 0;
    void paintEvent(QPaintEvent* event) override;
};

class PictureWindow : public QWidget {
    Q_OBJECT

public:
    // Takes `chart`; `fileStem` names the suggested export files ("linha-do-tempo").
    PictureWindow(ChartView* chart, const QString& title, const QString& fileStem, QWidget* parent = nullptr);

    ChartView& chart() const { return *chart_; }
    QAction& exportPngAction() const { return *png_; }
    QAction& exportPdfAction() const { return *pdf_; }

private:
    void exportTo(bool pdf);
    ChartView* chart_;
    QScrollArea* scroll_;
    QAction* png_;
    QAction* pdf_;
    QString stem_;
};

}  // namespace gui
