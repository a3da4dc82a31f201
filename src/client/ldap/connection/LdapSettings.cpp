#include "client/ldap/connection/LdapSettings.h"

#include "client/ldap/connection/LdapHandles.h"

#include <strings.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
// What libldap reports for LDAP_OPT_URI when no configuration names a server.
constexpr const char* kBuiltInUri = "ldap://localhost:389/??base";
// libldap's system configuration file on this platform (LDAPCONF overrides it).
constexpr const char* kSystemConfig = "/etc/ldap/ldap.conf";

std::string GlobalStringOption(int option) {
    char* value = nullptr;
    if (ldap_get_option(nullptr, option, &value) != LDAP_OPT_SUCCESS || !value)
        return {};
    LdapStringPtr owned(value);
    return owned.get();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Value of `keyword` in one configuration file ("KEYWORD value", keyword in any case), if set.
void ReadOption(const std::string& path, const char* keyword, std::string* value) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (strcasecmp(word.c_str(), keyword) != 0)
            continue;
        std::string rest;
        std::getline(words >> std::ws, rest);
        while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r'))
            rest.pop_back();
        *value = rest;
    }
}

// An option as libldap resolves it: the system file (unless user-only), the user's ldaprc files
// in libldap's order, then the LDAP<keyword> variable; later ones win.
std::string ConfiguredOption(const char* keyword, bool userOnly) {
    std::string value;
    if (!userOnly) {
        const std::string conf = Environment("LDAPCONF");
        ReadOption(conf.empty() ? kSystemConfig : conf, keyword, &value);
    }
    const std::string home = Environment("HOME");
    const auto readIn = [&](const std::string& name) {
        if (!home.empty()) {
            ReadOption(home + "/" + name, keyword, &value);
            ReadOption(home + "/." + name, keyword, &value);
        }
        ReadOption(name, keyword, &value);
    };
    readIn("ldaprc");
    if (const std::string rc = Environment("LDAPRC"); !rc.empty())
        readIn(rc);
    if (const std::string variable = Environment((std::string("LDAP") + keyword).c_str()); !variable.empty())
        value = variable;
    return value;
}
} // namespace

LdapSettings LdapSettingsFromEnvironment() {
    LdapSettings settings;
    settings.uri = GlobalStringOption(LDAP_OPT_URI);
    // With nothing configured libldap still answers with its built-in default, not a server we were told of.
    if (settings.uri == kBuiltInUri)
        settings.uri.clear();
    // libldap keeps SASL_MECH and BINDDN to itself (no global option reads them back).
    settings.saslMech = ConfiguredOption("SASL_MECH", false);
    settings.bindDn = ConfiguredOption("BINDDN", true);
    settings.passwordFile = Environment(kPasswordFileVariable);
    settings.serverKind = ParseServerKind(Environment(kServerKindVariable));
    return settings;
}
