#include "gui/pictures/timeline.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <map>
#include <string_view>
#include <tuple>

#include "model/code_tables.h"
#include "toolkit/tclientdataset.h"

namespace gui {
namespace {

constexpr double kMargin = 10;
constexpr double kLabelWidth = 210;
// Two rows above the bars: the month ticks' labels, and under them the "Hoje" mark's, so
// that neither covers the other.
constexpr double kTickRow = 16;
constexpr double kAxis = 2 * kTickRow + 4;
constexpr double kTableLane = 30;
constexpr double kSectionGap = 12;
constexpr double kSectionTitle = 22;
constexpr double kLane = 22;
constexpr double kLegend = 24;

QString qs(const std::string& text) { return QString::fromStdString(text); }

int fieldIndex(const tk::TClientDataSet& set, std::string_view name) {
    const auto& fields = set.Fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i]->FieldName() == name) return static_cast<int>(i);
    return -1;
}

const wire::DateTime* dateAt(const wire::Value& v) { return std::get_if<wire::DateTime>(&v); }

double numberAt(const wire::Value& v) {
    const double* n = std::get_if<double>(&v);
    return n ? *n : 0;
}

std::string stringAt(const wire::Value& v) {
    const std::string* s = std::get_if<std::string>(&v);
    return s ? *s : std::string();
}

// The place of `code` in a code table; the table's size for an unknown code.
int codeOrder(std::span<const model::CodeEntry> table, const std::string& code) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (code == table[i].code) return static_cast<int>(i);
    return static_cast<int>(table.size());
}

std::string joined(std::initializer_list<std::string> parts, const char* separator) {
    std::string out;
    for (const auto& p : parts) {
        if (p.empty()) continue;
        if (!out.empty()) out += separator;
        out += p;
    }
    return out;
}

}  // namespace

QColor TimelineTableColour(bool current) { return current ? QColor(0x1F, 0x4E, 0x8C) : QColor(0x6C, 0x9A, 0xD0); }

QColor TimelineBaseDateColour(int baseDate) {
    switch (baseDate) {
    case 0: return {0xE0, 0x8A, 0x2C};
    case 1: return {0x3F, 0x9F, 0x5A};
    default: return {0x9E, 0x9E, 0x9E};
    }
}

TimelineData ReadTimeline(const tk::TClientDataSet& tables, const tk::TClientDataSet* promotions, bool markCurrent,
                          std::string promotionsTitle, std::vector<std::string> baseDates, wire::DateTime today) {
    TimelineData data;
    data.promotionsTitle = std::move(promotionsTitle);
    data.baseDates = std::move(baseDates);
    data.today = today;

    if (tables.Active()) {
        const int nr = fieldIndex(tables, "NRCOMISSAOOREV"), ini = fieldIndex(tables, "DTVALIDADEINI"),
                  fin = fieldIndex(tables, "DTVALIDADEFIN");
        const tk::TField* name = tables.FindField("DSCOMISSAOOREV");
        for (int r = 1; r <= tables.RecordCount(); ++r) {
            const wire::Value start = tables.ValueAt(r, ini), end = tables.ValueAt(r, fin);
            if (!dateAt(start) || !dateAt(end) || *dateAt(end) < *dateAt(start)) continue;
            data.tables.push_back({numberAt(tables.ValueAt(r, nr)), *dateAt(start), *dateAt(end),
                                   name ? tables.DisplayTextAt(r, *name) : std::string(), 0, -1,
                                   r == tables.RecNo()});
        }
    }

    if (!promotions || !promotions->Active()) return data;
    const tk::TClientDataSet& p = *promotions;
    const int nr = fieldIndex(p, "NRCOMISSAOPROMOREV"), ini = fieldIndex(p, "DTVALINICOMISPROMO"),
              fin = fieldIndex(p, "DTVALFINCOMISPROMO"), base = fieldIndex(p, "IDDTBASECOMISPROMO"),
              type = fieldIndex(p, "CDTIPOEVENTO"), cargo = fieldIndex(p, "IDCARGOVEND");
    const tk::TField* typeField = p.FindField("CDTIPOEVENTO");
    const tk::TField* nameField = p.FindField("NMTIPOEVENTO");
    const tk::TField* cargoField = p.FindField("IDCARGOVEND");
    const tk::TField* startField = p.FindField("DTVALINICOMISPROMO");
    const tk::TField* endField = p.FindField("DTVALFINCOMISPROMO");
    if (!typeField || !nameField || !cargoField || !startField || !endField) return data;

    // One lane per event type and position, ordered by event type, then by position.
    using LaneKey = std::tuple<std::string, int, std::string>;
    std::map<LaneKey, std::string> laneLabels;
    std::vector<std::pair<LaneKey, TimelineBar>> bars;
    for (int r = 1; r <= p.RecordCount(); ++r) {
        const wire::Value start = p.ValueAt(r, ini), end = p.ValueAt(r, fin);
        if (!dateAt(start) || !dateAt(end) || *dateAt(end) < *dateAt(start)) continue;
        const std::string cargoCode = stringAt(p.ValueAt(r, cargo));
        LaneKey key{stringAt(p.ValueAt(r, type)), codeOrder(model::kCargoCodes, cargoCode), cargoCode};
        if (!laneLabels.count(key))
            laneLabels[key] = joined({joined({p.DisplayTextAt(r, *typeField), p.DisplayTextAt(r, *nameField)}, " "),
                                      p.DisplayTextAt(r, *cargoField)},
                                     " · ");
        TimelineBar bar{numberAt(p.ValueAt(r, nr)),
                        *dateAt(start),
                        *dateAt(end),
                        p.DisplayTextAt(r, *startField) + " a " + p.DisplayTextAt(r, *endField),
                        0,
                        -1,
                        markCurrent && r == p.RecNo()};
        const int order = codeOrder(model::kDataBaseCodes, stringAt(p.ValueAt(r, base)));
        bar.baseDate = order < static_cast<int>(std::size(model::kDataBaseCodes)) ? order : -1;
        bars.emplace_back(std::move(key), std::move(bar));
    }
    std::map<LaneKey, int> laneOf;
    for (const auto& [key, label] : laneLabels) {
        laneOf[key] = static_cast<int>(data.lanes.size());
        data.lanes.push_back(label.empty() ? std::string("—") : label);
    }
    for (auto& [key, bar] : bars) {
        bar.lane = laneOf[key];
        data.promotions.push_back(std::move(bar));
    }
    return data;
}

TimelineLayout::TimelineLayout(const TimelineData& data, double width)
    : width_(std::max(width, 360.0)),
      plotLeft_(kMargin + kLabelWidth),
      plotRight_(width_ - 2 * kMargin),
      top_(kMargin + kAxis),
      tableTop_(top_ + 4) {
    std::int64_t first = std::numeric_limits<std::int64_t>::max(), last = std::numeric_limits<std::int64_t>::min();
    auto span = [&](const TimelineBar& b) {
        first = std::min(first, b.start.days());
        last = std::max(last, b.end.days());
    };
    for (const auto& b : data.tables) span(b);
    for (const auto& b : data.promotions) span(b);
    const std::int64_t today = data.today.days();
    first = std::min(first, today);
    last = std::max(last, today);
    if (first == last) {
        first -= 90;
        last += 90;
    }
    const std::int64_t pad = std::max<std::int64_t>(3, (last - first) / 40);
    firstDay_ = first - pad;
    lastDay_ = last + pad;
    scale_ = (plotRight_ - plotLeft_) / static_cast<double>(lastDay_ - firstDay_ + 1);
    promotionsTop_ = tableTop_ + kTableLane + kSectionGap + kSectionTitle;
    const double lanes = static_cast<double>(std::max<std::size_t>(1, data.lanes.size()));
    legendTop_ = promotionsTop_ + lanes * kLane + 8;
    height_ = legendTop_ + kLegend + kMargin;
}

wire::DateTime TimelineLayout::firstShown() const { return wire::DateTime::fromDays(firstDay_); }

double TimelineLayout::xOf(const wire::DateTime& day) const {
    return plotLeft_ + static_cast<double>(day.days() - firstDay_) * scale_;
}

QRectF TimelineLayout::tableLane() const { return {plotLeft_, tableTop_, plotRight_ - plotLeft_, kTableLane}; }

QRectF TimelineLayout::promotionLane(int lane) const {
    return {plotLeft_, promotionsTop_ + lane * kLane, plotRight_ - plotLeft_, kLane};
}

QRectF TimelineLayout::tableBar(const TimelineBar& bar) const {
    const double left = xOf(bar.start);
    return {left, tableTop_ + 4, std::max(xOf(bar.end) + scale_ - left, 1.0), kTableLane - 8};
}

QRectF TimelineLayout::promotionBar(const TimelineBar& bar) const {
    const double left = xOf(bar.start);
    const QRectF lane = promotionLane(bar.lane);
    return {left, lane.top() + 3, std::max(xOf(bar.end) + scale_ - left, 1.0), kLane - 6};
}

TimelineHit HitTimeline(const TimelineData& data, const TimelineLayout& layout, QPointF point) {
    // Narrow bars still take a click a few pixels wide.
    auto near = [&point](QRectF r) {
        if (r.width() < 5) r.adjust(-(5 - r.width()) / 2, 0, (5 - r.width()) / 2, 0);
        return r.contains(point);
    };
    for (const auto& b : data.promotions)
        if (near(layout.promotionBar(b))) return {TimelineHitKind::Promotion, b.number};
    for (const auto& b : data.tables)
        if (near(layout.tableBar(b))) return {TimelineHitKind::Table, b.number};
    return {};
}

void PaintTimeline(QPainter& painter, const TimelineData& data, const TimelineLayout& layout) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(0, 0, layout.width(), layout.height()), Qt::white);
    QFont small = painter.font();
    small.setPointSizeF(8);
    QFont bold = small;
    bold.setBold(true);
    painter.setFont(small);
    const QFontMetricsF metrics(small);
    const QRectF plot = layout.plot();
    const double bottom = layout.legendTop() - 6;
    const double top = plot.top();

    // Month ticks, as many months apart as keep their labels from touching.
    const double monthWidth = 30.44 * layout.dayWidth();
    int step = 120;
    for (int s : {1, 2, 3, 6, 12, 24, 60, 120})
        if (s * monthWidth >= 64) {
            step = s;
            break;
        }
    const auto monthAt = [](int index) { return wire::DateTime::fromYmd(index / 12, index % 12 + 1, 1); };
    const wire::DateTime start = layout.firstShown();
    int month = start.year() * 12 + start.month() - 1;
    month = (month + step - 1) / step * step;
    for (;; month += step) {
        const wire::DateTime at = monthAt(month);
        const double x = layout.xOf(at);
        if (x > plot.right()) break;
        painter.setPen(QColor(0xE2, 0xE2, 0xE2));
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        painter.setPen(QColor(0x55, 0x55, 0x55));
        const QString label = step < 12 ? QStringLiteral("%1/%2").arg(at.month(), 2, 10, QChar('0')).arg(at.year())
                                        : QString::number(at.year());
        painter.drawText(QPointF(x + 2, kMargin + metrics.ascent()), label);
    }

    // Lane titles.
    auto laneTitle = [&](const QRectF& lane, const QString& text, const QFont& font) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QFontMetricsF m(font);
        painter.drawText(QPointF(kMargin, lane.center().y() + m.ascent() / 2 - 1),
                         m.elidedText(text, Qt::ElideRight, lane.width()));
    };
    const QRectF tables = layout.tableLane();
    laneTitle(QRectF(0, tables.top(), kLabelWidth - 8, tables.height()), QStringLiteral("Tabelas"), bold);
    // The section's title runs over the whole width: the table's name is not cut.
    laneTitle(QRectF(0, layout.promotionLane(0).top() - kSectionTitle, plot.right() - kMargin, kSectionTitle),
              qs(data.promotionsTitle), bold);
    painter.setPen(QColor(0xBB, 0xBB, 0xBB));
    painter.drawLine(QPointF(kMargin, layout.promotionLane(0).top() - kSectionTitle + 2),
                     QPointF(plot.right(), layout.promotionLane(0).top() - kSectionTitle + 2));

    // The promotion lanes, over the current table's validity period.
    const int lanes = std::max<int>(1, static_cast<int>(data.lanes.size()));
    const QRectF lanesArea = layout.promotionLane(0).united(layout.promotionLane(lanes - 1));
    for (int l = 0; l < lanes; ++l)
        if (l % 2 == 0) painter.fillRect(layout.promotionLane(l), QColor(0xF7, 0xF7, 0xF7));
    for (const auto& t : data.tables)
        if (t.current) {
            const QRectF bar = layout.tableBar(t);
            painter.fillRect(QRectF(bar.left(), lanesArea.top(), bar.width(), lanesArea.height()),
                             QColor(0xE8, 0xF0, 0xFA));
        }
    for (std::size_t l = 0; l < data.lanes.size(); ++l) {
        const QRectF lane = layout.promotionLane(static_cast<int>(l));
        laneTitle(QRectF(0, lane.top(), kLabelWidth - 8, lane.height()), qs(data.lanes[l]), small);
    }
    if (data.lanes.empty()) {
        painter.setFont(small);
        painter.setPen(QColor(0x77, 0x77, 0x77));
        painter.drawText(QPointF(plot.left() + 4, lanesArea.center().y() + metrics.ascent() / 2 - 1),
                         QStringLiteral("Nenhuma promoção nesta tabela."));
    }

    // Gaps between consecutive tables.
    std::vector<const TimelineBar*> sorted;
    for (const auto& t : data.tables) sorted.push_back(&t);
    std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->start < b->start; });
    std::int64_t coveredUntil = std::numeric_limits<std::int64_t>::min();
    for (const TimelineBar* t : sorted) {
        if (coveredUntil != std::numeric_limits<std::int64_t>::min() && t->start.days() > coveredUntil + 1) {
            const QRectF lane = layout.tableBar(*t);
            const double left = layout.xOf(wire::DateTime::fromDays(coveredUntil + 1));
            const QRectF gap(left, lane.top(), layout.xOf(t->start) - left, lane.height());
            painter.fillRect(gap, QBrush(QColor(0xD9, 0x53, 0x4F), Qt::BDiagPattern));
            const QString text = QStringLiteral("sem tabela");
            if (metrics.horizontalAdvance(text) + 6 < gap.width()) {
                painter.setPen(QColor(0xB0, 0x2A, 0x25));
                painter.setFont(small);
                painter.fillRect(QRectF(gap.center().x() - metrics.horizontalAdvance(text) / 2 - 2,
                                        gap.center().y() - metrics.height() / 2, metrics.horizontalAdvance(text) + 4,
                                        metrics.height()),
                                 Qt::white);
                painter.drawText(gap, Qt::AlignCenter, text);
            }
        }
        coveredUntil = std::max(coveredUntil, t->end.days());
    }

    // Bars with their labels inside when they fit.
    auto drawBar = [&](const QRectF& r, const QColor& fill, bool current, const std::string& label, const QColor& ink) {
        painter.fillRect(r, fill);
        painter.setPen(current ? QPen(Qt::black, 2) : QPen(fill.darker(130), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        const QString text = qs(label);
        if (r.width() > 28) {
            painter.setPen(ink);
            painter.setFont(small);
            painter.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                             metrics.elidedText(text, Qt::ElideRight, r.width() - 8));
        }
    };
    for (const auto& t : data.tables) drawBar(layout.tableBar(t), TimelineTableColour(t.current), t.current, t.label, Qt::white);
    for (const auto& p : data.promotions)
        drawBar(layout.promotionBar(p), TimelineBaseDateColour(p.baseDate), p.current, p.label, Qt::black);

    // Today.
    const double todayX = layout.xOf(data.today) + layout.dayWidth() / 2;
    if (todayX >= plot.left() && todayX <= plot.right()) {
        painter.setPen(QPen(QColor(0xD0, 0x10, 0x10), 2));
        painter.drawLine(QPointF(todayX, top - 2), QPointF(todayX, bottom));
        painter.setFont(bold);
        const QString hoje = QStringLiteral("Hoje");
        const QFontMetricsF m(bold);
        // In the row under the ticks' labels; kept inside the picture at either end.
        const double boxWidth = m.horizontalAdvance(hoje) + 6;
        const double boxLeft = std::clamp(todayX - boxWidth / 2, 0.0, layout.width() - boxWidth);
        const QRectF box(boxLeft, kMargin + kTickRow, boxWidth, std::min(m.height() + 2, kTickRow + 3));
        painter.fillRect(box, Qt::white);
        painter.setPen(QColor(0xD0, 0x10, 0x10));
        painter.drawText(box, Qt::AlignCenter, hoje);
    }

    // Legend.
    double x = kMargin;
    const double y = layout.legendTop();
    painter.setFont(small);
    auto swatch = [&](const QBrush& brush, const QString& text) {
        painter.fillRect(QRectF(x, y + 5, 14, 10), brush);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x + 18, y + 5 + metrics.ascent() - 1), text);
        x += 18 + metrics.horizontalAdvance(text) + 16;
    };
    swatch(TimelineTableColour(false), QStringLiteral("Tabela"));
    swatch(TimelineTableColour(true), QStringLiteral("Tabela atual"));
    swatch(QBrush(QColor(0xD9, 0x53, 0x4F), Qt::BDiagPattern), QStringLiteral("Sem tabela"));
    for (std::size_t i = 0; i < data.baseDates.size(); ++i)
        swatch(TimelineBaseDateColour(static_cast<int>(i)), QStringLiteral("Promoção: %1").arg(qs(data.baseDates[i])));
    painter.restore();
}

}  // namespace gui
