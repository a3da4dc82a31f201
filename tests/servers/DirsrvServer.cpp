#include "DirsrvServer.h"

DirsrvServer::DirsrvServer() : runner_(QB_SCRIPTS_DIR "/dirsrv-fixture.sh", "dirsrv", "DIRSRV_PID") {}

std::string DirsrvServer::Start(const std::vector<std::string>& ldifs) {
    if (std::string error = runner_.Start(ldifs); !error.empty())
        return error;
    ldapUri = runner_.Value("LDAPURI");
    ldapsUri = runner_.Value("LDAPS_URI");
    ldapiUri = runner_.Value("LDAPI_URI");
    suffix = runner_.Value("SUFFIX");
    directoryManagerDn = runner_.Value("DM_DN");
    directoryManagerPassword = ReadWholeFile(runner_.Value("DM_PASSWORD_FILE"));
    adminDn = runner_.Value("ADMIN_DN");
    adminPassword = ReadWholeFile(runner_.Value("ADMIN_PASSWORD_FILE"));
    caFile = runner_.Value("CA_FILE");
    if (ldapsUri.empty() || ldapiUri.empty() || directoryManagerPassword.empty() || adminPassword.empty())
        return "dirsrv-fixture.sh printed no usable server";
    return {};
}
