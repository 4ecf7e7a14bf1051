// The commands of tolvane-cli. Each command lives in its own file and registers itself
// with a static CommandRegistration, so main() needs no list of them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "ui/message.h"

namespace cli {

struct CommandIo {
    std::ostream& out;  // key=value lines, UTF-8
    std::ostream& err;  // one clear line for a usage error or a failure
};

// Exit status of a command: 0 ran (messages included), 1 operational failure,
// 2 usage error.
enum ExitCode { kOk = 0, kFailure = 1, kUsage = 2 };

// `args` are the arguments after the command name, --data-dir already taken out.
using CommandFn = int (*)(const std::vector<std::string>& args, CommandIo& io);

struct Command {
    std::string name;
    std::string usage;  // printed by --help, first line is the synopsis; empty: not listed
    CommandFn run;
};

struct CommandRegistration {
    CommandRegistration(std::string name, std::string usage, CommandFn run);
};

const std::vector<Command>& commands();

// The line that stands for a message box: "message=TITLE|TEXT" and a line feed.
std::string messageLine(const ui::Message& message);

}  // namespace cli
