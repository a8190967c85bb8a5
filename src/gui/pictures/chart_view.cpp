#include "gui/pictures/chart_view.h"

#include <QAction>
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
}

PictureWindow::PictureWindow(ChartView* chart, const QString& title, const QString& fileStem, QWidget* parent)
    : QWidget(parent), chart_(chart), scroll_(new QScrollArea(this)), stem_(fileStem) {
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
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidget(chart_);
    layout->addWidget(scroll_, 1);
}

void PictureWindow::exportTo(bool pdf) {
    const QString suffix = pdf ? QStringLiteral("pdf") : QStringLiteral("png");
    const QString path = QFileDialog::getSaveFileName(
        this, pdf ? QStringLiteral("Exportar PDF") : QStringLiteral("Exportar PNG"), stem_ + '.' + suffix,
        pdf ? QStringLiteral("Documento PDF (*.pdf)") : QStringLiteral("Imagem PNG (*.png)"));
    if (path.isEmpty()) return;
    if (!(pdf ? chart_->exportPdf(path) : chart_->exportPng(path)))
        QMessageBox::warning(this, QStringLiteral("Exportar"),
                             QStringLiteral("Não foi possível gravar o arquivo %1.").arg(path));
}

}  // namespace gui
