#include "ServerWindowTest.h"

#include "client/ldap/LdapClientFactory.h"
#include "ui/StatusBar.h"

#include <strings.h>

#include <cstdlib>

void TrustTestCa(const std::string& caFile) {
    setenv("LDAPTLS_CACERT", caFile.c_str(), 1);
    setenv("LDAPTLS_REQCERT", "demand", 1);
}

void ServerWindowTest::OpenWindowAs(const std::string& uri, const std::string& dn, const std::string& password) {
    LdapSettings settings;
    settings.uri = uri;
    if (!dn.empty()) {
        settings.bindDn = dn;
        settings.passwordFile =
            WriteFile(passwords_.path(), "bind" + std::to_string(++passwordFiles_) + ".pw", password, 0600);
    }
    OpenWindow(MakeLdapClient(std::move(settings)));
}

void ServerWindowTest::Run(const QStringList& path, const QString& prefix, const QString& surname,
                           const QString& count) {
    PrepareRun(path, prefix, surname, count);
    form_->bbCreateClick();
}

ScanCounts ServerWindowTest::ShownCounts() const {
    const auto number = [&](int panel, const QString& text) {
        const QString shown = form_->sbStatus->PanelText(panel);
        return shown.startsWith(text) ? shown.mid(text.size()).toInt() : -1;
    };
    return {number(1, QStringLiteral("Containers found: ")), number(0, QStringLiteral("Objects detected: "))};
}

std::string ServerWindowTest::ShownIdentity() const {
    return form_->sbStatus->PanelText(3).toStdString();
}

std::string ServerWindowSuite::OwnContainer(const std::string& name) {
    return OwnContainer(name, Server().AdminLogin());
}

std::string ServerWindowSuite::OwnContainer(const std::string& name, const WindowServer::Login& login) {
    ServerConnection admin = Server().Admin();
    const std::string dn = Server().unitRdn + name + "," + Server().parentDn;
    EXPECT_EQ(admin.Add(dn, {{"objectClass", Server().unitClasses}, {"ou", {name}}}), LDAP_SUCCESS) << dn;
    OpenWindowAs(login);
    Scan();
    EXPECT_NE(Node(Path(QString::fromStdString(name))), nullptr) << name;
    return dn;
}

std::vector<std::string> ValuesOf(ServerConnection& view, const std::string& dn, const std::string& attribute) {
    const auto result = view.Search(dn, LDAP_SCOPE_BASE, "(objectClass=*)", {attribute});
    if (result.entries.size() != 1)
        return {};
    for (const auto& [name, values] : result.entries[0].attributes) {
        if (strcasecmp(name.c_str(), attribute.c_str()) == 0)
            return values;
    }
    return {};
}

int CountEntries(ServerConnection& view, const std::string& base, int scope, const std::string& filter) {
    const auto result = view.Search(base, scope, filter, {"1.1"});
    EXPECT_EQ(result.code, LDAP_SUCCESS) << base << " " << filter;
    return static_cast<int>(result.entries.size());
}
