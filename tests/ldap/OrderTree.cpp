#include "OrderTree.h"

#include <array>

namespace {
std::string Unit(const std::string& dn, bool contacts) {
    return "dn: " + dn + "\nobjectClass: organizationalUnit\n" +
           (contacts ? "" : "ou: " + dn.substr(3, dn.find(',') - 3) + "\n") + "\n";
}

std::string Leaf(const std::string& name, const std::string& parent, bool contacts) {
    if (contacts)
        return "dn: CN=" + name + "," + parent + "\nobjectClass: contact\n\n";
    return "dn: cn=" + name + "," + parent + "\nobjectClass: inetOrgPerson\ncn: " + name + "\nsn: Order\n\n";
}
} // namespace

std::string OrderTreeLdif(const std::string& base, bool contacts) {
    const std::string ou = contacts ? "OU=" : "ou=";
    const std::string order = ou + "Order," + base;
    std::string ldif = Unit(order, contacts);
    const std::array<const char*, 10> names{"Zeta", "Bb", "a_", "AB", "aa", "9x", "x y", "Mid-1", "a^", "Kilo"};
    for (const char* name : names) {
        const std::string unit = ou + name + "," + order;
        ldif += Unit(unit, contacts);
        ldif += Unit(ou + "Z2," + unit, contacts);
        ldif += Unit(ou + "Z1," + unit, contacts);
        ldif += Leaf("lead", unit, contacts);
        if (name == names[4])
            ldif += Leaf("Zed", order, contacts);
    }
    return ldif;
}
