#include "EnvironmentGuard.h"
#include "TempFolder.h"
#include "client/ResultCodes.h"
#include "client/ldap/connection/LdapAuthzId.h"
#include "client/ldap/connection/LdapPasswordFile.h"
#include "client/ldap/connection/LdapSettings.h"
#include "client/ldap/names/LdapClasses.h"
#include "client/ldap/names/LdapDn.h"
#include "client/ldap/names/LdapNames.h"
#include "client/ldap/server/LdapServer.h"
#include "client/ldap/users/ActiveDirectoryUser.h"
#include "client/ldap/users/LdapUserProfile.h"
#include "client/ldap/users/OpenLdapUser.h"

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

TEST(LdapClasses, BaseClassIsTheMostSpecificOfTheWholeSetInAnyOrder) {
    const ObjectClassSchema standard;
    const auto base = [&](std::vector<std::string> classes, const char* naming = "cn") {
        return BaseClassName(classes, naming, standard);
    };
    // Samba lists several classes, top first; 389 and OpenLDAP in the order they were added.
    EXPECT_EQ(base({"top", "organizationalUnit"}, "ou"), "Organizational Unit");
    EXPECT_EQ(base({"top", "person", "organizationalPerson", "user"}), "User");
    EXPECT_EQ(base({"top", "person", "organizationalPerson", "user", "computer"}), "computer");
    EXPECT_EQ(base({"inetOrgPerson", "posixAccount", "top", "person"}), "User");
    EXPECT_EQ(base({"top", "container"}), "container");
    EXPECT_EQ(base({"top", "builtinDomain"}), "builtinDomain");
    EXPECT_EQ(base({"country"}, "c"), "Country");
    EXPECT_EQ(base({"top", "groupOfNames"}), "groupOfNames");
    // dc= entries browse as an Organization whatever carries them, unless they say otherwise.
    EXPECT_EQ(base({"top", "domain", "domainDNS"}, "DC"), "Organization");
    EXPECT_EQ(base({"top", "dcObject"}, "dc"), "Organization");
    EXPECT_EQ(base({"dcObject", "organization"}, "dc"), "Organization");
    EXPECT_EQ(base({"top", "organizationalUnit"}, "dc"), "Organizational Unit");
    EXPECT_EQ(base({}), "Unknown");
}

TEST(LdapClasses, ServerSchemaDecidesWithSuperclassesNamedOrByOid) {
    ObjectClassSchema schema;
    EXPECT_TRUE(schema.AddDefinition("( 2.16.840.1.113730.3.2.2 NAME 'inetOrgPerson' SUP organizationalPerson "
                                     "STRUCTURAL MAY ( uid $ mail ) X-ORIGIN 'RFC 2798' )"));
    EXPECT_TRUE(schema.AddDefinition("( 1.3.6.1.4.1.99999.1 NAME ( 'schoolPerson' 'pupil' ) SUP "
                                     "2.16.840.1.113730.3.2.2 STRUCTURAL )"));
    EXPECT_TRUE(schema.AddDefinition("( 1.3.6.1.4.1.99999.2 NAME 'schoolExtras' SUP top AUXILIARY )"));
    // Active Directory's quirk: "domain" is abstract there.
    EXPECT_TRUE(schema.AddDefinition("( 1.2.840.113556.1.5.66 NAME 'domain' SUP top ABSTRACT MUST (dc ) )"));
    EXPECT_FALSE(schema.AddDefinition("not a class"));

    EXPECT_TRUE(schema.IsSuperclass("person", "pupil"));
    EXPECT_FALSE(schema.IsSuperclass("pupil", "person"));
    EXPECT_EQ(BaseClassName({"top", "inetOrgPerson", "schoolExtras", "schoolPerson", "person"}, "cn", schema),
              "schoolPerson");
    EXPECT_EQ(BaseClassName({"schoolExtras", "inetOrgPerson"}, "cn", schema), "User");
    EXPECT_EQ(schema.MostSpecific({"top", "domain"}), "domain");
}

TEST(LdapServerKind, RootDseOfEachServerAndTheSetting) {
    RootDse samba;
    samba.supportedCapabilities = {"1.2.840.113556.1.4.800", "1.2.840.113556.1.4.1670"};
    samba.vendorName = "Samba Team (https://www.samba.org)";
    EXPECT_EQ(DetectServerKind(samba), LdapServerKind::ActiveDirectory);
    RootDse dirsrv;
    dirsrv.objectClasses = {"top"};
    dirsrv.vendorName = "389 Project";
    dirsrv.vendorVersion = "389-Directory/2.3.1 B2025.016.1616";
    EXPECT_EQ(DetectServerKind(dirsrv), LdapServerKind::Dirsrv389);
    RootDse slapd;
    slapd.objectClasses = {"top", "OpenLDAProotDSE"};
    EXPECT_EQ(DetectServerKind(slapd), LdapServerKind::OpenLdap);
    EXPECT_EQ(DetectServerKind(RootDse{}), LdapServerKind::Generic);

    EXPECT_EQ(ParseServerKind("AD"), LdapServerKind::ActiveDirectory);
    EXPECT_EQ(ParseServerKind("389"), LdapServerKind::Dirsrv389);
    EXPECT_EQ(ParseServerKind("openldap"), LdapServerKind::OpenLdap);
    EXPECT_EQ(ParseServerKind("generic"), LdapServerKind::Generic);
    EXPECT_EQ(ParseServerKind(""), std::nullopt);
    EXPECT_EQ(ParseServerKind("samba"), std::nullopt);

    EXPECT_EQ(DomainDnsName("DC=ad,DC=example,DC=com"), "ad.example.com");
    EXPECT_EQ(DomainDnsName("dc=example, dc=com"), "example.com");
    EXPECT_EQ(DomainDnsName("o=Acme"), "");
    EXPECT_EQ(DomainDnsName("ou=x,dc=example,dc=com"), "");
}

TEST(LdapAuthzId, DnAndUserFormsAsRfc4513WritesThem) {
    // 389 answers with a blank after "dn:", and lower-cases the Directory Manager of a simple bind.
    EXPECT_EQ(AuthzIdName("dn: cn=Directory Manager"), "cn=Directory Manager");
    EXPECT_EQ(AuthzIdName("dn:cn=directory manager"), "cn=directory manager");
    EXPECT_EQ(AuthzIdName("dn:uid=admin, ou=People,dc=example,dc=com"), "uid=admin,ou=People,dc=example,dc=com");
    EXPECT_EQ(AuthzIdName("dn:cn=M\\C3\\BCnchen,o=Acme"), "cn=M\xC3\xBCnchen,o=Acme");
    EXPECT_EQ(AuthzIdName("u:jsmith"), "jsmith");
    EXPECT_EQ(AuthzIdName("u: j smith "), " j smith ");
    EXPECT_EQ(AuthzIdName("dn:"), "");
    EXPECT_EQ(AuthzIdName(""), "");
    EXPECT_EQ(AuthzIdName("dn:not a dn"), "not a dn");
    EXPECT_EQ(DnText("CN=Administrator,CN=Users,DC=ad,DC=example,DC=com"),
              "CN=Administrator,CN=Users,DC=ad,DC=example,DC=com");
}

TEST(LdapUserProfile, ActiveDirectoryTakesTwentyUnitsWithoutItsSpecials) {
    EXPECT_TRUE(IsActiveDirectoryLoginName("abcdefghijklmnopqrst"));
    EXPECT_FALSE(IsActiveDirectoryLoginName("abcdefghijklmnopqrstu"));
    // Characters, not bytes: 20 of them in 21 bytes; one beyond the BMP counts twice.
    EXPECT_TRUE(IsActiveDirectoryLoginName("M\xC3\xBCnchenabcdefghijklm"));
    EXPECT_FALSE(IsActiveDirectoryLoginName("abcdefghijklmnopqrs\xF0\x9F\x98\x80"));
    EXPECT_TRUE(IsActiveDirectoryLoginName("#a"));
    // An '@' would put two in the userPrincipalName; blanks at the ends and controls AD keeps unseen.
    for (const char* refused : {"trail ", " lead", "a@b", "a\tb", "a\x7F", "a\xC2\x85"})
        EXPECT_FALSE(IsActiveDirectoryLoginName(refused)) << refused;
    EXPECT_TRUE(IsActiveDirectoryLoginName("in ner"));
    for (const char special : std::string_view("\"/\\[]:;|=,+*?<>"))
        EXPECT_FALSE(IsActiveDirectoryLoginName(std::string("a") + special + "b")) << special;
}

namespace {
LdapServerFacts Server(LdapServerKind kind, const std::string& domain) {
    LdapServerFacts facts;
    facts.kind = kind;
    facts.domainDnsName = domain;
    return facts;
}
} // namespace

TEST(LdapUserProfile, LoginNameBecomesTheServersLoginAttribute) {
    using Attributes = std::vector<UserAttribute>;
    UserEntry entry;
    ASSERT_EQ(MakeUserEntry(Server(LdapServerKind::ActiveDirectory, "ad.example.com"), {"stud0001", "Student"}, &entry),
              rc::kSuccess);
    EXPECT_EQ(entry.rdnAttribute, "cn");
    EXPECT_EQ(entry.attributes, (Attributes{{"objectClass", {"user"}},
                                            {"cn", {"stud0001"}},
                                            {"sAMAccountName", {"stud0001"}},
                                            {"userPrincipalName", {"stud0001@ad.example.com"}},
                                            {"sn", {"Student"}},
                                            {"userAccountControl", {"514"}}}));
    for (const LdapServerKind kind : {LdapServerKind::OpenLdap, LdapServerKind::Dirsrv389, LdapServerKind::Generic}) {
        ASSERT_EQ(MakeUserEntry(Server(kind, "example.com"), {"a,b", "Student"}, &entry), rc::kSuccess);
        EXPECT_EQ(
            entry.attributes,
            (Attributes{{"objectClass", {"inetOrgPerson"}}, {"cn", {"a,b"}}, {"sn", {"Student"}}, {"uid", {"a,b"}}}));
    }
    entry = {};
    EXPECT_EQ(MakeUserEntry(Server(LdapServerKind::ActiveDirectory, "ad.example.com"), {"a,b", "Student"}, &entry),
              rc::kLoginNameNotValid);
    EXPECT_TRUE(entry.attributes.empty());
}

// What the add carries beyond the user without a password, per kind; the password itself is marked as
// nothing a read-back can compare.
TEST(LdapUserProfile, PasswordAndDemandToChangeGoIntoTheOneAdd) {
    using Attributes = std::vector<UserAttribute>;
    const auto added = [](LdapServerKind kind, const std::string& password, bool mustChange) {
        UserEntry entry;
        EXPECT_EQ(MakeUserEntry(Server(kind, "ad.example.com"), {"u", "S", password, mustChange}, &entry),
                  rc::kSuccess);
        const std::size_t plain = kind == LdapServerKind::ActiveDirectory ? 5 : 4;
        return entry.attributes.size() < plain ? Attributes{}
                                               : Attributes(entry.attributes.begin() + plain, entry.attributes.end());
    };
    // "ü", a quote and U+1F600, which UTF-16 holds as a surrogate pair.
    const std::string password = "\xC3\xBC\"\xF0\x9F\x98\x80";
    const std::string unicodePwd("\"\0\xFC\0\"\0\x3D\xD8\x00\xDE\"\0", 12);
    EXPECT_EQ(added(LdapServerKind::ActiveDirectory, password, false),
              (Attributes{{"unicodePwd", {unicodePwd}, false}, {"userAccountControl", {"512"}}}));
    EXPECT_EQ(
        added(LdapServerKind::ActiveDirectory, password, true),
        (Attributes{{"unicodePwd", {unicodePwd}, false}, {"userAccountControl", {"512"}}, {"pwdLastSet", {"0"}}}));
    // 389 hashes what it gets and asks for the change by its own policy.
    EXPECT_EQ(added(LdapServerKind::Dirsrv389, password, true), (Attributes{{"userPassword", {password}, false}}));

    const Attributes first = added(LdapServerKind::OpenLdap, password, true);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1], (UserAttribute{"pwdReset", {"TRUE"}}));
    EXPECT_EQ(first[0].name, "userPassword");
    EXPECT_FALSE(first[0].comparable);
    const std::string hash = first[0].values.at(0);
    EXPECT_TRUE(hash.starts_with("{SSHA}")) << hash;
    EXPECT_EQ(hash.size(), 6u + 40u); // base64 of a 20-byte digest and an 8-byte salt
    // Salted: the same password never hashes the same way twice.
    EXPECT_NE(added(LdapServerKind::OpenLdap, password, false).at(0).values, first[0].values);

    UserEntry entry;
    EXPECT_EQ(MakeUserEntry(Server(LdapServerKind::Generic, ""), {"u", "S", password, false}, &entry),
              rc::kPasswordNotSupported);
}

TEST(LdapUserProfile, UnicodePwdTakesOnlyWellFormedUtf8) {
    EXPECT_EQ(UnicodePwdValue("a b\\"), std::string("\"\0a\0 \0b\0\\\0\"\0", 12));
    EXPECT_EQ(UnicodePwdValue("\xEF\xBF\xBD"), std::string("\"\0\xFD\xFF\"\0", 6));
    for (const char* malformed :
         {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\x80"})
        EXPECT_EQ(UnicodePwdValue(malformed), std::nullopt) << malformed;
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
    environment.Unset(kServerKindVariable);

    LdapSettings settings = LdapSettingsFromEnvironment();
    EXPECT_EQ(settings.bindDn, "cn=from file,o=Acme");
    EXPECT_EQ(settings.saslMech, "external");
    EXPECT_EQ(settings.passwordFile, "/nonexistent/pw");
    EXPECT_EQ(settings.serverKind, std::nullopt);

    environment.Set("LDAPBINDDN", "cn=someone,o=Acme");
    environment.Set("LDAPSASL_MECH", "PLAIN");
    environment.Set(kServerKindVariable, "389");
    settings = LdapSettingsFromEnvironment();
    EXPECT_EQ(settings.serverKind, LdapServerKind::Dirsrv389);
    EXPECT_EQ(settings.bindDn, "cn=someone,o=Acme");
    EXPECT_EQ(settings.saslMech, "PLAIN");
}
