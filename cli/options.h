// A small option parser for the commands: "--name value" options, "--flag" switches
// and positional arguments. Options may repeat; values are kept as typed.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace cli {

class Options {
public:
    // `valued` names the options that take a value, `flags` those that do not (both
    // without the leading "--"). Returns false with `error` set on an unknown option
    // or a missing value.
    bool parse(const std::vector<std::string>& args, const std::set<std::string>& valued,
               const std::set<std::string>& flags, std::string& error);

    bool has(const std::string& name) const { return values_.count(name) > 0; }
    std::optional<std::string> value(const std::string& name) const;  // the last one given
    std::vector<std::string> all(const std::string& name) const;        // every one, in order
    const std::vector<std::string>& positional() const { return positional_; }
    // The options in the order given, as (name, value) pairs; flags have empty values.
    const std::vector<std::pair<std::string, std::string>>& ordered() const { return ordered_; }

private:
    std::map<std::string, std::vector<std::string>> values_;
    std::vector<std::pair<std::string, std::string>> ordered_;
    std::vector<std::string> positional_;
};

// Splits `text` at every `separator`; an empty text gives one empty field.
std::vector<std::string> split(const std::string& text, const std::string& separator);

}  // namespace cli
