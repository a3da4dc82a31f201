#pragma once

#include "DirectoryBinding.h"
#include "ListEntries.h"
#include "RecordingUi.h"
#include "ServerConnection.h"
#include "SlapdServer.h"
#include "TempFolder.h"
#include "client/SchemaNames.h"
#include "client/ldap/LdapClientFactory.h"
#include "directory/SharedContext.h"
#include "directory/TreeWalk.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// The default policy LoadPasswordPolicy makes.
inline constexpr const char* kDefaultPolicyDn = "cn=default,ou=Policies,o=Acme";

struct ScannedTree {
    std::vector<std::pair<std::string, std::string>> containers; // dotted name, base class
    int objects = 0;
};

// A fresh slapd per test and the directory layer bound to the LDAP backend, as the program runs.
class LdapDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(server.Start(ExtraLdif()), ""); }

    void TearDown() override { ShutDownAndUnbind(); }

    // LDIF files slapadd loads before the server starts.
    virtual std::vector<std::string> ExtraLdif() { return {}; }

    // The administrator: SASL EXTERNAL over the local socket.
    LdapSettings AdminSettings() const {
        LdapSettings settings;
        settings.uri = server.ldapiUri;
        return settings;
    }
    // The size-limited reader: a simple bind over the local socket with a private password file.
    LdapSettings ReaderSettings() const {
        LdapSettings settings;
        settings.uri = server.ldapiUri;
        settings.bindDn = server.readerDn;
        settings.passwordFile = WriteFile(server.folder(), "reader.pw", server.readerPassword + "\n", 0600);
        return settings;
    }

    // Binds the backend and runs the window's directory start-up.
    void BindAndStart(LdapSettings settings) { ::BindAndStart(MakeLdapClient(std::move(settings)), ui); }

    // The scan's walk: containers are walked in turn, every entry counts. Containers are named
    // from the top without the scan's leading ".".
    static ScannedTree Scan() {
        struct Collector final : TreeWalkVisitor {
            ScannedTree tree;
            bool EntryListed(const WalkedContainer& container, std::string_view name,
                             std::string_view baseClass) override {
                ++tree.objects;
                if (!IsContainerClass(baseClass))
                    return false;
                std::string dotted(name);
                if (container.level > 0)
                    dotted += "." + container.name.substr(container.level == 1 ? 0 : 1);
                tree.containers.emplace_back(dotted, baseClass);
                return true;
            }
        } collector;
        WalkTree(collector);
        return collector.tree;
    }

    // The test's own admin connection: the server's view of its data.
    ServerConnection View() const {
        ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
        EXPECT_EQ(view.bindCode(), LDAP_SUCCESS);
        return view;
    }

    // Loads the password policy overlay on the database of `suffix` (o=Acme's, the first, unless named)
    // with a default policy of its own in ou=Policies below the suffix.
    void LoadPasswordPolicy(bool mustChange, const std::string& suffix = "o=Acme", int database = 1) {
        const std::string policies = "ou=Policies," + suffix;
        const std::string policyDn = "cn=default," + policies;
        ServerConnection view = View();
        ASSERT_EQ(view.AddValues("cn=module{0},cn=config", "olcModuleLoad", {"ppolicy"}), LDAP_SUCCESS);
        ASSERT_EQ(view.Add(policies, {{"objectClass", {"organizationalUnit"}}, {"ou", {"Policies"}}}), LDAP_SUCCESS);
        ASSERT_EQ(view.Add(policyDn, {{"objectClass", {"device", "pwdPolicy"}},
                                      {"cn", {"default"}},
                                      {"pwdAttribute", {"userPassword"}},
                                      {"pwdMustChange", {mustChange ? "TRUE" : "FALSE"}}}),
                  LDAP_SUCCESS);
        ASSERT_EQ(view.Add("olcOverlay=ppolicy,olcDatabase={" + std::to_string(database) + "}mdb,cn=config",
                           {{"objectClass", {"olcOverlayConfig", "olcPPolicyConfig"}},
                            {"olcOverlay", {"ppolicy"}},
                            {"olcPPolicyDefault", {policyDn}}}),
                  LDAP_SUCCESS);
    }

    SlapdServer server;
    RecordingUi ui;
};
