#include "driver/environment.h"

#include "report/messages.h"

namespace vexel {

std::optional<Failure> GetEnvValue(ProcessFacts& facts, const std::string& name,
                                   std::string& value) {
    EnvironmentValue found = facts.Environment(name, MaxEnvValueLength);
    value.clear();
    switch (found.status) {
    case EnvironmentValue::Status::Found:
        value = std::move(found.value);
        return std::nullopt;
    case EnvironmentValue::Status::TooLong:
        return Failure(messages::EnvLengthOver);
    case EnvironmentValue::Status::Missing:
        break;
    }
    return Failure(messages::EnvNotExists);
}

} // namespace vexel
