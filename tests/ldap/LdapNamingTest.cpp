#include "EnvironmentGuard.h"
#include "LdapClasses.h"
#include "LdapDn.h"
#include "LdapNames.h"
#include "LdapPasswordFile.h"
#include "LdapSettings.h"
#include "ResultCodes.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

TEST(LdapDn, ChildDnKeepsAnyValueOneLiteralRdn) {
    for (const char* value : {"x,ou=Admins", "a+sn=b", "#a", " lead", "trail ", "back\\", "a=b", "a.b", "\xC3\xA9",
                              "say \"hi\"", "<a>;", "nul\\00"}) {
        const auto dn = ChildDn("ou=East,ou=Sales,o=Acme", "cn", value);
        ASSERT_TRUE(dn) << value;
        const auto leaf = LeafName(*dn);
        ASSERT_TRUE(leaf) << *dn;
        EXPECT_EQ(leaf->value, value) << *dn;
        EXPECT_EQ(leaf->attribute, "cn");
        EXPECT_EQ(NormaliseDn(*dn), NormaliseDn(*ChildDn("OU=east, ou=SALES, o=acme", "CN", value))) << *dn;
    }
    EXPECT_FALSE(ChildDn("not a dn", "cn", "x"));
}

TEST(LdapDn, NormalisedFormsAgreeOnEscapesSpacingAndCase) {
    EXPECT_EQ(NormaliseDn("cn=a\\,b,o=Acme"), NormaliseDn("CN=a\\2Cb, O=ACME"));
    EXPECT_EQ(NormaliseDn("cn=\\C3\\A9,o=Acme"), NormaliseDn("cn=\xC3\xA9,o=acme"));
    EXPECT_NE(NormaliseDn("cn=a,o=Acme"), NormaliseDn("cn=a,ou=Acme"));
    EXPECT_FALSE(NormaliseDn("cn=a,,"));
}

TEST(LdapDn, NamingContextsShowAsOneName) {
    EXPECT_EQ(NamingContextName("o=Acme"), "Acme");
    EXPECT_EQ(NamingContextName("dc=example,dc=com"), "example.com");
    EXPECT_EQ(LeafName("cn=a+sn=b,o=Acme")->value, "a+b");
}

namespace {
// Checks that every name handed out names its entry again: a typeless one by its value, a typed
// one by the DN it stands for.
void ExpectNamesNameTheirEntries(const std::vector<ListedEntry>& entries, const std::vector<std::string>& names,
                                 const std::string& parentDn) {
    ASSERT_EQ(names.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (names[i].empty())
            continue;
        const auto split = SplitDottedName(names[i]);
        ASSERT_TRUE(split && split->parts.size() == 1 && !split->fromRoot) << names[i];
        const NamePart& part = split->parts.front();
        if (part.type.empty()) {
            EXPECT_EQ(part.value, entries[i].name);
        } else {
            const auto dn = TypedPartDn(parentDn, part.type, part.value);
            ASSERT_TRUE(dn) << names[i];
            EXPECT_EQ(NormaliseDn(*dn), NormaliseDn(entries[i].dn)) << names[i];
        }
    }
}
} // namespace

TEST(LdapNames, SiblingsThatShareAValueAreHandedOutTyped) {
    const std::vector<ListedEntry> entries{
        {"ou=Sales,o=Acme", "Sales", "Organizational Unit"},
        {"o=SALES,o=Acme", "SALES", "Organization"},
        {"cn=Sales,o=Acme", "Sales", "User"},
        {"ou=East,o=Acme", "East", "Organizational Unit"},
        {"cn=a.b=c,o=Acme", "a.b=c", "User"},
        {"cn=x\\+y,o=Acme", "x+y", "User"},
        {"cn=x+sn=y,o=Acme", "x+y", "User"}, // a multi-valued RDN no typed part can name
        {"2.5.4.11=v.w,o=Acme", "v.w", "Organizational Unit"},
        {"ou=V.W,o=Acme", "V.W", "Organizational Unit"},
    };
    const auto names = HandOutNames(entries, "o=Acme");
    EXPECT_THAT(names, ::testing::ElementsAre("ou=Sales", "o=SALES", "cn=Sales", "East", "a\\.b\\=c", "cn=x+y", "",
                                              "2\\.5\\.4\\.11=v\\.w", "ou=V\\.W"));
    ExpectNamesNameTheirEntries(entries, names, "o=Acme");
}

TEST(LdapNames, NamingContextsThatReadAlikeAreHandedOutByTheirWholeDn) {
    const std::vector<ListedEntry> entries{
        {"dc=example,dc=com", "example.com", "Organization"},
        {"o=example.com", "example.com", "Organization"},
        {"o=Acme", "Acme", "Organization"},
        {"o=[Root]", "[Root]", "Organization"},
    };
    const auto names = HandOutNames(entries, "");
    EXPECT_THAT(names, ::testing::ElementsAre("dc=example,dc=com", "o=example\\.com", "Acme", "[Root\\]"));
    ExpectNamesNameTheirEntries(entries, names, "");
}

TEST(LdapClasses, BaseClassFromStructuralClassOrObjectClasses) {
    EXPECT_EQ(BaseClassName("organization", {}, "o"), "Organization");
    EXPECT_EQ(BaseClassName("organizationalUnit", {}, "ou"), "Organizational Unit");
    EXPECT_EQ(BaseClassName("country", {}, "c"), "Country");
    EXPECT_EQ(BaseClassName("inetOrgPerson", {}, "cn"), "User");
    EXPECT_EQ(BaseClassName("device", {}, "cn"), "device");
    EXPECT_EQ(BaseClassName("domain", {}, "dc"), "Organization");
    // dcObject is auxiliary: a dc= entry browses as an Organization whatever carries it.
    EXPECT_EQ(BaseClassName("", {"top", "dcObject"}, "dc"), "Organization");
    EXPECT_EQ(BaseClassName("", {"top", "person", "organizationalPerson", "inetOrgPerson"}, "cn"), "User");
    EXPECT_EQ(BaseClassName("", {"top", "groupOfNames"}, "cn"), "groupOfNames");
    EXPECT_EQ(BaseClassName("", {"top", "organizationalUnit"}, "dc"), "Organizational Unit");
}

TEST(LdapSettings, PasswordFileMustBeAPrivateRegularFileOfAtMost4KiB) {
    const TempFolder temp;
    const std::string& folder = temp.path();
    std::string password;
    const std::string privateFile = WriteFile(folder, "private.pw", "secret\n", 0600);
    EXPECT_EQ(ReadPasswordFile(privateFile, &password), rc::kSuccess);
    EXPECT_EQ(password, "secret");
    const std::string longest(kMaxPasswordFileSize, 'p');
    EXPECT_EQ(ReadPasswordFile(WriteFile(folder, "longest.pw", longest, 0600), &password), rc::kSuccess);
    EXPECT_EQ(password, longest);

    password = "untouched";
    const std::string fifo = folder + "/fifo.pw";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string toPrivate = folder + "/link.pw";
    const std::string toZero = folder + "/zero.pw";
    std::filesystem::create_symlink(privateFile, toPrivate);
    std::filesystem::create_symlink("/dev/zero", toZero);
    for (const std::string& refused : {
             WriteFile(folder, "shared.pw", "secret", 0640),
             WriteFile(folder, "others.pw", "secret", 0604),
             WriteFile(folder, "toolong.pw", longest + "p", 0600),
             fifo, // a FIFO without a writer must not hold the open up
             toPrivate,
             toZero,
             std::string("/dev/zero"),
             folder + "/missing.pw",
             std::string(),
             folder,
         })
        EXPECT_EQ(ReadPasswordFile(refused, &password), rc::kBadPasswordFile) << refused;
    EXPECT_EQ(password, "untouched");
}

TEST(LdapSettings, OptionsComeFromLdaprcAndVariablesLikeLibldapReadsThem) {
    const TempFolder home;
    WriteFile(home.path(), ".ldaprc", "# user settings\nbinddn   cn=from file,o=Acme  \nSASL_MECH external\n", 0600);
    EnvironmentGuard environment;
    environment.Set("HOME", home.path());
    environment.Set(kPasswordFileVariable, "/nonexistent/pw");
    environment.Unset("LDAPBINDDN");
    environment.Unset("LDAPSASL_MECH");

    LdapSettings settings = LdapSettingsFromEnvironment();
    EXPECT_EQ(settings.bindDn, "cn=from file,o=Acme");
    EXPECT_EQ(settings.saslMech, "external");
    EXPECT_EQ(settings.passwordFile, "/nonexistent/pw");

    environment.Set("LDAPBINDDN", "cn=someone,o=Acme");
    environment.Set("LDAPSASL_MECH", "PLAIN");
    settings = LdapSettingsFromEnvironment();
    EXPECT_EQ(settings.bindDn, "cn=someone,o=Acme");
    EXPECT_EQ(settings.saslMech, "PLAIN");
}
