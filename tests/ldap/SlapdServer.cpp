#include "SlapdServer.h"

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

// A killed slapd may stay a zombie until its new parent reaps it: that counts as gone.
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

SlapdServer::~SlapdServer() {
    Stop();
}

std::string SlapdServer::Run(const std::string& arguments, std::map<std::string, std::string>* values) {
    const std::string command = std::string("bash ") + Quote(QB_SLAPD_FIXTURE) + " " + arguments + " 2>&1";
    FILE* raw = popen(command.c_str(), "r");
    if (!raw)
        return "cannot run the fixture script";
    std::unique_ptr<FILE, PipeCloser> pipe(raw);
    std::string output;
    std::array<char, 512> chunk{};
    while (std::fgets(chunk.data(), static_cast<int>(chunk.size()), pipe.get()))
        output += chunk.data();
    const int status = pclose(pipe.release());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "fixture script failed: " + output;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
            value = value.substr(1, value.size() - 2);
        (*values)[line.substr(0, equals)] = value;
    }
    return {};
}

std::string SlapdServer::Start(const std::vector<std::string>& ldifs) {
    if (folder().empty())
        return "no temporary folder";
    std::string arguments = "start " + Quote(folder() + "/server") + " ''";
    for (const std::string& ldif : ldifs)
        arguments += " " + Quote(ldif);
    std::map<std::string, std::string> values;
    if (std::string error = Run(arguments, &values); !error.empty())
        return error;
    tcpUri = values["LDAPURI"];
    ldapiUri = values["LDAPI_URI"];
    adminDn = values["ADMIN_DN"];
    readerDn = values["READER_DN"];
    readerPassword = values["READER_PASSWORD"];
    pid = static_cast<pid_t>(std::atoi(values["SLAPD_PID"].c_str()));
    if (tcpUri.empty() || ldapiUri.empty() || pid <= 0)
        return "fixture script printed no server";
    return {};
}

std::string SlapdServer::Restart() {
    return Start();
}

void SlapdServer::Stop() {
    if (folder().empty() || pid <= 0)
        return;
    std::map<std::string, std::string> ignored;
    Run("stop " + Quote(folder() + "/server"), &ignored);
    pid = 0;
}

void SlapdServer::Kill() {
    if (pid <= 0)
        return;
    kill(pid, SIGKILL);
    for (int i = 0; i < 200 && Alive(pid); ++i)
        usleep(10000);
    pid = 0;
}
