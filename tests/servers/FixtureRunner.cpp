#include "FixtureRunner.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace {
std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// A killed server may stay a zombie until its new parent reaps it: that counts as gone.
bool Alive(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};
} // namespace

FixtureRunner::FixtureRunner(const std::string& script, const std::string& name, std::string pidName)
    : script_(std::string(QB_SCRIPTS_DIR) + "/" + script), pidName_(std::move(pidName)), folder_(name) {}

// The server stops before its folder goes.
FixtureRunner::~FixtureRunner() {
    Stop();
}

std::string FixtureRunner::Run(const std::string& arguments) {
    std::string command = "bash " + Quote(script_) + " " + arguments + " 2>&1";
    for (const auto& [name, value] : environment)
        command = name + "=" + Quote(value) + " " + command;
    FILE* raw = popen(command.c_str(), "r");
    if (!raw)
        return "cannot run " + script_;
    std::unique_ptr<FILE, PipeCloser> pipe(raw);
    std::string output;
    std::array<char, 512> chunk{};
    while (std::fgets(chunk.data(), static_cast<int>(chunk.size()), pipe.get()))
        output += chunk.data();
    const int status = pclose(pipe.release());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return script_ + " failed: " + output;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
            value = value.substr(1, value.size() - 2);
        values_[line.substr(0, equals)] = value;
    }
    return {};
}

std::string FixtureRunner::Start(const std::vector<std::string>& ldifs) {
    if (folder().empty())
        return "no temporary folder";
    std::string arguments = "start " + Quote(folder() + "/server");
    for (const std::string& argument : StartArguments(ldifs))
        arguments += " " + Quote(argument);
    values_.clear();
    // Whatever the script started before it failed is stopped with the rest.
    started_ = true;
    if (std::string error = Run(arguments); !error.empty())
        return error;
    pid_ = static_cast<pid_t>(std::atoi(Value(pidName_).c_str()));
    if (pid_ <= 0)
        return script_ + " printed no server";
    return ReadValues();
}

void FixtureRunner::Stop() {
    if (!started_)
        return;
    Run("stop " + Quote(folder() + "/server"));
    started_ = false;
    pid_ = 0;
}

void FixtureRunner::Kill() {
    KillProcess(pid_);
    pid_ = 0;
}

void KillProcess(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGKILL);
    for (int i = 0; i < 500 && Alive(pid); ++i)
        usleep(10000);
}

std::string FixtureRunner::Value(const std::string& name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? std::string() : it->second;
}

std::string FixtureRunner::Assign(std::initializer_list<Assignment> assignments) const {
    std::string missing;
    for (const Assignment& assignment : assignments) {
        *assignment.field = assignment.fromFile ? ReadWholeFile(Value(assignment.name)) : Value(assignment.name);
        if (assignment.field->empty())
            missing += std::string(missing.empty() ? "" : ", ") + assignment.name;
    }
    return missing.empty() ? std::string() : script_ + " printed no usable server, missing: " + missing;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
