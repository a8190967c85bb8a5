#include "gui/pictures/band_chart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "toolkit/formats.h"
#include "toolkit/tclientdataset.h"

namespace gui {
namespace {

constexpr double kLeft = 70, kRight = 24, kTop = 44, kBottom = 48;
constexpr double kCent = 0.01;

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

QColor BandFillColour(bool current) { return current ? QColor(0x9C, 0xC2, 0xEA) : QColor(0xC9, 0xDD, 0xF2); }

BandChartData ReadBands(const tk::TClientDataSet& bands, std::string title) {
    BandChartData data;
    data.title = std::move(title);
    const tk::TField* ini = bands.FindField("VRINICIAL");
    const tk::TField* fin = bands.FindField("VRFINAL");
    const tk::TField* percent = bands.FindField("VRCOMISSAO");
    if (!ini || !fin || !percent) return data;
    if (!bands.Active()) return data;
    const tk::TField* number = bands.FindField("NRFAIXACOMISSAOOREV");
    int iIni = -1, iFin = -1, iPercent = -1, iNumber = -1;
    for (std::size_t i = 0; i < bands.Fields().size(); ++i) {
        const tk::TField* f = bands.Fields()[i];
        if (f == ini) iIni = static_cast<int>(i);
        if (f == fin) iFin = static_cast<int>(i);
        if (f == percent) iPercent = static_cast<int>(i);
        if (f == number) iNumber = static_cast<int>(i);
    }
    for (int r = 1; r <= bands.RecordCount(); ++r) {
        const wire::Value vIni = bands.ValueAt(r, iIni), vFin = bands.ValueAt(r, iFin),
                          vPercent = bands.ValueAt(r, iPercent);
        const double* a = std::get_if<double>(&vIni);
        const double* b = std::get_if<double>(&vFin);
        const double* p = std::get_if<double>(&vPercent);
        if (!a || !b || !p || *b < *a) continue;
        const wire::Value vNumber = iNumber >= 0 ? bands.ValueAt(r, iNumber) : wire::Value{};
        const double* n = std::get_if<double>(&vNumber);
        data.steps.push_back({n ? *n : 0, *a, *b, *p, bands.DisplayTextAt(r, *ini), bands.DisplayTextAt(r, *fin),
                              bands.DisplayTextAt(r, *percent), r == bands.RecNo()});
    }
    std::stable_sort(data.steps.begin(), data.steps.end(), [](const auto& x, const auto& y) { return x.ini < y.ini; });
    return data;
}

bool HoleBetween(const BandStep& before, const BandStep& after) { return after.ini - before.fin > kCent * 1.5; }

BandChartLayout::BandChartLayout(const BandChartData& data, QSizeF size)
    : size_(size), plot_(kLeft, kTop, std::max(size.width() - kLeft - kRight, 40.0),
                         std::max(size.height() - kTop - kBottom, 40.0)) {
    if (data.steps.empty()) return;
    minValue_ = data.steps.front().ini;
    maxValue_ = minValue_;
    maxPercent_ = 0;
    for (const auto& s : data.steps) {
        maxValue_ = std::max(maxValue_, s.fin);
        maxPercent_ = std::max(maxPercent_, s.percent);
    }
    const double span = maxValue_ > minValue_ ? maxValue_ - minValue_ : 1;
    minValue_ -= span * 0.03;
    maxValue_ += span * 0.03;
    maxPercent_ = maxPercent_ > 0 ? maxPercent_ * 1.18 : 1;
}

double BandChartLayout::xOf(double value) const {
    return plot_.left() + (value - minValue_) / (maxValue_ - minValue_) * plot_.width();
}

QRectF BandChartLayout::stepRect(const BandStep& step) const {
    const double left = xOf(step.ini), right = std::max(xOf(step.fin), left + 1);
    return QRectF(QPointF(left, yOf(step.percent)), QPointF(right, plot_.bottom()));
}

double BandChartLayout::yOf(double percent) const {
    return plot_.bottom() - std::max(percent, 0.0) / maxPercent_ * plot_.height();
}

void PaintBandChart(QPainter& painter, const BandChartData& data, const BandChartLayout& layout) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QSizeF size = layout.size();
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
    if (data.steps.empty()) {
        painter.setPen(QColor(0x66, 0x66, 0x66));
        painter.drawText(QRectF(QPointF(0, 0), size).adjusted(20, 40, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         qs(data.note));
        painter.restore();
        return;
    }
    const QRectF plot = layout.plot();

    // Percent grid and labels.
    const double pStep = niceStep(layout.maxPercent(), 5);
    for (double p = 0; p <= layout.maxPercent() + 1e-9; p += pStep) {
        const double y = layout.yOf(p);
        painter.setPen(QColor(0xE6, 0xE6, 0xE6));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(QColor(0x44, 0x44, 0x44));
        painter.drawText(QRectF(0, y - 8, plot.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                         qs(tk::FormatFloat("#,##0.00", p)));
    }
    // Value ticks.
    const double vStep = niceStep(layout.maxValue() - layout.minValue(), 5);
    const char* vFormat = vStep >= 1 ? "#,##0" : "#,##0.00";
    for (double v = std::ceil(layout.minValue() / vStep) * vStep; v <= layout.maxValue(); v += vStep) {
        const double x = layout.xOf(v);
        painter.setPen(QColor(0x44, 0x44, 0x44));
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
        // Centred under its tick, moved in at either end of the picture rather than cut.
        const QString tick = qs(tk::FormatFloat(vFormat, std::abs(v) < vStep / 1e6 ? 0 : v));
        const double width = metrics.horizontalAdvance(tick) + 4;
        const double left = std::clamp(x - width / 2, 0.0, std::max(0.0, size.width() - width));
        painter.drawText(QRectF(left, plot.bottom() + 5, width, 16), Qt::AlignHCenter | Qt::AlignTop, tick);
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + 22, plot.width(), 16), Qt::AlignHCenter,
                     qs(data.valueLabel));
    painter.save();
    painter.translate(14, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -8, plot.height(), 16), Qt::AlignCenter, qs(data.percentLabel));
    painter.restore();

    // The steps: a fill under each band, its level on top, risers where bands meet.
    const QColor line(0x1F, 0x4E, 0x8C);
    for (std::size_t i = 0; i < data.steps.size(); ++i) {
        const BandStep& s = data.steps[i];
        const double left = layout.xOf(s.ini), right = std::max(layout.xOf(s.fin), left + 1);
        const double y = layout.yOf(s.percent);
        painter.fillRect(QRectF(QPointF(left, y), QPointF(right, plot.bottom())), BandFillColour(s.current));
        painter.setPen(QPen(line, 2));
        painter.drawLine(QPointF(left, y), QPointF(right, y));
        const QString text = qs(s.percentText);
        if (metrics.horizontalAdvance(text) + 4 < right - left) {
            painter.setPen(line);
            painter.drawText(QRectF(left, y - 16, right - left, 14), Qt::AlignHCenter | Qt::AlignBottom, text);
        }
        if (i == 0) continue;
        const BandStep& before = data.steps[i - 1];
        const double beforeY = layout.yOf(before.percent);
        if (!HoleBetween(before, s)) {
            painter.setPen(QPen(line, 2));
            painter.drawLine(QPointF(left, beforeY), QPointF(left, y));
            continue;
        }
        // A hole: open ends and a dashed floor, nothing filled.
        const double holeLeft = layout.xOf(before.fin);
        painter.setPen(QPen(QColor(0xC6, 0x28, 0x28), 1, Qt::DashLine));
        painter.drawLine(QPointF(holeLeft, plot.bottom() - 1), QPointF(left, plot.bottom() - 1));
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(line, 1.5));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(holeLeft, beforeY), 3, 3);
        painter.drawEllipse(QPointF(left, y), 3, 3);
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QString hole = QStringLiteral("sem faixa");
        if (metrics.horizontalAdvance(hole) + 6 < left - holeLeft) {
            painter.setPen(QColor(0xC6, 0x28, 0x28));
            painter.drawText(QRectF(holeLeft, plot.bottom() - 20, left - holeLeft, 16), Qt::AlignCenter, hole);
        }
    }

    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.restore();
}

}  // namespace gui
