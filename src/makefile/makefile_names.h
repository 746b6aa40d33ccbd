// The names of a run, each distinct text once, numbered densely: the one
// table through which a name is hashed once per run. It holds every name
// the makefile writes, and the texts the analysis makes from them: the
// unquoted names of files and the match keys of names. Its ids serve the
// duplicate check, the dependents graph and the stamp cache.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "base/name_table.h"

namespace vexel {

using NameId = int32_t;
constexpr NameId NoName = -1;

class MakefileNames {
public:
    // The id of name, adding it when it is new. The bytes must stay where
    // they are for the table's lifetime (the makefile's text does).
    NameId Add(std::string_view name) {
        bool added = false;
        return table_.Insert(name, added);
    }

    // The same for a name that is no stretch of the text; the table keeps a
    // copy when the name is new.
    NameId AddCopy(std::string name) {
        const NameId found = table_.Find(name);
        if (found != NoName) return found;
        return Add(owned_.emplace_back(std::move(name)));
    }

    std::string_view operator[](NameId id) const { return table_.At(id); }
    NameId Count() const { return static_cast<NameId>(table_.Count()); }

private:
    NameTable table_;
    std::deque<std::string> owned_; // never moved, so views into them stay
};

} // namespace vexel
