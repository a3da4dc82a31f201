#include "SambaServer.h"

SambaServer::SambaServer() : runner_(QB_SCRIPTS_DIR "/samba-fixture.sh", "samba", "SAMBA_PID") {}

std::string SambaServer::Start(const std::vector<std::string>& ldifs) {
    if (std::string error = runner_.Start(ldifs); !error.empty())
        return error;
    ldapUri = runner_.Value("LDAPURI");
    ldapsUri = runner_.Value("LDAPS_URI");
    address = runner_.Value("SAMBA_ADDRESS");
    realm = runner_.Value("REALM");
    dnsDomain = runner_.Value("DNS_DOMAIN");
    baseDn = runner_.Value("BASE_DN");
    adminDn = runner_.Value("ADMIN_DN");
    adminPassword = ReadWholeFile(runner_.Value("ADMIN_PASSWORD_FILE"));
    caFile = runner_.Value("CA_FILE");
    if (ldapsUri.empty() || baseDn.empty() || adminPassword.empty())
        return "samba-fixture.sh printed no usable server";
    return {};
}
