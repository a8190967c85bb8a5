// The band chart of one rule: its percentage as a step over the value axis, holes between
// bands left open. What it shows (read from a band list), where things lie, the drawing.
#pragma once
#include <QColor>
#include <QRectF>
#include <string>
#include <vector>

class QPainter;

namespace tk {
class TClientDataSet;
}

namespace gui {

struct BandStep {
    double number = 0;  // the band's number in its list
    double ini = 0, fin = 0, percent = 0;
    std::string iniText, finText, percentText;  // as the band grid shows them
    bool current = false;                        // the band the grid stands on
};

struct BandChartData {
    std::string title;  // "Cargo: Vendedor"
    std::string note;   // shown instead of the chart when there is nothing to draw
    std::vector<BandStep> steps;  // by initial value
    std::string valueLabel = "Valor (R$)", percentLabel = "Percentual (%)";  // the axes, with their units
};

// The bands of `bands` (a band list) with every value present and the initial value not
// above the final one, ordered by initial value; the texts are the grid's. `title` names
// the table and the rule.
BandChartData ReadBands(const tk::TClientDataSet& bands, std::string title);

// True when values lie between two bands in order (amounts are kept to the cent, so a
// band starting one cent after the other ends leaves none).
bool HoleBetween(const BandStep& before, const BandStep& after);

// Where the chart's axes lie when drawn in `size`.
class BandChartLayout {
public:
    BandChartLayout(const BandChartData& data, QSizeF size);
    QSizeF size() const { return size_; }
    QRectF plot() const { return plot_; }
    double xOf(double value) const;
    double yOf(double percent) const;
    double maxPercent() const { return maxPercent_; }
    double minValue() const { return minValue_; }
    double maxValue() const { return maxValue_; }
    // Where a step is drawn: from its initial to its final value, from the axis to its level.
    QRectF stepRect(const BandStep& step) const;

private:
    QSizeF size_;
    QRectF plot_;
    double minValue_ = 0, maxValue_ = 1, maxPercent_ = 1;
};

void PaintBandChart(QPainter& painter, const BandChartData& data, const BandChartLayout& layout);

// The fill under a step; tests look for it.
QColor BandFillColour(bool current);

}  // namespace gui
