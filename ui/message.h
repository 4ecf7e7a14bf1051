// A message that a calculation wants shown: cores return it as a value, windows show
// it in a box and the command line prints it.
#pragma once

#include <optional>
#include <string>

namespace ui {

struct Message {
    std::string title;
    std::string text;
};

using OptionalMessage = std::optional<Message>;

}  // namespace ui
