// How long the desktop's pictures and the commission report take.
//
// Timeline: 200 commission tables with 50 promotions each, held in the model's own data
// sets; for every table in turn its promotions are loaded and the timeline is read from the
// sets and drawn (1200 pixels wide). Report: one table with 1,000 rules of 20 bands in a
// SQLite store behind the real server (in this process, over loopback); the report is read
// through TNetConnection and written as PDF and as CSV.
//
// usage: bench_pictures [DB]   DB: keep the seeded store there (for timing the programs).
#include <malloc.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "appserver/embedded_server.h"
#include "store/sqlite_store.h"
#include "gui/report/commission_data.h"
#include "gui/report/commission_report.h"
#include "gui/report/report_csv.h"
#include "gui/report/report_pdf.h"
#include "gui/pictures/timeline.h"

namespace {

using Clock = std::chrono::steady_clock;
using appserver::ListKind;
using wire::DateTime;
using wire::Null;
using wire::Row;

constexpr int kTables = 200;
constexpr int kPromotionsPerTable = 50;
constexpr int kEventRules = 997;  // with the three positions: 1,000 rules
constexpr int kBandsPerRule = 20;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// This thread's processor time: on a busy machine it moves far less than the wall clock.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Figures {
    double median, p95, max;
};
Figures figures(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[v.size() * 95 / 100], v.back()};
}

wire::DataPacket packet(const tk::TClientDataSet& set, std::vector<Row> rows) {
    wire::DataPacket p;
    for (const tk::TField* f : set.Fields()) p.fields.push_back(f->Def());
    p.rows = std::move(rows);
    return p;
}

void benchTimeline() {
    gui::CommissionData data;
    std::vector<Row> tables;
    for (int t = 0; t < kTables; ++t) {
        // A month each, with a gap of a few days after every fifth.
        const int month = t % 12 + 1, year = 2000 + t / 12;
        tables.push_back({static_cast<double>(t + 1), "Tabela " + std::to_string(t + 1), DateTime::fromYmd(year, month, 1),
                          DateTime::fromYmd(year, month, t % 5 == 4 ? 20 : 28), std::string("0001")});
    }
    data.cdsComissao.SetData(packet(data.cdsComissao, std::move(tables)));

    // The desktop has its fonts loaded long before a timeline opens; so does this process.
    {
        QImage warm(10, 10, QImage::Format_RGB32);
        QPainter painter(&warm);
        painter.drawText(QPointF(1, 8), QStringLiteral("Tabela"));
    }
    const char* cargos[] = {"V", "S", "G"};
    const char* bases[] = {"DATAEVENTO", "DATAFECHAMENTO"};
    std::vector<double> timings, cpu;
    for (int t = 0; t < kTables; ++t) {
        data.cdsComissao.SetRecNo(t + 1);
        const int month = t % 12 + 1, year = 2000 + t / 12;
        std::vector<Row> promotions;
        for (int p = 0; p < kPromotionsPerTable; ++p) {
            const int day = p % 27 + 1;
            promotions.push_back({static_cast<double>(t * kPromotionsPerTable + p + 1), static_cast<double>(t + 1),
                                  DateTime::fromYmd(year, month, day), DateTime::fromYmd(year, month, std::min(day + 2, 28)),
                                  std::string(bases[p % 2]), "0" + std::to_string(10 + p % 17),
                                  "Evento " + std::to_string(p % 17), std::string(cargos[p % 3]), Null{}});
        }
        data.cdsPromocao.SetData(packet(data.cdsPromocao, std::move(promotions)));

        const auto t0 = Clock::now();
        const double c0 = cpuMs();
        const gui::TimelineData timeline =
            gui::ReadTimeline(data.cdsComissao, &data.cdsPromocao, true, "Promoções · Tabela",
                              {"Data do Evento", "Data de Fechamento"}, DateTime::fromYmd(2010, 6, 15));
        const gui::TimelineLayout layout(timeline, 1200);
        QImage image(1200, static_cast<int>(layout.height()) + 1, QImage::Format_RGB32);
        QPainter painter(&image);
        gui::PaintTimeline(painter, timeline, layout);
        painter.end();
        cpu.push_back(cpuMs() - c0);
        timings.push_back(ms(Clock::now() - t0));
    }
    // The first draw fills the glyph caches; it is reported on its own.
    const double first = timings.front(), firstCpu = cpu.front();
    timings.erase(timings.begin());
    cpu.erase(cpu.begin());
    const Figures f = figures(timings), c = figures(cpu);
    std::printf("timeline, %d tables, %d promotions of the current one, read + laid out + drawn 1200 px wide:\n"
                "  first draw %.1f ms (cpu %.1f); the other %d: median %.2f ms, p95 %.2f, max %.2f "
                "(cpu median %.2f, max %.2f)\n",
                kTables, kPromotionsPerTable, first, firstCpu, kTables - 1, f.median, f.p95, f.max, c.median, c.max);
}

void insert(appserver::Store& store, ListKind list, std::vector<Row> rows) {
    wire::ChangeLog log;
    log.fields = appserver::datasets::of(list);
    for (auto& r : rows) log.changes.push_back({wire::ChangeOp::Insert, {}, std::move(r)});
    store.apply(list, log);
}

void seed(appserver::Store& store) {
    insert(store, ListKind::Comissao,
           {{Null{}, std::string("Tabela grande"), DateTime::fromYmd(2025, 1, 1), DateTime::fromYmd(2025, 12, 31),
             std::string("0001")}});
    const double nr = 1;
    insert(store, ListKind::Cargo, {{Null{}, std::string("V"), nr}, {Null{}, std::string("S"), nr}, {Null{}, std::string("G"), nr}});
    const char* cargos[] = {"V", "S", "G"};
    std::vector<Row> eventos;
    for (int e = 0; e < kEventRules; ++e) {
        char code[4];
        std::snprintf(code, sizeof code, "%03d", e / 3);
        eventos.push_back({Null{}, nr, std::string(code), "Evento " + std::string(code), std::string(cargos[e % 3])});
    }
    insert(store, ListKind::Evento, std::move(eventos));

    auto bands = [&](ListKind list, const char* kind, int ruleColumn, const wire::DataPacket& rules) {
        std::vector<Row> rows;
        for (const Row& rule : rules.rows)
            for (int b = 0; b < kBandsPerRule; ++b) {
                Row row = {Null{}, nr, std::string(kind), Null{}, Null{}, Null{}, b * 1000.0, (b * 100000 + 99999) / 100.0,
                           1 + b * 0.25};
                row[static_cast<std::size_t>(ruleColumn)] = rule[0];
                rows.push_back(std::move(row));
            }
        insert(store, list, std::move(rows));
    };
    bands(ListKind::PercCargo, "CARGO", 3, store.cargos(nr));
    bands(ListKind::PercEvento, "TIPOEVENTO", 4, store.eventos(nr));
}

void benchReport(const std::string& dbPath) {
    appserver::SqliteStore store(dbPath);
    if (store.isEmpty()) seed(store);
    appserver::ServerOptions options;
    options.port = 0;
    const appserver::EmbeddedServer server(store, options);

    const auto out = std::filesystem::temp_directory_path() / "ktr52300_bench_report";
    std::vector<double> fetch, pdf, pdfCpu, csv;
    int rules = 0, bandCount = 0;
    for (int i = 0; i < 5; ++i) {
        gui::CommissionData data;
        data.NetComissao.SetHost("127.0.0.1");
        data.NetComissao.SetPort(server.port());
        data.NetComissao.SetConnected(true);
        auto t0 = Clock::now();
        const gui::CommissionReport report = gui::FetchReport(data.rdmComissao, data, 1, "", gui::PrintedNow());
        fetch.push_back(ms(Clock::now() - t0));
        rules = report.ruleCount();
        bandCount = report.bandCount();
        t0 = Clock::now();
        const double c0 = cpuMs();
        gui::WriteReportPdf(report, QString::fromStdString(out.string() + ".pdf"));
        pdfCpu.push_back(cpuMs() - c0);
        pdf.push_back(ms(Clock::now() - t0));
        t0 = Clock::now();
        std::ofstream(out.string() + ".csv", std::ios::binary) << gui::ReportCsv(report);
        csv.push_back(ms(Clock::now() - t0));
    }
    const Figures f = figures(fetch), p = figures(pdf), pc = figures(pdfCpu), c = figures(csv);
    std::printf("report, %d rules, %d bands (5 runs):\n"
                "  read through the connection: median %.0f ms (max %.0f)\n"
                "  PDF written: median %.0f ms (max %.0f; cpu median %.0f ms), %.1f MB\n"
                "  CSV written: median %.0f ms\n"
                "  read + PDF: median %.0f ms\n",
                rules, bandCount, f.median, f.max, p.median, p.max, pc.median,
                static_cast<double>(std::filesystem::file_size(out.string() + ".pdf")) / 1e6, c.median,
                f.median + p.median);
    std::filesystem::remove(out.string() + ".pdf");
    std::filesystem::remove(out.string() + ".csv");
}

}  // namespace

int main(int argc, char** argv) {
    // As backoffice-report does: the PDF writer's per-page allocations stay with the process.
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchTimeline();
    const bool keep = argc > 1;
    const std::string db = keep ? argv[1] : (std::filesystem::temp_directory_path() / "ktr52300_bench_report.db").string();
    if (!keep) std::filesystem::remove(db);
    benchReport(db);
    if (!keep)
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);
    return 0;
}
