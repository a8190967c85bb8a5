// The history of applied changes: who, when (the server's clock, UTC), which list, which
// operation and the row before and after. Written by the store inside the transaction of the
// change itself, so it never tells of a change that did not happen; only ever appended to.
#pragma once
#include <string>
#include <vector>

#include "store/author.h"
#include "store/datasets.h"
#include "wire/packet.h"

namespace appserver::history {

// The fields of GetHistorico's packet, in order.
const std::vector<wire::FieldDef>& fields();

// One applied change of the list `kind` under the table `nrComissao`: `before` is empty for an
// insert, `after` for a delete; both in the list's field order.
template <class Db>
void record(Db& db, const Author& author, ListKind kind, wire::ChangeOp op, long long nrComissao,
            const wire::Row& before, const wire::Row& after);

// (Db: sqlite::Database or pg::Connection.)
// A table's history, oldest change first.
template <class Db>
wire::DataPacket read(Db& db, double nrComissao);

}  // namespace appserver::history
