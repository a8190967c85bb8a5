#include "wire/lists.h"

#include <string>

namespace wire {

std::vector<FieldDef> List::defs() const {
    std::vector<FieldDef> out;
    out.reserve(fields.size());
    for (const ListField& f : fields) out.push_back(f.def());
    return out;
}

std::vector<FieldDef> ListView::defs() const {
    std::vector<FieldDef> out;
    out.reserve(names.size());
    for (const char* name : names) out.push_back(list.fields[list.at(name)].def());
    return out;
}

Scope scopeFromWord(std::string_view word) {
    for (Scope s : kScopes)
        if (word == scopeWord(s)) return s;
    throw std::invalid_argument("unknown scope kind \"" + std::string(word) + "\" (" + kScopeWords[0] + ", " +
                                kScopeWords[1] + " or " + kScopeWords[2] + ")");
}

}  // namespace wire
