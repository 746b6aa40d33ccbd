// The circular check and the dependents graph.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "depend/depend.h"
#include "run/message.h"

namespace vexel {

// Gives the key under which a name matches other names (see
// Platform::MatchKey).
using MatchKeyFunction = std::function<std::string(std::string_view)>;

// Checks every target record, in list order, for a circular dependency: a
// record fails when one of its dependency names matches its own target or
// the target of a record that depends on it, directly or through others.
// The first record that fails ends the check with "Circular " + its target +
// " dependency dropped." and false. Otherwise every record's Dependents
// holds each record whose dependency names match its target, and the result
// is true. The root record (entry 0) takes no part.
bool CheckCircularAndLinkDependents(DependList& dependList, const MatchKeyFunction& matchKey,
                                    MessageWriter& out);

} // namespace vexel
