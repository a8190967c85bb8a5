// The report's font, as a page device measures it: the face every printed page of the
// back office uses, shared by the commission report and the salespeople's statements.
#pragma once
#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QString>
#include <array>

namespace gui {

// Twenty thousand bands make text a report's hot spot: plain ASCII (every number) is
// measured from a table of advances instead of being shaped twice, once to measure and once
// to draw.
class Face {
public:
    Face(double points, bool bold, const QPaintDevice& device) : font_(QStringLiteral("DejaVu Sans")), metrics_(font_) {
        font_.setPointSizeF(points);
        font_.setBold(bold);
        metrics_ = QFontMetricsF(font_, &device);
        for (int c = 32; c < 127; ++c) ascii_[static_cast<std::size_t>(c)] = metrics_.horizontalAdvance(QChar(c));
    }
    const QFont& font() const { return font_; }
    const QFontMetricsF& metrics() const { return metrics_; }
    double width(const QString& text) const {
        double w = 0;
        for (QChar c : text) {
            if (c.unicode() < 32 || c.unicode() >= 127) return metrics_.horizontalAdvance(text);
            w += ascii_[c.unicode()];
        }
        return w;
    }

private:
    QFont font_;
    QFontMetricsF metrics_;
    std::array<double, 127> ascii_{};
};

}  // namespace gui
