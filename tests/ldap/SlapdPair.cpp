#include "SlapdPair.h"

#include <cstdlib>

SlapdPair::SlapdPair() : FixtureRunner("slapd-pair-fixture.sh", "slapd-pair", "A_SLAPD_PID") {}

void SlapdPair::KillServer(std::size_t index) {
    KillProcess(servers.at(index).pid);
    servers.at(index).pid = 0;
}

std::string SlapdPair::ReadValues() {
    for (std::size_t i = 0; i < servers.size(); ++i) {
        const std::string prefix = i == 0 ? "A_" : "B_";
        servers[i].ldapiUri = Value(prefix + "LDAPI_URI");
        servers[i].pid = static_cast<pid_t>(std::atoi(Value(prefix + "SLAPD_PID").c_str()));
        if (servers[i].ldapiUri.empty() || servers[i].pid <= 0)
            return "slapd-pair-fixture.sh printed no usable server " + prefix;
    }
    pairUri = Value("PAIR_LDAPI_URI");
    return pairUri.empty() ? "slapd-pair-fixture.sh printed no URI list" : std::string();
}
