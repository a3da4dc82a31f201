#pragma once

#include "TempFolder.h"

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

// A throwaway slapd run by the project's fixture script in a temporary folder of its own, removed
// with everything in it. Start() fails loudly when slapd is missing: tests never skip over it.
class SlapdServer {
public:
    ~SlapdServer();

    // Builds the server (with `ldifs` loaded by slapadd) and starts it; empty on success, else why not.
    std::string Start(const std::vector<std::string>& ldifs = {});
    // Starts it again on the same data and port after Stop() or Kill().
    std::string Restart();
    void Stop();
    // SIGKILL, as a crash would end it.
    void Kill();

    const std::string& folder() const { return folder_.path(); }
    std::string tcpUri;
    std::string ldapiUri;
    std::string adminDn;
    std::string readerDn;
    std::string readerPassword;
    pid_t pid = 0;

private:
    std::string Run(const std::string& arguments, std::map<std::string, std::string>* values);

    TempFolder folder_;
};
