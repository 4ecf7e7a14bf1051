#include "cli/options.h"

namespace cli {

bool Options::parse(const std::vector<std::string>& args, const std::set<std::string>& valued,
                    const std::set<std::string>& flags, std::string& error) {
    bool onlyPositional = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!onlyPositional && a == "--") {
            onlyPositional = true;
            continue;
        }
        if (onlyPositional || a.size() < 3 || a.compare(0, 2, "--") != 0) {
            positional_.push_back(a);
            continue;
        }
        std::string name = a.substr(2), inlineValue;
        const bool hasInline = name.find('=') != std::string::npos;
        if (hasInline) {
            inlineValue = name.substr(name.find('=') + 1);
            name.erase(name.find('='));
        }
        if (flags.count(name) && !hasInline) {
            values_[name].push_back("");
            ordered_.emplace_back(name, "");
        } else if (valued.count(name)) {
            if (!hasInline && i + 1 >= args.size()) {
                error = "option --" + name + " needs a value";
                return false;
            }
            std::string v = hasInline ? inlineValue : args[++i];
            values_[name].push_back(v);
            ordered_.emplace_back(name, v);
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    return true;
}

std::optional<std::string> Options::value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second.back();
}

std::vector<std::string> Options::all(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? std::vector<std::string>{} : it->second;
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    if (separator.empty()) return {text};
    size_t start = 0, pos;
    while ((pos = text.find(separator, start)) != std::string::npos) {
        parts.push_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace cli
