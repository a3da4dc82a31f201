#include "TreeLdif.h"

#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// LDIF text gathered in memory and written in large pieces: 600,000 entries take well under a second.
class LdifWriter {
public:
    explicit LdifWriter(std::FILE* file) : file_(file) { text_.reserve(kFlushAt + 4096); }
    ~LdifWriter() { Flush(); }

    void Unit(const std::string& dn, const std::string& name) {
        text_ += "dn: ";
        text_ += dn;
        text_ += "\nobjectClass: organizationalUnit\nou: ";
        text_ += name;
        text_ += "\n\n";
        Check();
    }
    void User(const std::string& container, int number) {
        const std::string name = "u" + std::to_string(number);
        text_ += "dn: cn=";
        text_ += name;
        text_ += ',';
        text_ += container;
        text_ += "\nobjectClass: inetOrgPerson\ncn: ";
        text_ += name;
        text_ += "\nsn: Tree\n\n";
        Check();
    }
    void Raw(const std::string& ldif) {
        text_ += ldif;
        Check();
    }
    bool Flush() {
        const bool written = std::fwrite(text_.data(), 1, text_.size(), file_) == text_.size();
        text_.clear();
        ok_ = ok_ && written;
        return ok_;
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    void Check() {
        if (text_.size() >= kFlushAt)
            Flush();
    }

    std::FILE* file_;
    std::string text_;
    bool ok_ = true;
};
} // namespace

bool WriteTreeLdif(const std::string& path, const TreeShape& shape, const std::string& extra) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w"));
    if (!file)
        return false;
    LdifWriter ldif(file.get());
    const std::string tree = "ou=Tree," + shape.suffix;
    ldif.Unit(tree, "Tree");
    const auto unitWithUsers = [&](const std::string& dn, const std::string& name) {
        ldif.Unit(dn, name);
        for (int u = 0; u < shape.usersPerContainer; ++u)
            ldif.User(dn, u);
    };
    for (int t = 0; t < shape.tops; ++t) {
        const std::string topName = "T" + std::to_string(t);
        const std::string top = "ou=" + topName + "," + tree;
        unitWithUsers(top, topName);
        for (int s = 0; s < shape.subs; ++s) {
            const std::string subName = "S" + std::to_string(s);
            unitWithUsers("ou=" + subName + "," + top, subName);
        }
    }
    ldif.Raw(extra);
    return ldif.Flush();
}
