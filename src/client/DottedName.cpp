#include "client/DottedName.h"

#include "client/ClientTypes.h"

#include <algorithm>

namespace {
void AppendEscaped(std::string_view text, std::string_view special, std::string* out) {
    for (char c : text) {
        if (c == '\\' || special.find(c) != std::string_view::npos)
            *out += '\\';
        *out += c;
    }
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNumericOid(std::string_view type) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = std::min(type.find('.', start), type.size());
        const std::string_view number = type.substr(start, dot - start);
        if (number.empty() || !std::all_of(number.begin(), number.end(), IsDigit) ||
            (number.size() > 1 && number.front() == '0'))
            return false;
        if (dot == type.size())
            return true;
        start = dot + 1;
    }
}

// One part while it is read: its text without escapes, where its first unescaped "=" stood, and
// whether anything in it was escaped.
struct RawPart {
    std::string text;
    std::size_t equals = std::string::npos;
    bool escaped = false;
    bool empty = true;
};

std::optional<NamePart> FinishPart(RawPart raw) {
    if (raw.empty)
        return std::nullopt;
    if (raw.equals == std::string::npos)
        return NamePart{{}, std::move(raw.text)};
    NamePart part{raw.text.substr(0, raw.equals), raw.text.substr(raw.equals + 1)};
    if (!IsAttributeType(part.type) || part.value.empty())
        return std::nullopt;
    return part;
}
} // namespace

std::string EscapeNamePart(std::string_view value) {
    if (value == kRootName)
        return "[Root\\]";
    std::string escaped;
    escaped.reserve(value.size() + 4);
    AppendEscaped(value, ".=", &escaped);
    return escaped;
}

std::string FormatNamePart(const NamePart& part) {
    if (part.type.empty())
        return EscapeNamePart(part.value);
    std::string written;
    written.reserve(part.type.size() + part.value.size() + 5);
    AppendEscaped(part.type, ".", &written);
    written += '=';
    AppendEscaped(part.value, ".", &written);
    return written;
}

bool IsAttributeType(std::string_view type) {
    if (type.empty())
        return false;
    if (IsDigit(type.front()))
        return IsNumericOid(type);
    return IsLetter(type.front()) &&
           std::all_of(type.begin(), type.end(), [](char c) { return IsLetter(c) || IsDigit(c) || c == '-'; });
}

std::optional<DottedName> SplitDottedName(std::string_view name) {
    DottedName split;
    RawPart raw;
    bool top = false; // the part just finished was the unescaped "[Root]"
    auto finish = [&]() {
        if (top)
            return false; // "[Root]" below another part
        if (!raw.escaped && raw.equals == std::string::npos && raw.text == kRootName) {
            top = true;
        } else {
            auto part = FinishPart(std::move(raw));
            if (!part)
                return false;
            split.parts.push_back(std::move(*part));
        }
        raw = RawPart{};
        return true;
    };
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '.') {
            if (!finish())
                return std::nullopt;
            continue;
        }
        raw.empty = false;
        if (c == '\\') {
            if (i + 1 == name.size())
                return std::nullopt;
            raw.escaped = true;
            raw.text += name[++i];
        } else {
            if (c == '=' && raw.equals == std::string::npos)
                raw.equals = raw.text.size();
            raw.text += c;
        }
    }
    if (!finish())
        return std::nullopt;
    split.fromRoot = top;
    return split;
}

std::string JoinDottedName(const std::vector<NamePart>& partsLeafFirst) {
    std::string joined;
    for (const NamePart& part : partsLeafFirst) {
        if (!joined.empty())
            joined += '.';
        joined += FormatNamePart(part);
    }
    return joined;
}

std::optional<std::vector<std::string>> TypelessValues(const std::vector<NamePart>& path) {
    std::vector<std::string> values;
    values.reserve(path.size());
    for (const NamePart& part : path) {
        if (!part.type.empty())
            return std::nullopt;
        values.push_back(part.value);
    }
    return values;
}

namespace {
// Parts of a name that names from the top, leaf first; the top itself gives no parts.
std::optional<std::vector<NamePart>> AbsoluteParts(std::string_view name) {
    if (name.empty())
        return std::vector<NamePart>{};
    auto split = SplitDottedName(name);
    if (!split)
        return std::nullopt;
    return std::move(split->parts);
}
} // namespace

std::optional<std::vector<NamePart>> ResolveName(std::string_view name, std::string_view nameContext) {
    std::optional<std::vector<NamePart>> parts;
    if (!name.empty() && name.front() == '.') {
        parts = AbsoluteParts(name.substr(1));
    } else if (name.empty()) {
        parts = AbsoluteParts(nameContext);
    } else {
        auto split = SplitDottedName(name);
        if (!split)
            return std::nullopt;
        parts = std::move(split->parts);
        // A name that ends in "[Root]" names from the top, whatever the name context.
        if (!split->fromRoot) {
            auto base = AbsoluteParts(nameContext);
            if (!base)
                return std::nullopt;
            parts->insert(parts->end(), std::make_move_iterator(base->begin()), std::make_move_iterator(base->end()));
        }
    }
    if (!parts)
        return std::nullopt;
    std::reverse(parts->begin(), parts->end());
    return parts;
}
