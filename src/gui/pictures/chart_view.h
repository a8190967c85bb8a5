// A picture drawn by a painter at any size: shown in a widget, exported to PNG and PDF,
// its items (bars, steps) reached by keyboard and named to assistive technology; and the
// window that holds one with its export buttons.
#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

class QAction;
class QScrollArea;

namespace gui {

class ChartView : public QWidget {
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);

    // The items a user may go through with the arrow keys, in their reading order.
    virtual int itemCount() const = 0;
    virtual QString itemName(int item) const = 0;  // its accessible name: what it is, with its values
    virtual QRectF itemRect(int item) const = 0;   // where it is drawn at the widget's size
    // Enter on an item does what a click on it does.
    virtual void activate(int item) { (void)item; }
    // The item the keyboard stands on; -1 before any.
    int currentItem() const { return current_; }
    void setCurrentItem(int item);
    // The name to give the exported files: what the picture shows, fit for a file name.
    virtual QString fileStem() const = 0;

    // The picture drawn at `size` on a white ground.
    QImage render(QSize size) const;
    // Write the picture at the size it is shown; false when the file cannot be written.
    bool exportPng(const QString& path) const;
    bool exportPdf(const QString& path) const;  // one page of the picture's size, as vectors

protected:
    virtual void paintChart(QPainter& painter, QSizeF size) const = 0;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // New data: the keyboard's item kept when it is still there.
    void itemsChanged();

private:
    int current_ = -1;
};

// "Linha do tempo · Tabela 2025" as "linha-do-tempo-tabela-2025".
QString FileStemOf(const QString& words);

class PictureWindow : public QWidget {
    Q_OBJECT

public:
    // Asks where to export; the suggested file is in the folder the host keeps. Empty: none chosen.
    using AskPath = std::function<QString(QWidget* parent, const QString& title, const QString& suggested,
                                          const QString& filter)>;
    // Takes `chart`; the suggested export files are named after what it shows.
    PictureWindow(ChartView* chart, const QString& title, QWidget* parent = nullptr);
    void setAskPath(AskPath ask) { askPath_ = std::move(ask); }

    ChartView& chart() const { return *chart_; }
    QAction& exportPngAction() const { return *png_; }
    QAction& exportPdfAction() const { return *pdf_; }

private:
    void exportTo(bool pdf);
    ChartView* chart_;
    QScrollArea* scroll_;
    QAction* png_;
    QAction* pdf_;
    AskPath askPath_;
};

}  // namespace gui
