#include "depend/match_keys.h"

#include <string>

namespace vexel {

std::vector<NameId> MatchKeyIds(MakefileNames& names, NameRules& rules) {
    const NameId count = names.Count();
    std::vector<NameId> keys(static_cast<std::size_t>(count));
    std::string key;
    for (NameId id = 0; id < count; ++id) {
        rules.MatchKey(names[id], key);
        keys[id] = key == names[id] ? id : names.AddCopy(key);
    }
    return keys;
}

} // namespace vexel
