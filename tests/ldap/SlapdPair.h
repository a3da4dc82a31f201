#pragma once

#include "FixtureRunner.h"

#include <array>
#include <string>

// Two throwaway slapd servers replicating each other in mirror mode, built by
// scripts/slapd-pair-fixture.sh in a temporary folder of their own, each with the sample trees of
// SlapdServer. Start() (or Restart()) starts those of the two that are not running.
class SlapdPair : public FixtureRunner {
public:
    SlapdPair();

    struct Server {
        std::string ldapiUri;
        pid_t pid = 0;
    };
    std::array<Server, 2> servers;
    // Both sockets in one URI list, as libldap takes it: the first server first.
    std::string pairUri;

    // SIGKILL to server `index`, as a crash would end it; returns once it is gone.
    void KillServer(std::size_t index);

private:
    std::string ReadValues() override;
};
