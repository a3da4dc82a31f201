#include "cli/Command.h"

#include <algorithm>
#include <cstdio>

std::string Options::Value(std::string_view name, std::string_view fallback) const {
    const auto found = values_.find(name);
    return found == values_.end() ? std::string(fallback) : found->second;
}

std::optional<Options> ParseOptions(const Command& command, std::span<char* const> arguments) {
    const auto table = command.OptionTable();
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (!argument.starts_with("--")) {
            std::fprintf(stderr, "quillbarrow-cli %.*s: unexpected argument '%s'\n",
                         static_cast<int>(command.Name().size()), command.Name().data(), arguments[i]);
            return std::nullopt;
        }
        argument.remove_prefix(2);
        std::optional<std::string> value;
        if (const auto equals = argument.find('='); equals != std::string_view::npos) {
            value = std::string(argument.substr(equals + 1));
            argument = argument.substr(0, equals);
        }
        const auto option =
            std::find_if(table.begin(), table.end(), [&](const OptionSpec& entry) { return entry.name == argument; });
        if (option == table.end()) {
            std::fprintf(stderr, "quillbarrow-cli %.*s: unknown option '--%.*s'\n",
                         static_cast<int>(command.Name().size()), command.Name().data(),
                         static_cast<int>(argument.size()), argument.data());
            return std::nullopt;
        }
        if (option->value.empty() && value) {
            std::fprintf(stderr, "quillbarrow-cli: option '--%.*s' takes no value\n", static_cast<int>(argument.size()),
                         argument.data());
            return std::nullopt;
        }
        if (!option->value.empty() && !value) {
            if (i + 1 == arguments.size()) {
                std::fprintf(stderr, "quillbarrow-cli: option '--%.*s' needs a value\n",
                             static_cast<int>(argument.size()), argument.data());
                return std::nullopt;
            }
            value = arguments[++i];
        }
        options.Set(argument, value.value_or(std::string()));
    }
    return options;
}

std::string CommandHelp(const Command& command) {
    std::string help = "Usage: quillbarrow-cli " + std::string(command.Name());
    if (!command.OptionTable().empty())
        help += " [OPTION]...";
    help += "\n" + std::string(command.Description()) + "\n";
    for (const OptionSpec& option : command.OptionTable()) {
        std::string left = "  --" + std::string(option.name);
        if (!option.value.empty())
            left += " " + std::string(option.value);
        left.resize(std::max<std::size_t>(left.size() + 2, 30), ' ');
        help += left + std::string(option.help) + "\n";
    }
    return help;
}
