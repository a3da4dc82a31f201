#pragma once

#include <map>
#include <optional>
#include <string>

// Changes environment variables for the length of a test and puts back every one it changed,
// as it found it (set to its old value, or unset), when it goes.
class EnvironmentGuard {
public:
    EnvironmentGuard() = default;
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
    ~EnvironmentGuard();

    void Set(const std::string& name, const std::string& value);
    void Unset(const std::string& name);

private:
    void Remember(const std::string& name);

    std::map<std::string, std::optional<std::string>> saved_;
};
