#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// One option of a verb: "--name VALUE", "--name=VALUE", or a flag "--name" when `value` is empty.
struct OptionSpec {
    std::string_view name;  // without the leading "--"
    std::string_view value; // the value's placeholder in the help; empty for a flag
    std::string_view help;
};

// The options given to a verb, by name; a flag's value is empty.
class Options {
public:
    bool Has(std::string_view name) const { return values_.find(name) != values_.end(); }
    // The option's value, or `fallback` when it was not given.
    std::string Value(std::string_view name, std::string_view fallback = {}) const;
    void Set(std::string_view name, std::string value) {
        values_.insert_or_assign(std::string(name), std::move(value));
    }

private:
    std::map<std::string, std::string, std::less<>> values_;
};

// One verb of quillbarrow-cli: its name, a one-line description, its option table and what it does.
class Command {
public:
    virtual ~Command() = default;
    virtual std::string_view Name() const = 0;
    virtual std::string_view Description() const = 0;
    virtual std::span<const OptionSpec> OptionTable() const { return {}; }
    // Runs the verb on the bound directory (started); returns the program's exit status.
    virtual int Execute(const Options& options) = 0;
};

// Reads `arguments` against the verb's option table; nullopt after printing what is wrong.
std::optional<Options> ParseOptions(const Command& command, std::span<char* const> arguments);

// The verb's usage and option table, as --help prints it.
std::string CommandHelp(const Command& command);
