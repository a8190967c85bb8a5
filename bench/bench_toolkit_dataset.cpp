// Data-set speed: loading a large packet, locating its last row, and the change log of 1,000 changes.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/tclientdataset.h"

namespace {

using wire::FieldType;

constexpr int kRows = 100000;

// Nine fields shaped like the screen's lists: numbers, codes, names and dates.
std::vector<wire::FieldDef> nineFields() {
    return {{"NRCOMISSAO", FieldType::Float, 0},   {"NRREGRA", FieldType::Float, 0},
            {"VRCOMISSAO", FieldType::Float, 0},   {"IDCARGOVEND", FieldType::String, 1},
            {"CDTIPOEVENTO", FieldType::String, 10}, {"DSCOMISSAO", FieldType::String, 30},
            {"IDTIPOCOMISSAO", FieldType::String, 10}, {"DTVALIDADEINI", FieldType::DateTime, 0},
            {"DTVALIDADEFIN", FieldType::DateTime, 0}};
}

const wire::DataPacket& bigPacket() {
    static const wire::DataPacket packet = [] {
        wire::DataPacket p{nineFields(), {}};
        p.rows.reserve(kRows);
        auto base = wire::DateTime::fromYmd(2020, 1, 1);
        for (int i = 0; i < kRows; ++i) {
            p.rows.push_back({static_cast<double>(i + 1), static_cast<double>(i % 97), (i % 1000) / 10.0,
                              std::string(1, "VSG"[i % 3]), std::to_string(1000 + i % 500),
                              "Tabela de comissão " + std::to_string(i), std::string("CARGO"),
                              wire::DateTime::fromSeconds(base.seconds() + (i % 2000) * 86400LL),
                              wire::DateTime::fromSeconds(base.seconds() + (i % 2000 + 30) * 86400LL)});
        }
        return p;
    }();
    return packet;
}

struct Screen {
    tk::TComponent owner{nullptr, "frm"};
    tk::TClientDataSet cds{&owner, "cdsBench"};
    std::vector<std::unique_ptr<tk::TField>> fields;
    Screen() {
        for (const auto& def : nineFields()) fields.push_back(std::make_unique<tk::TField>(cds, def.name, def.type, def.size));
    }
};

void BM_SetData100k(benchmark::State& state) {
    const auto& packet = bigPacket();
    Screen s;
    for (auto _ : state) {
        s.cds.SetData(packet);
        benchmark::DoNotOptimize(s.cds.RecordCount());
    }
}
BENCHMARK(BM_SetData100k)->Unit(benchmark::kMillisecond);

void BM_LocateLastRow(benchmark::State& state) {
    const auto& packet = bigPacket();
    Screen s;
    s.cds.SetData(packet);
    const wire::Row& last = packet.rows.back();
    // The screen's way: its own values, case-insensitive, a number, a text and a date.
    std::vector<wire::Value> key{last[0], last[5], last[7]};
    for (auto _ : state) {
        bool found = s.cds.Locate("NRCOMISSAO;DSCOMISSAO;DTVALIDADEINI", key, tk::loCaseInsensitive);
        if (!found || s.cds.RecNo() != kRows) state.SkipWithError("last row not found");
    }
}
BENCHMARK(BM_LocateLastRow)->Unit(benchmark::kMillisecond);

void BM_Delta1000Changes(benchmark::State& state) {
    Screen s;
    s.cds.SetData(bigPacket());
    auto& desc = s.cds.FieldByName("DSCOMISSAO");
    auto& value = s.cds.FieldByName("VRCOMISSAO");
    // 600 edits, 250 inserts and 150 deletes spread over the set.
    for (int i = 0; i < 1000; ++i) {
        s.cds.SetRecNo(1 + (i * 97) % (s.cds.RecordCount() - 1));
        if (i % 20 < 12) {
            s.cds.Edit();
            desc.SetAsString("Alterada " + std::to_string(i));
        } else if (i % 20 < 17) {
            s.cds.Insert();
            value.SetAsFloat(i);
            desc.SetAsString("Nova " + std::to_string(i));
        } else {
            s.cds.Delete();
            continue;
        }
        s.cds.Post();
    }
    if (s.cds.ChangeCount() < 990) state.SkipWithError("changes were not logged");
    for (auto _ : state) {
        wire::ChangeLog delta = s.cds.Delta();
        benchmark::DoNotOptimize(delta.changes.size());
    }
    state.counters["changes"] = static_cast<double>(s.cds.ChangeCount());
}
BENCHMARK(BM_Delta1000Changes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
