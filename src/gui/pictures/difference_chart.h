// The salespeople whose pay a second table changes most: both totals side by side, in
// reais, labelled. What it shows, where things lie, the drawing.
#pragma once
#include <QColor>
#include <QRectF>
#include <QString>
#include <string>
#include <vector>

class QPainter;

namespace gui {

struct DifferenceBar {
    std::string vendedor;
    long long aCents = 0, bCents = 0;  // the total under each table
    long long difference() const { return bCents - aCents; }
};

struct DifferenceChartData {
    std::string title;
    std::string aLabel, bLabel;  // the legend: "Tabela atual", "Tabela 7"
    std::string note;            // shown instead of the chart when there is nothing to draw
    std::vector<DifferenceBar> bars;
};

// The `count` salespeople of `all` with the largest differences either way, largest first
// (ties in the order given); those with no difference are left out.
std::vector<DifferenceBar> LargestDifferences(std::vector<DifferenceBar> all, std::size_t count);

// Where a salesperson's pair of bars lies when drawn in `size`.
class DifferenceChartLayout {
public:
    DifferenceChartLayout(const DifferenceChartData& data, QSizeF size);
    QRectF plot() const { return plot_; }
    double yOf(long long cents) const;
    double low() const { return low_; }  // the axis' ends, in cents
    double high() const { return high_; }
    // The bar of salesperson `index`, under table A (`second` false) or B.
    QRectF bar(std::size_t index, bool second) const;

private:
    QRectF plot_;
    std::size_t count_ = 0;
    double low_ = 0, high_ = 1;  // in cents
};

void PaintDifferenceChart(QPainter& painter, const DifferenceChartData& data, const DifferenceChartLayout& layout);

// "R$ 1.234,56", "-R$ 20,00": the sign before the currency, as Brazilian amounts are written.
QString Reais(long long cents);

// The fill of each table's bars; tests look for them.
QColor DifferenceBarColour(bool second);

}  // namespace gui
