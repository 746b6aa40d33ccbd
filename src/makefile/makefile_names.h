// The names of a run, each distinct text once, numbered densely: the one
// table through which a name is hashed once per run. The reader fills it,
// and nothing else writes to it: every name the makefile writes, and for a
// quoted name the unquoted text that names its file. Its ids serve the
// duplicate check, the dependents graph and the files' stamps.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

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

    // Gives a quoted name the name of its file, its unquoted text.
    void SetFileName(NameId id, std::string file) { fileNames_[id] = std::move(file); }

    // The id of name, or NoName.
    NameId Find(std::string_view name) const { return table_.Find(name); }

    std::string_view operator[](NameId id) const { return table_.At(id); }
    NameId Count() const { return static_cast<NameId>(table_.Count()); }

    // The name of the file that a name stands for: the unquoted text of a
    // quoted name, else the name itself.
    std::string_view FileName(NameId id) const {
        const auto file = fileNames_.find(id);
        return file != fileNames_.end() ? std::string_view(file->second) : (*this)[id];
    }

private:
    NameTable table_;
    std::deque<std::string> owned_; // never moved, so views into them stay
    // Few names are quoted; their nodes never move, so views into them stay.
    std::unordered_map<NameId, std::string> fileNames_;
};

} // namespace vexel
