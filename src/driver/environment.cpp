#include "driver/environment.h"

namespace vexel {

EnvLookup GetEnvValue(ProcessFacts& facts, const std::string& name, std::string& value) {
    EnvironmentValue found = facts.Environment(name, MaxEnvValueLength);
    if (found.status == EnvironmentValue::Status::Found) {
        value = std::move(found.value);
        return EnvLookup::Read;
    }
    value.clear();
    return found.status == EnvironmentValue::Status::TooLong ? EnvLookup::LengthOver
                                                             : EnvLookup::NotExists;
}

} // namespace vexel
