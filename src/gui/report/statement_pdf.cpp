#include "gui/report/statement_pdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <stdexcept>
#include <utility>

#include "commission/money.h"
#include "gui/report/report_face.h"

namespace gui {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

struct Column {
    const char* label;
    double share;  // of the page's width
    bool right;
};
constexpr Column kColumns[] = {{"Venda", 0.11, false},         {"Data do Evento", 0.13, false},
                               {"Tipo de Evento", 0.13, false}, {"Cargo", 0.06, false},
                               {"Valor da Venda", 0.12, true},  {"Percentual", 0.09, true},
                               {"Comissão", 0.11, true},        {"Motivo", 0.25, false}};
constexpr std::size_t kReason = 7;
constexpr double kReasonIndent = 24;

std::vector<std::string> cellsOf(const StatementSale& s) {
    return {s.venda, s.date, s.eventType, s.position, s.value, s.percent, s.commission, s.reason};
}

QString period(const SalesStatement& s) {
    return s.from.empty() ? QStringLiteral("sem vendas") : QStringLiteral("%1 a %2").arg(qs(s.from), qs(s.to));
}

// Lays the statements out top to bottom; run once without a painter to count the pages,
// then with one to paint them at the same breaks.
class StatementLayout {
public:
    StatementLayout(const std::vector<SalesStatement>& statements, const StatementHeading& heading,
                    QPagedPaintDevice& device)
        : statements_(statements),
          heading_(heading),
          device_(device),
          unit_(device.logicalDpiY() / 72.0),
          body_(9, false, device),
          bold_(9, true, device),
          small_(7.5, false, device),
          title_(15, true, device),
          width_(device.width()),
          top_(pt(30)),
          bottom_(device.height() - pt(24)),
          line_(body_.metrics().height() * 1.3) {}

    int run(QPainter* painter, int totalPages) {
        painter_ = painter;
        total_ = totalPages;
        page_ = 0;
        for (std::size_t i = 0; i < statements_.size(); ++i) statement(statements_[i], i == 0);
        footer();
        return page_;
    }

private:
    double pt(double points) const { return points * unit_; }
    bool fits(double height) const { return y_ + height <= bottom_; }

    void text(const Face& face, double x, double width, const QString& t, bool right = false) {
        if (!painter_) return;
        painter_->setFont(face.font());
        QString shown = t;
        double advance = face.width(t);
        if (advance > width) {
            shown = face.metrics().elidedText(t, Qt::ElideRight, width);
            advance = face.metrics().horizontalAdvance(shown);
        }
        const QFontMetricsF& m = face.metrics();
        painter_->drawText(QPointF(right ? x + width - advance : x, y_ + m.ascent() + (line_ - m.height()) / 2), shown);
    }
    void rule(double y, double thickness) {
        if (painter_) painter_->fillRect(QRectF(0, y, width_, pt(thickness)), QColor(0x80, 0x80, 0x80));
    }

    void newPage(const SalesStatement& s, bool first) {
        if (!first) {
            footer();
            if (painter_ && !device_.newPage())
                throw std::runtime_error("Não foi possível gravar a página seguinte do extrato.");
        }
        ++page_;
        y_ = 0;
        text(small_, 0, width_ * 0.65, QStringLiteral("Extrato de comissão · Vendedor %1").arg(qs(s.vendedor)));
        text(small_, width_ * 0.65, width_ * 0.35, QStringLiteral("Período %1").arg(period(s)), true);
        rule(line_, 0.5);
        y_ = top_;
    }
    void footer() {
        if (page_ == 0) return;
        const double saved = y_;
        y_ = device_.height() - line_;
        rule(y_ - pt(2), 0.5);
        text(small_, 0, width_ * 0.75,
             QStringLiteral("Comissão dos Vendedores · Filial %1 · Impresso em %2")
                 .arg(qs(heading_.branch), qs(heading_.printedAt)));
        text(small_, width_ * 0.75, width_ * 0.25, QStringLiteral("Página %1 de %2").arg(page_).arg(total_), true);
        y_ = saved;
    }

    void row(const Face& face, const std::vector<QString>& cells) {
        double x = 0;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const double w = kColumns[c].share * width_;
            text(face, x + pt(2), w - pt(4), cells[c], kColumns[c].right);
            x += w;
        }
        y_ += line_;
    }
    void columnTitles() {
        std::vector<QString> labels;
        for (const Column& c : kColumns) labels.push_back(QString::fromUtf8(c.label));
        row(small_, labels);
        rule(y_ - pt(1), 0.5);
    }

    void statement(const SalesStatement& s, bool first) {
        newPage(s, first);
        if (painter_) {
            painter_->setFont(title_.font());
            painter_->drawText(QPointF(0, y_ + title_.metrics().ascent()), QStringLiteral("Extrato de comissão"));
        }
        y_ += title_.metrics().height() * 1.4;
        const std::pair<QString, QString> facts[] = {
            {QStringLiteral("Vendedor"), qs(s.vendedor)},
            {QStringLiteral("Período"), period(s)},
            {QStringLiteral("Impresso em"), qs(heading_.printedAt)},
        };
        for (const auto& [label, value] : facts) {
            text(bold_, 0, pt(80), label);
            text(body_, pt(80), width_ - pt(80), value);
            y_ += line_;
        }
        y_ += line_ / 2;
        columnTitles();
        for (const StatementSale& sale : s.sales) {
            std::vector<QString> cells;
            for (const std::string& c : cellsOf(sale)) cells.push_back(qs(c));
            // A reason wider than its column goes whole on a line of its own under the sale.
            QString reason;
            if (body_.width(cells[kReason]) > kColumns[kReason].share * width_ - pt(4)) reason = std::exchange(cells[kReason], {});
            if (!fits(reason.isEmpty() ? line_ : 2 * line_)) {
                newPage(s, false);
                columnTitles();
            }
            row(body_, cells);
            if (!reason.isEmpty()) {
                text(small_, pt(kReasonIndent), width_ - pt(kReasonIndent), reason);
                y_ += line_;
            }
        }
        if (!fits(2 * line_)) newPage(s, false);
        rule(y_, 1);
        y_ += pt(2);
        const QString total = QStringLiteral("Total: %1 %2 · vendas %3 · comissão %4")
                                  .arg(s.sales.size())
                                  .arg(s.sales.size() == 1 ? QStringLiteral("venda") : QStringLiteral("vendas"))
                                  .arg(qs(commission::money::text(s.salesCents)),
                                       qs(commission::money::text(s.commissionCents)));
        text(bold_, 0, width_, total);
        y_ += line_;
    }

    const std::vector<SalesStatement>& statements_;
    const StatementHeading& heading_;
    QPagedPaintDevice& device_;
    const double unit_;
    const Face body_, bold_, small_, title_;
    const double width_, top_, bottom_, line_;
    QPainter* painter_ = nullptr;
    int total_ = 0, page_ = 0;
    double y_ = 0;
};

}  // namespace

void WriteStatementPdf(const std::vector<SalesStatement>& statements, const StatementHeading& heading,
                       const QString& path) {
    if (statements.empty()) throw std::runtime_error("Nenhum vendedor para o extrato.");
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("backoffice"));
    writer.setTitle(statements.size() == 1
                        ? QStringLiteral("Extrato de comissão · Vendedor %1").arg(qs(statements.front().vendedor))
                        : QStringLiteral("Extrato de comissão · %1 vendedores").arg(statements.size()));
    StatementLayout layout(statements, heading, writer);
    const int pages = layout.run(nullptr, 0);
    QPainter painter;
    if (!painter.begin(&writer)) throw std::runtime_error("Não foi possível gravar o arquivo " + path.toStdString() + ".");
    try {
        layout.run(&painter, pages);
    } catch (const std::runtime_error&) {
        throw std::runtime_error("Não foi possível gravar o arquivo " + path.toStdString() + ".");
    }
    painter.end();
}

}  // namespace gui
