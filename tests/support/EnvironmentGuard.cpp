#include "EnvironmentGuard.h"

#include <cstdlib>

EnvironmentGuard::~EnvironmentGuard() {
    for (const auto& [name, value] : saved_) {
        if (value)
            setenv(name.c_str(), value->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}

void EnvironmentGuard::Remember(const std::string& name) {
    if (saved_.contains(name))
        return;
    const char* value = std::getenv(name.c_str());
    saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
}

void EnvironmentGuard::Set(const std::string& name, const std::string& value) {
    Remember(name);
    setenv(name.c_str(), value.c_str(), 1);
}

void EnvironmentGuard::Unset(const std::string& name) {
    Remember(name);
    unsetenv(name.c_str());
}
