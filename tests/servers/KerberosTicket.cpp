#include "KerberosTicket.h"

#include <cstdio>
#include <memory>

namespace {
struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};
} // namespace

bool GetTicket(const std::string& principal, const std::string& password) {
    std::unique_ptr<FILE, PipeCloser> kinit(popen(("kinit '" + principal + "' >/dev/null").c_str(), "w"));
    if (!kinit)
        return false;
    std::fputs((password + "\n").c_str(), kinit.get());
    return pclose(kinit.release()) == 0;
}
