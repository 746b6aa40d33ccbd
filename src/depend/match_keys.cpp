#include "depend/match_keys.h"

#include <deque>
#include <string>

#include "base/name_table.h"

namespace vexel {

MatchKeys MatchKeyIds(const MakefileNames& names, NameRules& rules) {
    const NameId count = names.Count();
    MatchKeys keys;
    keys.keyOfName.resize(static_cast<std::size_t>(count));
    NameTable others;               // keys that are no name
    std::deque<std::string> copies; // their texts, never moved
    std::string key;
    for (NameId id = 0; id < count; ++id) {
        rules.MatchKey(names[id], key);
        NameId found = key == names[id] ? id : names.Find(key);
        if (found == NoName) {
            found = others.Find(key);
            if (found == NameTable::Missing) {
                bool added = false;
                found = others.Insert(copies.emplace_back(key), added);
            }
            found += count;
        }
        keys.keyOfName[static_cast<std::size_t>(id)] = found;
    }
    keys.count = static_cast<std::size_t>(count) + others.Count();
    return keys;
}

} // namespace vexel
