#include "DottedName.h"

#include "ClientTypes.h"

#include <algorithm>

std::string EscapeNamePart(std::string_view part) {
    std::string escaped;
    escaped.reserve(part.size() + 4);
    for (char c : part) {
        if (c == '.' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::optional<std::vector<std::string>> SplitDottedName(std::string_view name) {
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '\\') {
            if (i + 1 == name.size())
                return std::nullopt;
            parts.back() += name[++i];
        } else if (c == '.') {
            if (parts.back().empty())
                return std::nullopt;
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    if (parts.back().empty())
        return std::nullopt;
    return parts;
}

std::string JoinDottedName(const std::vector<std::string>& partsLeafFirst) {
    std::string joined;
    for (const std::string& part : partsLeafFirst) {
        if (!joined.empty())
            joined += '.';
        joined += EscapeNamePart(part);
    }
    return joined;
}

namespace {
// Parts of a name that names from the top, leaf first; the top itself gives no parts.
std::optional<std::vector<std::string>> AbsoluteParts(std::string_view name) {
    if (name.empty() || name == kRootName)
        return std::vector<std::string>{};
    auto parts = SplitDottedName(name);
    if (parts && !parts->empty() && parts->back() == kRootName && name.size() >= 6 &&
        name.substr(name.size() - 6) == kRootName)
        parts->pop_back();
    return parts;
}
} // namespace

std::optional<std::vector<std::string>> ResolveName(std::string_view name, std::string_view nameContext) {
    std::optional<std::vector<std::string>> parts;
    if (!name.empty() && name.front() == '.') {
        parts = AbsoluteParts(name.substr(1));
    } else if (name == kRootName) {
        parts = std::vector<std::string>{};
    } else {
        auto base = AbsoluteParts(nameContext);
        if (!base)
            return std::nullopt;
        if (name.empty()) {
            parts = std::move(base);
        } else {
            parts = SplitDottedName(name);
            if (!parts)
                return std::nullopt;
            if (parts->back() == kRootName && name.size() >= 6 && name.substr(name.size() - 6) == kRootName)
                parts->pop_back();
            else
                parts->insert(parts->end(), base->begin(), base->end());
        }
    }
    if (!parts)
        return std::nullopt;
    std::reverse(parts->begin(), parts->end());
    return parts;
}
