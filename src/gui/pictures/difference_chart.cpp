#include "gui/pictures/difference_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "commission/money.h"

namespace gui {
namespace {

constexpr double kLeft = 84, kRight = 20, kTop = 60, kBottom = 44;

QString qs(const std::string& text) { return QString::fromStdString(text); }

// 1, 2 or 5 times a power of ten, near span / count.
double niceStep(double span, int count) {
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) return m * power;
    return 10 * power;
}

}  // namespace

QString Reais(long long cents) {
    return qs((cents < 0 ? "-R$ " : "R$ ") + commission::money::text(cents < 0 ? -cents : cents));
}

QColor DifferenceBarColour(bool second) { return second ? QColor(0xE0, 0x8A, 0x2E) : QColor(0x3C, 0x6F, 0xB4); }

std::vector<DifferenceBar> LargestDifferences(std::vector<DifferenceBar> all, std::size_t count) {
    std::erase_if(all, [](const DifferenceBar& b) { return b.difference() == 0; });
    std::stable_sort(all.begin(), all.end(), [](const DifferenceBar& x, const DifferenceBar& y) {
        return std::llabs(x.difference()) > std::llabs(y.difference());
    });
    if (all.size() > count) all.resize(count);
    return all;
}

DifferenceChartLayout::DifferenceChartLayout(const DifferenceChartData& data, QSizeF size)
    : plot_(kLeft, kTop, std::max(size.width() - kLeft - kRight, 40.0), std::max(size.height() - kTop - kBottom, 40.0)),
      count_(data.bars.size()) {
    long long low = 0, high = 0;
    for (const DifferenceBar& b : data.bars) {
        low = std::min({low, b.aCents, b.bCents});
        high = std::max({high, b.aCents, b.bCents});
    }
    if (high == low) high = low + 100;
    const double span = static_cast<double>(high - low);
    high_ = static_cast<double>(high) + (high > 0 ? span * 0.15 : 0);  // room for the labels
    low_ = static_cast<double>(low) - (low < 0 ? span * 0.15 : 0);
}

double DifferenceChartLayout::yOf(long long cents) const {
    return plot_.bottom() - (static_cast<double>(cents) - low_) / (high_ - low_) * plot_.height();
}

QRectF DifferenceChartLayout::bar(std::size_t index, bool second) const {
    const double group = plot_.width() / static_cast<double>(std::max<std::size_t>(count_, 1));
    const double width = std::min(group * 0.36, 60.0);
    const double centre = plot_.left() + group * (static_cast<double>(index) + 0.5);
    return {second ? centre + 1 : centre - width - 1, plot_.top(), width, plot_.height()};
}

void PaintDifferenceChart(QPainter& painter, const DifferenceChartData& data, const DifferenceChartLayout& layout) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF plot = layout.plot();
    const QSizeF size(plot.right() + kRight, plot.bottom() + kBottom);
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    QFont small = painter.font();
    small.setPointSizeF(8);
    QFont bold = painter.font();
    bold.setPointSizeF(10);
    bold.setBold(true);
    const QFontMetricsF metrics(small);

    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(12, 8, size.width() - 24, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(bold).elidedText(qs(data.title), Qt::ElideRight, size.width() - 24));
    painter.setFont(small);
    if (data.bars.empty()) {
        painter.setPen(QColor(0x66, 0x66, 0x66));
        painter.drawText(QRectF(QPointF(0, 0), size).adjusted(20, 40, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         qs(data.note));
        painter.restore();
        return;
    }
    // The legend.
    double x = 12;
    for (bool second : {false, true}) {
        painter.fillRect(QRectF(x, 36, 12, 10), DifferenceBarColour(second));
        const QString label = qs(second ? data.bLabel : data.aLabel);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x + 16, 45), label);
        x += 32 + metrics.horizontalAdvance(label);
    }
    // The reais grid, whole reais at a round step.
    const double step = std::max(100.0, std::round(niceStep(layout.high() - layout.low(), 5) / 100) * 100);
    for (double c = std::ceil(layout.low() / step) * step; c <= layout.high(); c += step) {
        const long long cents = std::llround(c);
        const double y = layout.yOf(cents);
        painter.setPen(QColor(0xE6, 0xE6, 0xE6));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QColor(0x44, 0x44, 0x44));
        painter.drawText(QRectF(0, y - 8, plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter, Reais(cents));
    }
    // The bars, each with its total above (below when negative), the salesperson under them.
    const double zero = layout.yOf(0);
    for (std::size_t i = 0; i < data.bars.size(); ++i) {
        const DifferenceBar& b = data.bars[i];
        for (bool second : {false, true}) {
            const long long cents = second ? b.bCents : b.aCents;
            const QRectF column = layout.bar(i, second);
            const double y = layout.yOf(cents);
            const QRectF shape(QPointF(column.left(), std::min(y, zero)), QPointF(column.right(), std::max(y, zero)));
            painter.fillRect(shape, DifferenceBarColour(second));
            painter.setPen(QColor(0x22, 0x22, 0x22));
            const QString label = Reais(cents);
            const double w = std::max(column.width() + 40, metrics.horizontalAdvance(label) + 4);
            const QRectF place(column.center().x() - w / 2, cents >= 0 ? shape.top() - 15 : shape.bottom() + 1, w, 14);
            painter.drawText(place, Qt::AlignCenter, label);
        }
        const QRectF a = layout.bar(i, false), bb = layout.bar(i, true);
        painter.drawText(QRectF(a.left() - 20, plot.bottom() + 4, bb.right() - a.left() + 40, 16), Qt::AlignHCenter,
                         qs(b.vendedor));
        painter.drawText(QRectF(a.left() - 20, plot.bottom() + 20, bb.right() - a.left() + 40, 16), Qt::AlignHCenter,
                         (b.difference() > 0 ? QStringLiteral("+") : QString()) + Reais(b.difference()));
    }
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(plot.left(), zero), QPointF(plot.right(), zero));
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.restore();
}

}  // namespace gui
