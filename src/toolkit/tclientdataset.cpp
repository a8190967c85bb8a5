#include "toolkit/tclientdataset.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "toolkit/exceptions.h"
#include "toolkit/field_values.h"
#include "toolkit/formats.h"
#include "toolkit/tdatasource.h"

namespace tk {

const char* stateName(TDataSetState s) {
    switch (s) {
        case TDataSetState::dsInactive: return "inactive";
        case TDataSetState::dsBrowse: return "browse";
        case TDataSetState::dsEdit: return "edit";
        case TDataSetState::dsInsert: return "insert";
    }
    return "?";
}

namespace {

// One row. `id` names it for the change log for its whole life; `order` places it among
// the rows of the base (as loaded or merged), so undoing changes can put deleted rows
// back where they were. Current rows are always in ascending `order`.
struct Rec {
    wire::Row values;
    std::uint64_t id = 0;
    std::int64_t order = 0;
};

// One unmerged change per row, in the order each row was first changed. An insert's
// values are the row's current ones; an update keeps the base values in `old`.
struct LogEntry {
    wire::ChangeOp op;
    std::uint64_t id;
    wire::Row old;
    std::int64_t order;
};

constexpr std::int64_t kOrderGap = 1 << 16;

// A field type as the data set's messages name it.
const char* typeNoun(wire::FieldType t) {
    switch (t) {
        case wire::FieldType::Float: return "número";
        case wire::FieldType::String: return "texto";
        case wire::FieldType::DateTime: return "data";
    }
    return "desconhecido";
}

// Folds ASCII and the Latin-1 letters of UTF-8 ("Ç" C3 87 -> "ç" C3 A7) to lower case.
// Folding keeps the byte length, so folded texts compare byte by byte.
inline char foldByte(char c, char prev) {
    auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
    if (static_cast<unsigned char>(prev) == 0xC3 && u >= 0x80 && u <= 0x9E && u != 0x97)
        return static_cast<char>(u + 32);
    return c;
}

std::string fold(std::string_view s) {
    std::string out(s);
    char prev = 0;
    for (char& c : out) {
        char orig = c;
        c = foldByte(c, prev);
        prev = orig;
    }
    return out;
}

bool equalsFolded(std::string_view text, std::string_view foldedKey, bool partial) {
    if (partial ? text.size() < foldedKey.size() : text.size() != foldedKey.size()) return false;
    char prev = 0;
    for (std::size_t i = 0; i < foldedKey.size(); ++i) {
        if (foldByte(text[i], prev) != foldedKey[i]) return false;
        prev = text[i];
    }
    return true;
}

}  // namespace

struct TClientDataSet::Impl {
    std::vector<Rec> rows;
    int cur = 0;
    bool eof = true, bof = true;
    std::vector<LogEntry> log;
    std::unordered_map<std::uint64_t, std::size_t> logIndex;  // row id -> position in log
    std::uint64_t nextId = 1;
    wire::Row editOld;     // the row's values when Edit began
    int insertReturn = 0;  // the current row before an insert, for its cancel
    bool inNewRecord = false;
    int readRow = -1;  // a row read in place of the current one (DisplayTextAt)
    std::vector<TDataSource*> sources;

    void reindexLog() {
        logIndex.clear();
        for (std::size_t i = 0; i < log.size(); ++i) logIndex[log[i].id] = i;
    }
    void clearLog() {
        log.clear();
        logIndex.clear();
    }
    void renumber() {
        std::int64_t n = 0;
        for (auto& r : rows) r.order = (n++) * kOrderGap;
    }
    // An order between the rows at pos-1 and pos; renumbers everything when no gap is left.
    std::int64_t orderAt(int pos) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::int64_t lo = pos > 0 ? rows[static_cast<std::size_t>(pos - 1)].order : std::numeric_limits<std::int64_t>::min() / 4;
            std::int64_t hi = pos < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(pos)].order
                                                                    : (pos > 0 ? lo + 2 * kOrderGap : 0);
            if (pos == 0 && !rows.empty()) lo = hi - 2 * kOrderGap;
            if (hi - lo >= 2) return lo + (hi - lo) / 2;
            respace();
        }
        return 0;
    }
    // Spreads the orders of current rows and of logged deletes apart, keeping their order.
    void respace() {
        std::vector<std::int64_t> all;
        for (auto& r : rows) all.push_back(r.order);
        for (auto& e : log)
            if (e.op == wire::ChangeOp::Delete) all.push_back(e.order);
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        auto remap = [&](std::int64_t o) {
            return static_cast<std::int64_t>(std::lower_bound(all.begin(), all.end(), o) - all.begin()) * kOrderGap;
        };
        for (auto& r : rows) r.order = remap(r.order);
        for (auto& e : log)
            if (e.op == wire::ChangeOp::Delete) e.order = remap(e.order);
    }
    // Index of each row whose id is in `ids`.
    std::unordered_map<std::uint64_t, std::size_t> positionsOf(const std::vector<LogEntry>& entries) const {
        std::unordered_map<std::uint64_t, std::size_t> pos;
        pos.reserve(entries.size());
        for (auto& e : entries)
            if (e.op != wire::ChangeOp::Delete) pos.emplace(e.id, SIZE_MAX);
        if (pos.empty()) return pos;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            auto it = pos.find(rows[i].id);
            if (it != pos.end()) it->second = i;
        }
        return pos;
    }
};

TClientDataSet::TClientDataSet(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), impl_(std::make_unique<Impl>()) {}

TClientDataSet::TClientDataSet(TComponent* owner, std::string name, const std::vector<wire::FieldDef>& fields)
    : TClientDataSet(owner, std::move(name)) {
    for (const wire::FieldDef& def : fields)
        declaredFields_.push_back(std::make_unique<TField>(*this, def.name, def.type, def.size));
}

TClientDataSet::~TClientDataSet() {
    for (TDataSource* source : impl_->sources) source->dataSet_ = nullptr;
    links_.clear();
    ownedFields_.clear();
    declaredFields_.clear();
    for (TField* f : fields_) f->detached_ = true;
}

// ---- fields ----------------------------------------------------------------------------

void TClientDataSet::addField(TField* field) {
    fields_.push_back(field);
    for (auto& r : impl_->rows) r.values.emplace_back();
    for (auto& e : impl_->log)
        if (!e.old.empty()) e.old.emplace_back();
    if (!impl_->editOld.empty()) impl_->editOld.emplace_back();
}

void TClientDataSet::removeField(TField* field) {
    int idx = indexOf(*field);
    if (idx < 0) return;
    fields_.erase(fields_.begin() + idx);
    auto eraseColumn = [idx](wire::Row& row) {
        if (static_cast<int>(row.size()) > idx) row.erase(row.begin() + idx);
    };
    for (auto& r : impl_->rows) eraseColumn(r.values);
    for (auto& e : impl_->log) eraseColumn(e.old);
    eraseColumn(impl_->editOld);
}

int TClientDataSet::indexOf(const TField& field) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i] == &field) return static_cast<int>(i);
    return -1;
}

TField* TClientDataSet::FindField(std::string_view fieldName) const {
    for (TField* f : fields_)
        if (f->FieldName() == fieldName) return f;
    // Field names are matched without regard to letter case when no exact name exists.
    std::string key = fold(fieldName);
    for (TField* f : fields_)
        if (fold(f->FieldName()) == key) return f;
    return nullptr;
}

TField& TClientDataSet::FieldByName(std::string_view fieldName) const {
    if (TField* f = FindField(fieldName)) return *f;
    throw EDatabaseError(Name() + ": o campo " + std::string(fieldName) + " não existe.");
}

wire::Value TClientDataSet::fieldValue(const TField& field) const {
    if (!Active() || impl_->rows.empty()) return wire::Null{};
    int row = impl_->readRow >= 0 ? impl_->readRow : impl_->cur;
    int col = indexOf(field);
    if (col < 0 || row >= static_cast<int>(impl_->rows.size())) return wire::Null{};
    return impl_->rows[static_cast<std::size_t>(row)].values[static_cast<std::size_t>(col)];
}

wire::Value TClientDataSet::fieldOldValue(const TField& field) const {
    if (state_ != TDataSetState::dsEdit || impl_->editOld.empty()) return fieldValue(field);
    const int col = indexOf(field);
    if (col < 0) return wire::Null{};
    return impl_->editOld[static_cast<std::size_t>(col)];
}

void TClientDataSet::setFieldValue(const TField& field, wire::Value v) {
    if (!Editing())
        throw EDatabaseError(Name() + ": o registro não está em edição (campo " + field.FieldName() + ").");
    int col = indexOf(field);
    if (col < 0) throw EDatabaseError(Name() + ": o campo " + field.FieldName() + " não pertence a este conjunto de dados.");
    impl_->rows[static_cast<std::size_t>(impl_->cur)].values[static_cast<std::size_t>(col)] = std::move(v);
    // Defaults given by OnNewRecord are not the user's changes: an untouched insert
    // stays unmodified and a browse check cancels it.
    if (!impl_->inNewRecord) modified_ = true;
    notify(TDataEvent::FieldChange, const_cast<TField*>(&field));
}

void TClientDataSet::focusField(TField& field) {
    auto links = links_;
    for (TDataLink* link : links)
        if (link->FocusField(field)) return;
}

// ---- links and events ------------------------------------------------------------------

void TClientDataSet::AddLink(TDataLink* link) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TClientDataSet::RemoveLink(TDataLink* link) { std::erase(links_, link); }

void TClientDataSet::addSource(TDataSource* source) { impl_->sources.push_back(source); }
void TClientDataSet::removeSource(TDataSource* source) { std::erase(impl_->sources, source); }

void TClientDataSet::notify(TDataEvent event, TField* field) {
    auto links = links_;  // a link may detach while being told
    for (TDataLink* link : links) link->DataEvent(event, field);
    Changed();
}

void TClientDataSet::fire(const TDataSetNotifyEvent& event) {
    if (event) {
        auto handler = event;  // the handler may reassign itself
        handler(*this);
    }
}

void TClientDataSet::setState(TDataSetState s) {
    if (state_ == s) return;
    state_ = s;
    notify(TDataEvent::StateChange);
}

void TClientDataSet::checkActive() const {
    if (!Active()) throw EDatabaseError(Name() + ": o conjunto de dados está fechado.");
}

// ---- open, close, navigation -----------------------------------------------------------

void TClientDataSet::Open() {
    if (Active()) return;
    impl_->cur = 0;
    impl_->bof = true;
    impl_->eof = impl_->rows.empty();
    setState(TDataSetState::dsBrowse);
    notify(TDataEvent::DataSetChange);
    fire(AfterOpen);
    if (!impl_->rows.empty()) fire(AfterScroll);
}

void TClientDataSet::Close() {
    if (!Active()) return;
    if (Editing()) discardEdit();
    setState(TDataSetState::dsInactive);
    notify(TDataEvent::DataSetChange);
    fire(AfterClose);
}

bool TClientDataSet::IsEmpty() const { return !Active() || impl_->rows.empty(); }
int TClientDataSet::RecordCount() const { return Active() ? static_cast<int>(impl_->rows.size()) : 0; }
int TClientDataSet::RecNo() const { return IsEmpty() ? 0 : impl_->cur + 1; }
bool TClientDataSet::Eof() const { return IsEmpty() || impl_->eof; }
bool TClientDataSet::Bof() const { return IsEmpty() || impl_->bof; }

void TClientDataSet::scrollTo(int index, bool evenInPlace) {
    impl_->eof = impl_->bof = false;
    if (index == impl_->cur && !evenInPlace) return;
    fire(BeforeScroll);
    if (index != impl_->cur) {
        impl_->cur = index;
        notify(TDataEvent::Scroll);
    }
    fire(AfterScroll);
}

// First and Last go to their row whatever the cursor stands on, so their scroll events run
// also when it is there already: a handler that follows the current row sees every go-to.
void TClientDataSet::First() {
    checkActive();
    CheckBrowseMode();
    if (impl_->rows.empty()) return;
    scrollTo(0, true);
    impl_->bof = true;
}

void TClientDataSet::Last() {
    checkActive();
    CheckBrowseMode();
    if (impl_->rows.empty()) return;
    scrollTo(static_cast<int>(impl_->rows.size()) - 1, true);
}

void TClientDataSet::Next() {
    checkActive();
    CheckBrowseMode();
    if (impl_->rows.empty()) return;
    if (impl_->cur + 1 >= static_cast<int>(impl_->rows.size())) {
        impl_->eof = true;
        return;
    }
    scrollTo(impl_->cur + 1);
}

void TClientDataSet::Prior() {
    checkActive();
    CheckBrowseMode();
    if (impl_->rows.empty()) return;
    if (impl_->cur == 0) {
        impl_->bof = true;
        return;
    }
    scrollTo(impl_->cur - 1);
}

void TClientDataSet::SetRecNo(int recNo) {
    checkActive();
    CheckBrowseMode();
    if (impl_->rows.empty()) return;
    scrollTo(std::clamp(recNo, 1, static_cast<int>(impl_->rows.size())) - 1);
}

// ---- editing ---------------------------------------------------------------------------

void TClientDataSet::CheckBrowseMode() {
    checkActive();
    if (!Editing()) return;
    UpdateRecord();
    if (modified_) Post();
    else Cancel();
}

void TClientDataSet::UpdateRecord() {
    if (Editing()) notify(TDataEvent::UpdateRecord);
}

void TClientDataSet::Insert() { beginInsert(false); }
void TClientDataSet::Append() { beginInsert(true); }

void TClientDataSet::beginInsert(bool atEnd) {
    checkActive();
    CheckBrowseMode();
    fire(BeforeInsert);
    fire(BeforeScroll);
    auto& rows = impl_->rows;
    int pos = (atEnd || rows.empty()) ? static_cast<int>(rows.size()) : impl_->cur;
    impl_->insertReturn = impl_->cur;
    Rec rec{wire::Row(fields_.size()), impl_->nextId++, impl_->orderAt(pos)};
    rows.insert(rows.begin() + pos, std::move(rec));
    impl_->cur = pos;
    impl_->eof = impl_->bof = false;
    modified_ = false;
    setState(TDataSetState::dsInsert);
    notify(TDataEvent::DataSetChange);
    impl_->inNewRecord = true;
    try {
        fire(OnNewRecord);
    } catch (...) {
        // A row whose defaults failed is not left half made.
        impl_->inNewRecord = false;
        discardEdit();
        throw;
    }
    impl_->inNewRecord = false;
    modified_ = false;
    fire(AfterInsert);
    fire(AfterScroll);
}

void TClientDataSet::Edit() {
    checkActive();
    if (Editing()) return;
    if (impl_->rows.empty()) {
        Append();
        return;
    }
    fire(BeforeEdit);
    impl_->editOld = impl_->rows[static_cast<std::size_t>(impl_->cur)].values;
    modified_ = false;
    setState(TDataSetState::dsEdit);
    fire(AfterEdit);
}

void TClientDataSet::discardEdit() {
    auto& rows = impl_->rows;
    if (state_ == TDataSetState::dsInsert) {
        rows.erase(rows.begin() + impl_->cur);
        impl_->cur = rows.empty() ? 0 : std::clamp(impl_->insertReturn, 0, static_cast<int>(rows.size()) - 1);
    } else if (state_ == TDataSetState::dsEdit) {
        rows[static_cast<std::size_t>(impl_->cur)].values = std::move(impl_->editOld);
    }
    impl_->editOld.clear();
    modified_ = false;
    impl_->inNewRecord = false;
    setState(TDataSetState::dsBrowse);
    notify(TDataEvent::DataSetChange);
}

void TClientDataSet::storeRow() {
    Rec& rec = impl_->rows[static_cast<std::size_t>(impl_->cur)];
    if (state_ == TDataSetState::dsInsert) {
        if (LogChanges) {
            impl_->logIndex[rec.id] = impl_->log.size();
            impl_->log.push_back({wire::ChangeOp::Insert, rec.id, {}, rec.order});
        }
    } else if (rec.values != impl_->editOld && LogChanges && !impl_->logIndex.contains(rec.id)) {
        // Later edits of a row already logged only change its current values.
        impl_->logIndex[rec.id] = impl_->log.size();
        impl_->log.push_back({wire::ChangeOp::Update, rec.id, std::move(impl_->editOld), rec.order});
    }
    impl_->editOld.clear();
}

void TClientDataSet::Post() {
    checkActive();
    if (!Editing()) return;
    UpdateRecord();
    fire(BeforePost);
    storeRow();
    modified_ = false;
    setState(TDataSetState::dsBrowse);
    notify(TDataEvent::DataSetChange);
    fire(AfterPost);
}

void TClientDataSet::Cancel() {
    if (!Editing()) return;
    fire(BeforeCancel);
    bool wasInsert = state_ == TDataSetState::dsInsert;
    if (wasInsert) fire(BeforeScroll);
    discardEdit();
    fire(AfterCancel);
    if (wasInsert) fire(AfterScroll);
}

void TClientDataSet::Delete() {
    checkActive();
    if (state_ == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    auto& rows = impl_->rows;
    if (rows.empty()) throw EDatabaseError(Name() + ": não há registro a excluir.");
    fire(BeforeDelete);
    fire(BeforeScroll);
    if (state_ == TDataSetState::dsEdit) {
        // The pending edit goes with the row; the log records the row as stored.
        rows[static_cast<std::size_t>(impl_->cur)].values = std::move(impl_->editOld);
        impl_->editOld.clear();
        modified_ = false;
    }
    Rec rec = std::move(rows[static_cast<std::size_t>(impl_->cur)]);
    rows.erase(rows.begin() + impl_->cur);
    if (impl_->cur >= static_cast<int>(rows.size())) impl_->cur = std::max(0, static_cast<int>(rows.size()) - 1);
    impl_->eof = impl_->bof = rows.empty();

    auto& log = impl_->log;
    auto it = impl_->logIndex.find(rec.id);
    if (it != impl_->logIndex.end()) {
        LogEntry& e = log[it->second];
        if (e.op == wire::ChangeOp::Insert || !LogChanges) {
            // Inserted and deleted before being sent: the server never hears of it.
            log.erase(log.begin() + static_cast<std::ptrdiff_t>(it->second));
            impl_->reindexLog();
        } else {
            e.op = wire::ChangeOp::Delete;  // old already holds the base values
        }
    } else if (LogChanges) {
        impl_->logIndex[rec.id] = log.size();
        log.push_back({wire::ChangeOp::Delete, rec.id, std::move(rec.values), rec.order});
    }

    setState(TDataSetState::dsBrowse);
    notify(TDataEvent::DataSetChange);
    fire(AfterDelete);
    fire(AfterScroll);
}

// ---- packets and the change log --------------------------------------------------------

void TClientDataSet::SetData(const wire::DataPacket& packet) {
    // Everything is checked before anything changes, so a refused packet leaves the set as it was.
    const bool dynamicFields = fields_.empty() || !ownedFields_.empty();
    std::vector<int> columnOf;  // packet column of each field
    if (dynamicFields) {
        for (std::size_t i = 0; i < packet.fields.size(); ++i) columnOf.push_back(static_cast<int>(i));
    } else {
        for (TField* f : fields_) {
            int col = packet.fieldIndex(f->FieldName());
            if (col < 0) throw EDatabaseError(Name() + ": o pacote de dados não traz o campo " + f->FieldName() + ".");
            if (packet.fields[static_cast<std::size_t>(col)].type != f->DataType())
                throw EDatabaseError(Name() + ": o campo " + f->FieldName() + " é do tipo " + typeNoun(f->DataType()) +
                                     ", mas o pacote de dados o traz como " +
                                     typeNoun(packet.fields[static_cast<std::size_t>(col)].type) + ".");
            columnOf.push_back(col);
        }
    }
    std::vector<wire::FieldType> types;
    for (auto& def : packet.fields) types.push_back(def.type);
    for (std::size_t r = 0; r < packet.rows.size(); ++r) {
        const wire::Row& row = packet.rows[r];
        if (row.size() != packet.fields.size())
            throw EDatabaseError(Name() + ": a linha " + std::to_string(r + 1) + " do pacote de dados tem " +
                                 std::to_string(row.size()) + " valores para " + std::to_string(packet.fields.size()) +
                                 " campos.");
        for (std::size_t c = 0; c < row.size(); ++c) {
            const wire::Value& v = row[c];
            bool ok = wire::isNull(v) || (types[c] == wire::FieldType::Float && std::holds_alternative<double>(v)) ||
                      (types[c] == wire::FieldType::String && std::holds_alternative<std::string>(v)) ||
                      (types[c] == wire::FieldType::DateTime && std::holds_alternative<wire::DateTime>(v));
            if (!ok)
                throw EDatabaseError(Name() + ": a linha " + std::to_string(r + 1) +
                                     " do pacote de dados traz um valor de outro tipo no campo " + packet.fields[c].name + ".");
        }
    }

    if (Active()) {
        if (Editing()) discardEdit();
        setState(TDataSetState::dsInactive);
        fire(AfterClose);
    }

    auto& rows = impl_->rows;
    rows.clear();
    impl_->clearLog();
    impl_->editOld.clear();
    if (dynamicFields) {
        std::vector<wire::FieldDef> current;
        for (TField* f : fields_) current.push_back(f->Def());
        if (current != packet.fields) {
            ownedFields_.clear();
            for (auto& def : packet.fields)
                ownedFields_.push_back(std::make_unique<TField>(*this, def.name, def.type, def.size));
        }
    }

    std::vector<int> sizes;
    for (TField* f : fields_) sizes.push_back(f->Size());
    bool identity = columnOf.size() == packet.fields.size();
    for (std::size_t i = 0; identity && i < columnOf.size(); ++i) identity = columnOf[i] == static_cast<int>(i);

    rows.reserve(packet.rows.size());
    std::int64_t order = 0;
    for (const wire::Row& src : packet.rows) {
        Rec rec;
        if (identity) {
            rec.values = src;
        } else {
            rec.values.reserve(columnOf.size());
            for (int col : columnOf) rec.values.push_back(src[static_cast<std::size_t>(col)]);
        }
        for (std::size_t c = 0; c < rec.values.size(); ++c)
            if (sizes[c] > 0)
                if (auto s = std::get_if<std::string>(&rec.values[c])) cutToSize(*s, sizes[c]);
        rec.id = impl_->nextId++;
        rec.order = order;
        order += kOrderGap;
        rows.push_back(std::move(rec));
    }
    impl_->cur = 0;
    impl_->bof = true;
    impl_->eof = rows.empty();
    modified_ = false;

    setState(TDataSetState::dsBrowse);
    notify(TDataEvent::DataSetChange);
    fire(AfterOpen);
    if (!rows.empty()) fire(AfterScroll);
}

wire::DataPacket TClientDataSet::GetData() const {
    wire::DataPacket packet;
    for (TField* f : fields_) packet.fields.push_back(f->Def());
    if (!Active()) return packet;
    packet.rows.reserve(impl_->rows.size());
    for (std::size_t i = 0; i < impl_->rows.size(); ++i) {
        // The row being edited or inserted is not stored yet.
        bool isCurrent = static_cast<int>(i) == impl_->cur;
        if (isCurrent && state_ == TDataSetState::dsInsert) continue;
        if (isCurrent && state_ == TDataSetState::dsEdit) packet.rows.push_back(impl_->editOld);
        else packet.rows.push_back(impl_->rows[i].values);
    }
    return packet;
}

wire::ChangeLog TClientDataSet::Delta() const {
    wire::ChangeLog delta;
    for (TField* f : fields_) delta.fields.push_back(f->Def());
    auto positions = impl_->positionsOf(impl_->log);
    auto storedValues = [&](std::uint64_t id) -> const wire::Row& {
        std::size_t i = positions.at(id);
        // A row open in edit state reports what was stored, not what is being typed.
        if (static_cast<int>(i) == impl_->cur && state_ == TDataSetState::dsEdit) return impl_->editOld;
        return impl_->rows[i].values;
    };
    delta.changes.reserve(impl_->log.size());
    for (const LogEntry& e : impl_->log) {
        wire::Change c;
        c.op = e.op;
        if (e.op == wire::ChangeOp::Insert) {
            c.newRow = storedValues(e.id);
        } else if (e.op == wire::ChangeOp::Update) {
            c.oldRow = e.old;
            c.newRow = storedValues(e.id);
        } else {
            c.oldRow = e.old;
        }
        delta.changes.push_back(std::move(c));
    }
    return delta;
}

int TClientDataSet::ChangeCount() const { return static_cast<int>(impl_->log.size()); }

void TClientDataSet::MergeChangeLog() {
    impl_->clearLog();
    impl_->renumber();
}

void TClientDataSet::CancelUpdates() {
    if (Editing()) discardEdit();
    auto& rows = impl_->rows;
    auto& log = impl_->log;
    if (log.empty()) return;
    std::uint64_t currentId = rows.empty() ? 0 : rows[static_cast<std::size_t>(impl_->cur)].id;
    auto positions = impl_->positionsOf(log);
    std::unordered_set<std::uint64_t> inserted;
    for (LogEntry& e : log) {
        switch (e.op) {
            case wire::ChangeOp::Insert: inserted.insert(e.id); break;
            case wire::ChangeOp::Update: rows[positions.at(e.id)].values = std::move(e.old); break;
            case wire::ChangeOp::Delete: break;
        }
    }
    if (!inserted.empty()) std::erase_if(rows, [&](const Rec& r) { return inserted.contains(r.id); });
    bool restored = false;
    for (LogEntry& e : log) {
        if (e.op == wire::ChangeOp::Delete) {
            rows.push_back({std::move(e.old), e.id, e.order});
            restored = true;
        }
    }
    if (restored) std::sort(rows.begin(), rows.end(), [](const Rec& a, const Rec& b) { return a.order < b.order; });
    impl_->clearLog();

    int cur = 0;
    if (!rows.empty()) {
        cur = std::min(impl_->cur, static_cast<int>(rows.size()) - 1);
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].id == currentId) cur = static_cast<int>(i);
    }
    impl_->cur = cur;
    impl_->eof = impl_->bof = rows.empty();
    notify(TDataEvent::DataSetChange);
    // The rows changed under the cursor (a row gone, one back, values restored): whatever
    // follows the current row must look again.
    fire(AfterScroll);
}

// ---- search and views ------------------------------------------------------------------

bool TClientDataSet::Locate(std::string_view keyFields, const std::vector<wire::Value>& values, TLocateOptions options) {
    checkActive();
    CheckBrowseMode();

    struct Key {
        std::size_t col;
        wire::FieldType type;
        wire::Value value;
        std::string folded;  // for case-insensitive strings
    };
    std::vector<Key> keys;
    std::size_t start = 0;
    while (start <= keyFields.size()) {
        std::size_t end = keyFields.find(';', start);
        if (end == std::string_view::npos) end = keyFields.size();
        std::string_view name = keyFields.substr(start, end - start);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!name.empty()) {
            TField& f = FieldByName(name);
            keys.push_back({static_cast<std::size_t>(indexOf(f)), f.DataType(), {}, {}});
        }
        start = end + 1;
    }
    if (keys.empty() || keys.size() != values.size())
        throw EDatabaseError(Name() + ": busca por " + std::to_string(keys.size()) + " campo(s) com " +
                             std::to_string(values.size()) + " valor(es).");
    const bool caseInsensitive = options & loCaseInsensitive;
    const bool partial = options & loPartialKey;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        try {
            // No size cut here: a longer key simply matches nothing.
            keys[i].value = convertTo(keys[i].type, 0, values[i], fields_[keys[i].col]->label());
        } catch (const EConvertError&) {
            return false;  // a key of the wrong kind matches no row
        }
        if (caseInsensitive)
            if (auto s = std::get_if<std::string>(&keys[i].value)) keys[i].folded = fold(*s);
    }

    auto matches = [&](const wire::Row& row) {
        for (const Key& k : keys) {
            const wire::Value& v = row[k.col];
            if (v.index() != k.value.index()) return false;
            if (auto s = std::get_if<std::string>(&v)) {
                const std::string& want = std::get<std::string>(k.value);
                if (caseInsensitive) {
                    if (!equalsFolded(*s, k.folded, partial)) return false;
                } else if (partial ? !s->starts_with(want) : *s != want) {
                    return false;
                }
            } else if (v != k.value) {
                return false;
            }
        }
        return true;
    };
    const auto& rows = impl_->rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (matches(rows[i].values)) {
            // A match on the current row still scrolls: the caller asked to stand there.
            scrollTo(static_cast<int>(i), true);
            return true;
        }
    }
    return false;
}

std::string TClientDataSet::DisplayTextAt(int recNo, const TField& field) const {
    if (!Active() || recNo < 1 || recNo > static_cast<int>(impl_->rows.size())) return {};
    // The field reads the asked row while its text is made, so OnGetText handlers see it.
    struct ReadRow {
        Impl& impl;
        int saved;
        ~ReadRow() { impl.readRow = saved; }
    } guard{*impl_, impl_->readRow};
    impl_->readRow = recNo - 1;
    return field.DisplayText();
}

wire::Value TClientDataSet::ValueAt(int recNo, int fieldIndex) const {
    if (!Active() || recNo < 1 || recNo > static_cast<int>(impl_->rows.size()) || fieldIndex < 0 ||
        fieldIndex >= static_cast<int>(fields_.size()))
        return wire::Null{};
    return impl_->rows[static_cast<std::size_t>(recNo - 1)].values[static_cast<std::size_t>(fieldIndex)];
}

}  // namespace tk
