#include "cli/command.h"

namespace cli {
namespace {

std::vector<Command>& registry() {
    static std::vector<Command> all;
    return all;
}

}  // namespace

CommandRegistration::CommandRegistration(std::string name, std::string usage, CommandFn run) {
    registry().push_back({std::move(name), std::move(usage), run});
}

const std::vector<Command>& commands() { return registry(); }

std::string messageLine(const ui::Message& message) {
    return "message=" + message.title + "|" + message.text + "\n";
}

}  // namespace cli
