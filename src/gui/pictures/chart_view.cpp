#include "gui/pictures/chart_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QKeyEvent>
#include <QPointer>
#include <QStandardPaths>
#include <QWindow>
#include <algorithm>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollArea>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace gui {
namespace {

class ChartItemAccessible;

// The chart for assistive technology: a graphic whose children are its items.
class ChartAccessible : public QAccessibleWidget {
public:
    explicit ChartAccessible(ChartView* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}
    ChartView* chart() const { return static_cast<ChartView*>(widget()); }
    int childCount() const override { return chart()->itemCount(); }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override {
        return chart()->currentItem() >= 0 ? child(chart()->currentItem()) : nullptr;
    }

private:
    mutable QList<QAccessible::Id> ids_;  // the items' interfaces, registered with Qt once each
};

class ChartItemAccessible : public QAccessibleInterface {
public:
    ChartItemAccessible(ChartView* chart, int item) : chart_(chart), item_(item) {}
    bool isValid() const override { return chart_ && item_ < chart_->itemCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return chart_ && chart_->window() ? chart_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(chart_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? chart_->itemName(item_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = chart_->itemRect(item_).toAlignedRect();
        return QRect(chart_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.focused = chart_ && chart_->hasFocus() && chart_->currentItem() == item_;
        return s;
    }
    int item() const { return item_; }

private:
    QPointer<ChartView> chart_;
    int item_;
};

QAccessibleInterface* ChartAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    // Qt owns the interfaces it is given: one per item, registered once.
    while (ids_.size() <= index) ids_.append(QAccessible::registerAccessibleInterface(
        new ChartItemAccessible(chart(), static_cast<int>(ids_.size()))));
    return QAccessible::accessibleInterface(ids_[index]);
}

int ChartAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* item = dynamic_cast<const ChartItemAccessible*>(child);
    return item ? item->item() : -1;
}

QAccessibleInterface* chartAccessible(const QString& className, QObject* object) {
    auto* chart = qobject_cast<ChartView*>(object);
    return chart && className != QLatin1String("QWidget") ? new ChartAccessible(chart) : nullptr;
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(chartAccessible);
        return true;
    }();
    (void)installed;
    setFocusPolicy(Qt::StrongFocus);
}

void ChartView::setCurrentItem(int item) {
    if (item < -1 || item >= itemCount() || item == current_) return;
    current_ = item;
    setToolTip(current_ >= 0 ? itemName(current_) : QString());
    update();
    if (current_ >= 0 && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current_);
        QAccessible::updateAccessibility(&event);
    }
}

void ChartView::itemsChanged() {
    if (current_ >= itemCount()) current_ = itemCount() - 1;
    setToolTip(current_ >= 0 ? itemName(current_) : QString());
    update();
}

void ChartView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (current_ < 0 && itemCount() > 0) setCurrentItem(0);
    update();
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    const int count = itemCount();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (count > 0) setCurrentItem(std::max(0, current_ - 1));
        return;
    case Qt::Key_Right:
    case Qt::Key_Down:
        if (count > 0) setCurrentItem(std::min(count - 1, current_ + 1));
        return;
    case Qt::Key_Home:
        if (count > 0) setCurrentItem(0);
        return;
    case Qt::Key_End:
        if (count > 0) setCurrentItem(count - 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (current_ >= 0) activate(current_);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

QString FileStemOf(const QString& words) {
    // Letters without their accents, digits, and one dash for anything between them.
    const QString plain = words.normalized(QString::NormalizationForm_D);
    QString stem;
    for (const QChar c : plain) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        if (c.isLetterOrNumber() && c.unicode() < 128)
            stem += c.toLower();
        else if (!stem.isEmpty() && !stem.endsWith('-'))
            stem += '-';
    }
    while (stem.endsWith('-')) stem.chop(1);
    return stem.isEmpty() ? QStringLiteral("grafico") : stem;
}

QImage ChartView::render(QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font());
    paintChart(painter, QSizeF(size));
    return image;
}

bool ChartView::exportPng(const QString& path) const { return render(size()).save(path, "PNG"); }

bool ChartView::exportPdf(const QString& path) const {
    // At the screen's resolution a pixel of the widget is a pixel of the page: the picture
    // keeps its proportions and its texts their sizes.
    constexpr int kDpi = 96;
    QPdfWriter writer(path);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QSizeF(width() * 72.0 / kDpi, height() * 72.0 / kDpi), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("backoffice"));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    painter.setFont(font());
    paintChart(painter, QSizeF(size()));
    return painter.end();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintChart(painter, QSizeF(size()));
    // The keyboard's item, only on the screen (never in an exported picture).
    if (hasFocus() && current_ >= 0) {
        QPen pen(palette().color(QPalette::Active, QPalette::Highlight), 2, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(itemRect(current_).adjusted(-3, -3, 3, 3));
    }
}

PictureWindow::PictureWindow(ChartView* chart, const QString& title, QWidget* parent)
    : QWidget(parent), chart_(chart), scroll_(new QScrollArea(this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    png_ = bar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Exportar PNG…"));
    png_->setObjectName(QStringLiteral("exportPng"));
    pdf_ = bar->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Exportar PDF…"));
    pdf_->setObjectName(QStringLiteral("exportPdf"));
    connect(png_, &QAction::triggered, this, [this] { exportTo(false); });
    connect(pdf_, &QAction::triggered, this, [this] { exportTo(true); });
    layout->addWidget(bar);
    scroll_->setWidgetResizable(true);
    // Tab goes to the picture itself, not to the area that scrolls it.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidget(chart_);
    layout->addWidget(scroll_, 1);
}

void PictureWindow::exportTo(bool pdf) {
    const QString suffix = pdf ? QStringLiteral("pdf") : QStringLiteral("png");
    const QString title = pdf ? QStringLiteral("Exportar PDF") : QStringLiteral("Exportar PNG");
    const QString filter = pdf ? QStringLiteral("Documento PDF (*.pdf)") : QStringLiteral("Imagem PNG (*.png)");
    const QString suggested = chart_->fileStem() + '.' + suffix;
    const QString path =
        askPath_ ? askPath_(this, title, suggested, filter)
                 : QFileDialog::getSaveFileName(
                       this, title,
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + '/' + suggested, filter);
    if (path.isEmpty()) return;
    if (!(pdf ? chart_->exportPdf(path) : chart_->exportPng(path)))
        QMessageBox::warning(this, QStringLiteral("Exportar"),
                             QStringLiteral("Não foi possível gravar o arquivo %1.").arg(path));
}

}  // namespace gui
