#include "batch/apuracao.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "batch/chunk_relay.h"
#include "batch/code_table.h"
#include "batch/part_file.h"
#include "batch/payment_cells.h"
#include "batch/sales_file.h"
#include "batch/text_buffer.h"
#include "commission/comparison.h"
#include "commission/money.h"
#include "commission/words.h"

namespace batch {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kResultColumns =
    ";NRCOMISSAOOREV;IDTIPOCOMISSAO;NRREGRA;NRFAIXACOMISSAOOREV;VRCOMISSAO;VRCOMISSAOVENDA;MOTIVO";
constexpr std::string_view kComparedColumns =
    ";NRCOMISSAOOREV_B;IDTIPOCOMISSAO_B;NRREGRA_B;NRFAIXACOMISSAOOREV_B;VRCOMISSAO_B;VRCOMISSAOVENDA_B;DIFERENCA;MOTIVO_B";

struct Totals {
    std::uint64_t count = 0, unpaid = 0;
    long long sales = 0, commission = 0;
    long long commissionB = 0;  // as the compared table pays
};

// Exact cents or a failure: a total never wraps around.
void add(long long& total, long long cents) {
    if (__builtin_add_overflow(total, cents, &total))
        throw std::runtime_error("Os totais passam do maior valor que a apuração guarda.");
}

void add(Totals& into, const Totals& more) {
    into.count += more.count;
    into.unpaid += more.unpaid;
    add(into.sales, more.sales);
    add(into.commission, more.commission);
    add(into.commissionB, more.commissionB);
}

void appendInteger(std::string& out, long long n) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, r.ptr);
}

void appendCell(std::string& out, std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Salespeople in code order: codes of digits by their number, then the others as text.
struct CodeOrder {
    static bool numeric(const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    }
    bool operator()(const std::string& a, const std::string& b) const {
        const bool na = numeric(a), nb = numeric(b);
        if (na != nb) return na;
        if (na) {
            const std::string_view x = std::string_view(a).substr(std::min(a.find_first_not_of('0'), a.size()));
            const std::string_view y = std::string_view(b).substr(std::min(b.find_first_not_of('0'), b.size()));
            if (x.size() != y.size()) return x.size() < y.size();
            if (x != y) return x < y;
        }
        return a < b;
    }
};

struct Refused {
    std::uint64_t line;  // within its chunk, from 0
    Refusal why;
};

// A line its own table pays and the compared table would not: PREFIX-lacunas.csv's cells after LINHA.
struct Hole {
    std::uint64_t line;  // within its chunk, from 0
    std::string cells;
};

// What a chunk of lines gives, to be written in the order of the chunks.
struct ChunkResult {
    TextBuffer vendas;
    std::vector<Refused> refused;
    std::vector<Hole> holes;
    std::uint64_t lines = 0;  // in the chunk, blank ones included
    Summary counts;

    // Empty again, the room of its buffers kept for the next chunk.
    void clear() {
        vendas.clear();
        refused.clear();
        holes.clear();
        lines = 0;
        counts = Summary{};
    }
};

// What a paying thread keeps from chunk to chunk: its chunk's buffer, whose room is then taken
// once, and its share of each salesperson's totals, so that a salesperson met again costs a
// lookup, not a new entry to merge. (The results' buffers are kept by the relay.)
struct Lane {
    std::string chunk;
    CodeTable<Totals> totals;
};

// What every chunk is paid by.
struct Payer {
    const commission::Engine& engine;
    const commission::Comparison* other;  // null: no comparison
    const Columns& columns;
    const PaymentCells& cells;

    // The six cells NRCOMISSAOOREV to VRCOMISSAOVENDA of a payment; blank but the table when unpaid.
    void appendPayment(std::string& out, const commission::Payment& p) const {
        const std::size_t had = out.size();
        out.resize(had + cells.most());
        out.resize(static_cast<std::size_t>(cells.put(out.data() + had, p) - out.data()));
    }
};

// The reasons of an answer in one cell's text.
std::string joined(const commission::Simulation& s) {
    std::string out;
    for (const std::string& why : s.reasons) {
        if (!out.empty()) out += " | ";
        out += why;
    }
    return out;
}

void payChunk(const Payer& payer, Lane& lane, ChunkResult& r) {
    const commission::Engine& engine = payer.engine;
    const commission::Comparison* other = payer.other;
    const Columns& columns = payer.columns;
    const std::string_view text = lane.chunk;
    r.clear();
    SaleLine sale;
    std::vector<CellSpan> cells;
    std::string words;
    Totals* last = nullptr;  // the salesperson of the line before: sales come grouped more often than not
    std::string lastCode;
    // Past the line itself, what a line's result cells take at most but for its reasons.
    const std::size_t most = 2 * (payer.cells.most() + kCentsMost + 4);
    // Reasons are of any length: they go in through append, the pointer taken again after them.
    const auto appendWords = [&](char*& o, const std::string& reasons) {
        r.vendas.end(o);
        words.clear();
        appendCell(words, reasons);
        r.vendas.append(words);
        o = r.vendas.room(most);
    };
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        ++r.lines;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        ++r.counts.read;
        if (auto bad = readLine(line, columns, sale, cells)) {
            r.refused.push_back({r.lines - 1, std::move(*bad)});
            ++r.counts.refused;
            continue;
        }
        if (!last || sale.vendedor != lastCode) {
            last = &lane.totals[sale.vendedor];
            lastCode = sale.vendedor;
        }
        Totals& t = *last;
        ++t.count;
        add(t.sales, sale.sale.valueCents);
        add(r.counts.salesCents, sale.sale.valueCents);

        const commission::Payment p = engine.pay(sale.sale);
        char* o = TextBuffer::put(r.vendas.room(line.size() + most), line);
        *o++ = ';';
        o = payer.cells.put(o, p);
        *o++ = ';';
        if (p.rule) {
            ++r.counts.paid;
            add(t.commission, p.commissionCents);
            add(r.counts.commissionCents, p.commissionCents);
        } else {
            ++r.counts.unpaid;
            ++t.unpaid;
            ++(!p.table ? r.counts.noTable : !p.metRule ? r.counts.noRule : r.counts.noBand);
            // The words are built only here, by the very search SimulaComissao answers with.
            appendWords(o, joined(engine.simulate(sale.sale)));
        }
        if (other) {
            const commission::Sale moved = other->moved(sale.sale, p.table);
            const commission::Payment b = other->pay(moved);
            *o++ = ';';
            o = payer.cells.put(o, b);
            *o++ = ';';
            const long long paidB = b.rule ? b.commissionCents : 0;
            o = putCents(o, paidB - (p.rule ? p.commissionCents : 0));
            *o++ = ';';
            if (b.rule) {
                ++r.counts.paidB;
                add(t.commissionB, paidB);
                add(r.counts.commissionCentsB, paidB);
            } else {
                const std::string reasons = joined(other->simulate(moved));
                appendWords(o, reasons);
                if (p.rule) {
                    ++r.counts.holes;
                    std::string hole;
                    appendCell(hole, cellText(line, cells[columns.venda]));
                    hole += ';';
                    appendCell(hole, sale.vendedor);
                    hole += ';';
                    payer.appendPayment(hole, p);
                    hole += ';';
                    appendCell(hole, reasons);
                    r.holes.push_back({r.lines - 1, std::move(hole)});
                }
            }
        }
        *o++ = '\n';
        r.vendas.end(o);
    }
}

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Reads the file in chunks that end at a line's end.
class ChunkReader {
public:
    ChunkReader(const std::string& path, std::size_t chunkBytes) : file_(std::fopen(path.c_str(), "rb")), size_(chunkBytes) {
        if (!file_) throw std::runtime_error("Não foi possível ler o arquivo " + path + ".");
        path_ = path;
    }

    // The first line, without its end; throws when the file has none.
    std::string header() {
        while (true) {
            const std::size_t nl = carry_.find('\n');
            if (nl != std::string::npos) {
                std::string line = carry_.substr(0, nl);
                carry_.erase(0, nl + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            if (!more(carry_)) {
                if (carry_.empty()) throw std::runtime_error("O arquivo " + path_ + " está vazio.");
                return std::exchange(carry_, {});
            }
        }
    }

    // The next lines, false at the end of the file.
    bool next(std::string& chunk) {
        chunk.assign(carry_);  // into the room the chunk already has
        carry_.clear();
        while (true) {
            while (chunk.size() < size_ && more(chunk)) {
            }
            if (eof_) return !chunk.empty();
            const std::size_t nl = chunk.rfind('\n');
            if (nl != std::string::npos) {
                carry_.assign(chunk, nl + 1);
                chunk.resize(nl + 1);
                return true;
            }
            // A line longer than a chunk: the chunk grows to hold it.
            if (!more(chunk)) return !chunk.empty();
        }
    }

private:
    bool more(std::string& into) {
        if (eof_) return false;
        const std::size_t had = into.size();
        const std::size_t want = std::max<std::size_t>(size_ > had ? size_ - had : 0, 1 << 16);
        into.resize(had + want);
        const std::size_t got = std::fread(into.data() + had, 1, want, file_.get());
        into.resize(had + got);
        if (got < want) {
            if (std::ferror(file_.get())) throw std::runtime_error("Não foi possível ler o arquivo " + path_ + ".");
            eof_ = true;
        }
        return got > 0;
    }

    std::unique_ptr<std::FILE, CloseFile> file_;
    std::string path_, carry_;
    std::size_t size_;
    bool eof_ = false;
};

// The compared table of a run, refused before anything is written when it does not exist.
std::unique_ptr<const commission::Comparison> comparisonOf(const commission::Engine& engine, const RunOptions& options) {
    if (!options.compareTable) return nullptr;
    try {
        return std::make_unique<const commission::Comparison>(engine, static_cast<double>(*options.compareTable));
    } catch (const std::invalid_argument&) {
        throw std::runtime_error("Tabela de comissão " + std::to_string(*options.compareTable) +
                                 " não encontrada: nenhum arquivo gravado.");
    }
}

// The ten salespeople whose difference is largest in the direction `gain` says.
std::vector<SellerDifference> largest(const std::vector<const std::pair<const std::string, Totals>*>& ordered, bool gain) {
    std::vector<SellerDifference> out;
    for (const auto* entry : ordered) {
        const long long d = entry->second.commissionB - entry->second.commission;
        if (gain ? d > 0 : d < 0) out.push_back({entry->first, entry->second.commission, entry->second.commissionB});
    }
    // Stable: a tie keeps the code order the list came in.
    std::stable_sort(out.begin(), out.end(), [gain](const SellerDifference& a, const SellerDifference& b) {
        const long long x = a.commissionCentsB - a.commissionCents, y = b.commissionCentsB - b.commissionCents;
        return gain ? x > y : x < y;
    });
    if (out.size() > 10) out.resize(10);
    return out;
}

}  // namespace

Summary apura(const commission::Engine& engine, const RunOptions& options) {
    const auto started = std::chrono::steady_clock::now();
    const auto other = comparisonOf(engine, options);
    std::size_t chunkBytes = options.chunkBytes;
    if (chunkBytes == 0) {
        std::error_code error;
        const auto size = std::filesystem::file_size(options.sales, error);
        chunkBytes = std::clamp<std::size_t>(error ? 0 : static_cast<std::size_t>(size / 64), 64u << 10, 256u << 10);
    }
    ChunkReader reader(options.sales, chunkBytes);
    std::string header = reader.header();
    const bool bom = std::string_view(header).starts_with(kBom);
    const Columns columns = readHeader(header);  // throws before any file is made
    if (bom) header.erase(0, kBom.size());

    PartFile vendas(options.prefix + "-vendas.csv"), vendedores(options.prefix + "-vendedores.csv"),
        recusadas(options.prefix + "-recusadas.csv");
    std::optional<PartFile> lacunas;
    const std::string_view mark = bom ? kBom : std::string_view();
    vendas.write(mark);
    vendas.write(header);
    vendas.write(kResultColumns);
    if (other) vendas.write(kComparedColumns);
    vendas.write("\n");
    recusadas.write(mark);
    recusadas.write("LINHA;COLUNA;MOTIVO\n");
    if (other) {
        lacunas.emplace(options.prefix + "-lacunas.csv");
        lacunas->write(mark);
        lacunas->write("LINHA;VENDA;VENDEDOR;NRCOMISSAOOREV;IDTIPOCOMISSAO;NRREGRA;NRFAIXACOMISSAOOREV;VRCOMISSAO;"
                       "VRCOMISSAOVENDA;MOTIVO_B\n");
    }

    Summary summary;
    summary.version = engine.snapshot().version;
    std::unordered_map<std::string, Totals> totals;  // put in code order once, at the end
    std::uint64_t nextLine = 2;  // the header is line 1
    std::string lineText;
    auto write = [&](const ChunkResult& r) {
        vendas.write(r.vendas.view());
        lineText.clear();
        for (const Refused& x : r.refused) {
            appendInteger(lineText, static_cast<long long>(nextLine + x.line));
            lineText += ';';
            appendCell(lineText, x.why.column);
            lineText += ';';
            appendCell(lineText, x.why.reason);
            lineText += '\n';
        }
        recusadas.write(lineText);
        if (lacunas) {
            lineText.clear();
            for (const Hole& x : r.holes) {
                appendInteger(lineText, static_cast<long long>(nextLine + x.line));
                lineText += ';';
                lineText += x.cells;
                lineText += '\n';
            }
            lacunas->write(lineText);
        }
        nextLine += r.lines;
        summary.read += r.counts.read;
        summary.paid += r.counts.paid;
        summary.unpaid += r.counts.unpaid;
        summary.refused += r.counts.refused;
        summary.noTable += r.counts.noTable;
        summary.noRule += r.counts.noRule;
        summary.noBand += r.counts.noBand;
        summary.paidB += r.counts.paidB;
        summary.holes += r.counts.holes;
        add(summary.salesCents, r.counts.salesCents);
        add(summary.commissionCents, r.counts.commissionCents);
        add(summary.commissionCentsB, r.counts.commissionCentsB);
        if (options.progress) options.progress(summary.read);
    };

    {
        const PaymentCells cells(engine.snapshot());
        const Payer payer{engine, other.get(), columns, cells};
        const auto read = [&](std::string& chunk) {
            if (options.interrupted && options.interrupted())
                throw std::runtime_error("Apuração interrompida: nenhum arquivo gravado.");
            return reader.next(chunk);
        };
        const auto lanes = relay<Lane, ChunkResult>(static_cast<std::size_t>(std::max(1, options.threads)), read,
                                                    [&payer](Lane& lane, ChunkResult& r) { payChunk(payer, lane, r); }, write);
        for (const Lane& lane : lanes)
            for (const auto& [code, t] : lane.totals.entries()) add(totals[code], t);
    }

    std::string text(mark);
    text += "VENDEDOR;QTVENDAS;VRVENDAS;VRCOMISSAOVENDA;QTSEMCOMISSAO";
    text += other ? ";VRCOMISSAOVENDA_B;DIFERENCA\n" : "\n";
    std::vector<const std::pair<const std::string, Totals>*> ordered;
    ordered.reserve(totals.size());
    for (const auto& entry : totals) ordered.push_back(&entry);
    std::sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) { return CodeOrder()(a->first, b->first); });
    for (const auto* entry : ordered) {
        const auto& [code, t] = *entry;
        appendCell(text, code);
        text += ';';
        appendInteger(text, static_cast<long long>(t.count));
        text += ';';
        appendCents(text, t.sales);
        text += ';';
        appendCents(text, t.commission);
        text += ';';
        appendInteger(text, static_cast<long long>(t.unpaid));
        if (other) {
            text += ';';
            appendCents(text, t.commissionB);
            text += ';';
            appendCents(text, t.commissionB - t.commission);
        }
        text += '\n';
    }
    vendedores.write(text);
    if (other) {
        summary.comparedTable = options.compareTable;
        summary.comparedName = commission::describe(other->table());
        summary.gainers = largest(ordered, true);
        summary.losers = largest(ordered, false);
    }
    if (options.interrupted && options.interrupted())
        throw std::runtime_error("Apuração interrompida: nenhum arquivo gravado.");
    vendas.finish();
    vendedores.finish();
    recusadas.finish();
    if (lacunas) lacunas->finish();
    vendas.commit();
    vendedores.commit();
    recusadas.commit();
    if (lacunas) lacunas->commit();
    summary.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return summary;
}

namespace {

std::string count(std::uint64_t n) {
    std::string s = std::to_string(n);
    for (int at = static_cast<int>(s.size()) - 3; at > 0; at -= 3) s.insert(static_cast<std::size_t>(at), ".");
    return s;
}

// "+1.234,56", "-0,50", "0,00".
std::string signedMoney(long long cents) { return (cents > 0 ? "+" : "") + commission::money::text(cents); }

std::string comparisonText(const Summary& s) {
    const std::string table = "tabela " + std::to_string(*s.comparedTable);
    std::string out;
    out += "Comparação com a " + table + ", " + s.comparedName +
           ", nas datas de cada venda movidas como numa cópia da sua tabela para ela\n";
    out += "Pagas pela " + table + ": " + count(s.paidB) + "\n";
    out += "Total das comissões pela " + table + ": " + commission::money::text(s.commissionCentsB) + "\n";
    out += "Diferença (" + table + " menos a atual): " + signedMoney(s.commissionCentsB - s.commissionCents) + "\n";
    const auto list = [&](const char* title, const std::vector<SellerDifference>& who) {
        out += title;
        out += who.empty() ? " nenhum\n" : "\n";
        for (const SellerDifference& d : who)
            out += "  " + d.vendedor + ": " + commission::money::text(d.commissionCents) + " → " +
                   commission::money::text(d.commissionCentsB) + " (" + signedMoney(d.commissionCentsB - d.commissionCents) +
                   ")\n";
    };
    list("Quem mais ganha:", s.gainers);
    list("Quem mais perde:", s.losers);
    out += "Lacunas (pagas hoje, nada pela " + table + "): " + count(s.holes) + "\n";
    return out;
}

}  // namespace

std::string summaryText(const Summary& s, const std::string& salesFile) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", s.seconds);
    std::string time = seconds;
    if (const auto dot = time.find('.'); dot != std::string::npos) time[dot] = ',';
    std::string out;
    out += "Apuração de " + salesFile + " pelas tabelas da versão " + std::to_string(s.version) + "\n";
    out += "Linhas lidas: " + count(s.read) + "\n";
    out += "Pagas: " + count(s.paid) + "\n";
    out += "Sem comissão: " + count(s.unpaid) + "\n";
    out += "  nenhuma comissão vale na data do evento: " + count(s.noTable) + "\n";
    out += "  nenhuma regra para o cargo e o tipo de evento: " + count(s.noRule) + "\n";
    out += "  nenhuma faixa ou janela contém a venda: " + count(s.noBand) + "\n";
    out += "Recusadas: " + count(s.refused) + "\n";
    out += "Total das vendas: " + commission::money::text(s.salesCents) + "\n";
    out += "Total das comissões: " + commission::money::text(s.commissionCents) + "\n";
    if (s.comparedTable) out += comparisonText(s);
    out += "Tempo: " + time + " s\n";
    return out;
}

}  // namespace batch
