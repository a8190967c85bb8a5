// Internal to the stores: reading rows into packets and applying change logs with their invariants,
// written once over a connection of either store (sqlite::Database, pg::Connection).
#pragma once
#include <string>
#include <vector>

#include "store/author.h"
#include "store/datasets.h"
#include "wire/packet.h"

namespace appserver::detail {

const char* tableOf(ListKind k);
// "A, B, C": the columns of a field list, for SELECT.
std::string columnList(const std::vector<wire::FieldDef>& fields);
// Reads every remaining row of `q`, whose columns are `fields` in order.
template <class Query>
wire::DataPacket readPacket(Query& q, const std::vector<wire::FieldDef>& fields);

// Applies the log's changes in order inside the caller's open transaction, each recorded in the
// history under the author's name. Throws Refusal or BadChangeLog.
template <class Db>
void applyChanges(Db& db, ListKind kind, const wire::ChangeLog& log, const Author& author);

}  // namespace appserver::detail
