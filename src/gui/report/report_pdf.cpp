#include "gui/report/report_pdf.h"

#include "gui/report/report_face.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <array>
#include <stdexcept>

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// Lays the report out top to bottom. Run once without a painter to count the pages, then
// with one to paint them: both runs break the pages at the same places.
class ReportLayout {
public:
    ReportLayout(const CommissionReport& report, QPagedPaintDevice& device)
        : report_(report),
          device_(device),
          unit_(device.logicalDpiY() / 72.0),
          body_(9, false, device),
          bold_(9, true, device),
          small_(7.5, false, device),
          heading_(12, true, device),
          title_(15, true, device),
          width_(device.width()),
          top_(pt(30)),
          bottom_(device.height() - pt(24)),
          line_(body_.metrics().height() * 1.3) {
        for (const auto& scope : report.scopes) ruleColumns_.push_back(columnWidths(scope));
        double band = body_.width(QStringLiteral("999.999.999,99"));
        for (const auto& label : report.bandLabels) band = std::max(band, small_.width(qs(label)));
        bandColumn_ = band + pt(16);
    }

    // Returns the number of pages; paints when `painter` is given.
    int run(QPainter* painter, int totalPages) {
        painter_ = painter;
        face_ = nullptr;
        total_ = totalPages;
        page_ = 1;
        y_ = top_;
        titleBlock();
        for (std::size_t s = 0; s < report_.scopes.size(); ++s) scope(s);
        footer();
        return page_;
    }

private:
    static constexpr double kBandIndent = 24;

    double pt(double points) const { return points * unit_; }

    // The width of each rule column: its widest text, shrunk together to fit the page.
    std::vector<double> columnWidths(const ReportScope& scope) const {
        std::vector<double> widths;
        for (std::size_t c = 0; c < scope.labels.size(); ++c) {
            double w = small_.width(qs(scope.labels[c]));
            for (const auto& rule : scope.rules) w = std::max(w, bold_.width(qs(rule.cells[c])));
            widths.push_back(w + pt(12));
        }
        double sum = 0;
        for (double w : widths) sum += w;
        if (sum > width_)
            for (double& w : widths) w *= width_ / sum;
        return widths;
    }

    bool fits(double height) const { return y_ + height <= bottom_; }

    void newPage() {
        footer();
        if (painter_ && !device_.newPage())
            throw std::runtime_error("Não foi possível gravar a página seguinte do relatório.");
        ++page_;
        y_ = top_;
        header();
    }

    void use(const Face& face) {
        if (face_ == &face) return;
        painter_->setFont(face.font());
        face_ = &face;
    }

    void text(const Face& face, double x, double width, const QString& t, Qt::Alignment align = Qt::AlignLeft) {
        if (!painter_) return;
        use(face);
        double advance = face.width(t);
        QString shown = t;
        if (advance > width) {
            shown = face.metrics().elidedText(t, Qt::ElideRight, width);
            advance = face.metrics().horizontalAdvance(shown);
        }
        const double left = align & Qt::AlignRight ? x + width - advance : x;
        const QFontMetricsF& m = face.metrics();
        painter_->drawText(QPointF(left, y_ + m.ascent() + (line_ - m.height()) / 2), shown);
    }

    void rule(double y, double thickness) {
        if (painter_) painter_->fillRect(QRectF(0, y, width_, pt(thickness)), QColor(0x80, 0x80, 0x80));
    }

    // The running header and footer of every page.
    void header() {
        const double saved = y_;
        y_ = 0;
        text(small_, 0, width_ * 0.65, QStringLiteral("Relatório da comissão · %1").arg(qs(report_.description)));
        text(small_, width_ * 0.65, width_ * 0.35,
             QStringLiteral("Validade %1 a %2").arg(qs(report_.validFrom), qs(report_.validTo)), Qt::AlignRight);
        rule(line_, 0.5);
        y_ = saved;
    }
    void footer() {
        const double saved = y_;
        y_ = device_.height() - line_;
        rule(y_ - pt(2), 0.5);
        text(small_, 0, width_ * 0.75,
             QStringLiteral("Comissão dos Vendedores · Filial %1 · Impresso em %2")
                 .arg(qs(report_.branch), qs(report_.printedAt)));
        text(small_, width_ * 0.75, width_ * 0.25, QStringLiteral("Página %1 de %2").arg(page_).arg(total_),
             Qt::AlignRight);
        y_ = saved;
    }

    void titleBlock() {
        header();
        const double titleLine = title_.metrics().height() * 1.4;
        if (painter_) {
            use(title_);
            painter_->drawText(QPointF(0, y_ + title_.metrics().ascent()), QStringLiteral("Relatório da comissão"));
        }
        y_ += titleLine;
        const std::pair<QString, QString> facts[] = {
            {QStringLiteral("Tabela"), qs(report_.description)},
            {QStringLiteral("Validade"), QStringLiteral("%1 a %2").arg(qs(report_.validFrom), qs(report_.validTo))},
            {QStringLiteral("Filial"), qs(report_.branch)},
            {QStringLiteral("Impresso em"), qs(report_.printedAt)},
        };
        for (const auto& [label, value] : facts) {
            text(bold_, 0, pt(80), label);
            text(body_, pt(80), width_ - pt(80), value);
            y_ += line_;
        }
        y_ += line_ / 2;
    }

    void scopeHeading(const ReportScope& scope, bool continued) {
        const double height = scopeHeadingHeight();
        if (painter_) {
            use(heading_);
            const QString caption = continued ? QStringLiteral("%1 (continuação)").arg(qs(scope.title)) : qs(scope.title);
            painter_->drawText(QPointF(0, y_ + heading_.metrics().ascent() + pt(4)), caption);
        }
        y_ += height;
        rule(y_ - pt(2), 1);
    }
    double scopeHeadingHeight() const { return heading_.metrics().height() * 1.5; }

    void ruleHeader(std::size_t s) {
        const ReportScope& scope = report_.scopes[s];
        double x = 0;
        for (std::size_t c = 0; c < scope.labels.size(); ++c) {
            text(small_, x + pt(2), ruleColumns_[s][c] - pt(4), qs(scope.labels[c]));
            x += ruleColumns_[s][c];
        }
        y_ += line_;
    }

    void ruleRow(std::size_t s, const ReportRule& r) {
        if (painter_) painter_->fillRect(QRectF(0, y_, width_, line_), QColor(0xEC, 0xEF, 0xF4));
        double x = 0;
        for (std::size_t c = 0; c < r.cells.size(); ++c) {
            text(bold_, x + pt(2), ruleColumns_[s][c] - pt(4), qs(r.cells[c]));
            x += ruleColumns_[s][c];
        }
        y_ += line_;
    }

    void bandHeader() {
        double x = pt(kBandIndent);
        for (const auto& label : report_.bandLabels) {
            text(small_, x, bandColumn_, qs(label), Qt::AlignRight);
            x += bandColumn_;
        }
        y_ += line_;
    }

    void bandRow(const std::vector<std::string>& cells) {
        double x = pt(kBandIndent);
        for (const auto& cell : cells) {
            text(body_, x, bandColumn_, qs(cell), Qt::AlignRight);
            x += bandColumn_;
        }
        y_ += line_;
    }

    void note(const QString& t, double indent) {
        text(body_, pt(indent), width_ - pt(indent), t);
        y_ += line_;
    }

    void scope(std::size_t s) {
        const ReportScope& sc = report_.scopes[s];
        // A heading never ends a page: it keeps its column titles and a first rule with it.
        if (!fits(scopeHeadingHeight() + 4 * line_)) newPage();
        y_ += line_ / 2;
        scopeHeading(sc, false);
        if (sc.rules.empty()) {
            note(QStringLiteral("Nenhuma regra cadastrada."), 0);
            return;
        }
        ruleHeader(s);
        for (const ReportRule& r : sc.rules) {
            if (!fits(3 * line_)) {
                newPage();
                scopeHeading(sc, true);
                ruleHeader(s);
            }
            ruleRow(s, r);
            if (r.bands.empty()) {
                note(QStringLiteral("Nenhuma faixa cadastrada."), kBandIndent);
                continue;
            }
            bandHeader();
            for (const auto& band : r.bands) {
                if (!fits(line_)) {
                    newPage();
                    scopeHeading(sc, true);
                    ruleHeader(s);
                    ruleRow(s, r);
                    bandHeader();
                }
                bandRow(band);
            }
        }
    }

    const CommissionReport& report_;
    QPagedPaintDevice& device_;
    const double unit_;
    const Face body_, bold_, small_, heading_, title_;
    const double width_, top_, bottom_, line_;
    std::vector<std::vector<double>> ruleColumns_;
    double bandColumn_ = 0;
    QPainter* painter_ = nullptr;
    const Face* face_ = nullptr;  // the painter's font
    int total_ = 0;
    int page_ = 1;
    double y_ = 0;
};

}  // namespace

int PaintReport(const CommissionReport& report, QPagedPaintDevice& device) {
    ReportLayout layout(report, device);
    const int pages = layout.run(nullptr, 0);
    QPainter painter;
    if (!painter.begin(&device)) throw std::runtime_error("Não foi possível abrir o relatório para gravação.");
    layout.run(&painter, pages);
    painter.end();
    return pages;
}

void WriteReportPdf(const CommissionReport& report, const QString& path) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("backoffice-report"));
    writer.setTitle(QStringLiteral("Relatório da comissão · %1").arg(qs(report.description)));
    try {
        PaintReport(report, writer);
    } catch (const std::runtime_error&) {
        throw std::runtime_error("Não foi possível gravar o arquivo " + path.toStdString() + ".");
    }
}

}  // namespace gui
