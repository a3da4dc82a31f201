#include "SlapdServer.h"

#include "ServerConnection.h"

#include <ldap.h>

#include <cstdlib>
#include <filesystem>

SlapdServer::SlapdServer() : FixtureRunner("slapd-fixture.sh", "slapd", "SLAPD_PID") {}

std::vector<std::string> SlapdServer::StartArguments(const std::vector<std::string>& ldifs) const {
    std::vector<std::string> arguments{port > 0 ? std::to_string(port) : std::string()};
    arguments.insert(arguments.end(), ldifs.begin(), ldifs.end());
    return arguments;
}

std::string SlapdServer::ReadValues() {
    std::string portText;
    std::string error = Assign({{"LDAPURI", &tcpUri},
                                {"LDAPI_URI", &ldapiUri},
                                {"SLAPD_PORT", &portText},
                                {"ADMIN_DN", &adminDn},
                                {"READER_DN", &readerDn},
                                {"READER_PASSWORD", &readerPassword}});
    port = std::atoi(portText.c_str());
    // The socket's path is the ldapi URI's host, as libldap reads it.
    LDAPURLDesc* url = nullptr;
    if (ldap_url_parse(ldapiUri.c_str(), &url) == LDAP_URL_SUCCESS && url->lud_host)
        ldapiSocket = url->lud_host;
    ldap_free_urldesc(url);
    return error;
}

int SlapdServer::AddNamingContext(const std::string& suffix, const std::string& folderName,
                                  const std::map<std::string, std::vector<std::string>>& attributes) const {
    const std::string databaseFolder = folder() + "/" + folderName;
    std::error_code error;
    std::filesystem::create_directories(databaseFolder, error);
    if (error)
        return LDAP_OTHER;
    ServerConnection admin = ServerConnection::OverSocket(ldapiUri);
    if (admin.bindCode() != LDAP_SUCCESS)
        return admin.bindCode();
    const int added = admin.Add("olcDatabase=mdb,cn=config",
                                {{"objectClass", {"olcDatabaseConfig", "olcMdbConfig"}},
                                 {"olcDatabase", {"mdb"}},
                                 {"olcSuffix", {suffix}},
                                 {"olcDbDirectory", {databaseFolder}},
                                 {"olcDbMaxSize", {"16777216"}},
                                 {"olcLimits", {"dn.exact=\"" + adminDn + "\" size=unlimited time=unlimited"}},
                                 {"olcAccess", {"to * by dn.exact=\"" + adminDn + "\" write by * read"}}});
    return added == LDAP_SUCCESS ? admin.Add(suffix, attributes) : added;
}

long OperationCount(ServerConnection& view, const std::string& operation, const std::string& counter) {
    const auto result =
        view.Search("cn=" + operation + ",cn=Operations,cn=Monitor", LDAP_SCOPE_BASE, "(objectClass=*)", {counter});
    if (result.entries.size() != 1 || result.entries[0].attributes.count(counter) == 0)
        return -1;
    return std::stol(result.entries[0].attributes.at(counter).front());
}
