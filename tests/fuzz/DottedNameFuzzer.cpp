// The dotted-name codec. Input lines: the first is read as a dotted name as it stands; every
// further line is one name part, "p" and a typeless value, or "t", a type, ":" and a value.
// Checks: a name that splits is written back to the same parts; parts joined into a name split
// into exactly those parts and resolve to exactly them, whether the name is relative, absolute
// or ends in "[Root]", and whatever context the name is relative to.
#include "FuzzInput.h"
#include "client/DottedName.h"

#include <algorithm>
#include <string>

namespace {
std::vector<NamePart> PartsOf(const std::vector<std::string_view>& lines) {
    std::vector<NamePart> parts;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty())
            continue;
        NamePart part;
        const std::size_t colon = line.find(':');
        if (line.front() == 't' && colon != std::string_view::npos) {
            part.type = std::string(line.substr(1, colon - 1));
            part.value = std::string(line.substr(colon + 1));
            if (!IsAttributeType(part.type))
                part.type.clear();
        } else {
            part.value = std::string(line.substr(1));
        }
        if (!part.value.empty())
            parts.push_back(std::move(part));
    }
    return parts;
}

std::vector<NamePart> TopDown(std::vector<NamePart> leafFirst) {
    std::reverse(leafFirst.begin(), leafFirst.end());
    return leafFirst;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = Lines(InputText(data, size));
    if (lines.empty())
        return 0;

    // Whatever splits is written back to a name that splits the same way.
    if (const auto split = SplitDottedName(lines[0])) {
        std::string written = JoinDottedName(split->parts);
        if (split->fromRoot)
            written += written.empty() ? "[Root]" : ".[Root]";
        const auto again = SplitDottedName(written);
        FUZZ_CHECK(again && again->parts == split->parts && again->fromRoot == split->fromRoot);
    }
    ResolveName(lines[0], lines[0]);

    const std::vector<NamePart> parts = PartsOf(lines);
    if (parts.empty())
        return 0;
    const std::string name = JoinDottedName(parts);
    const auto split = SplitDottedName(name);
    FUZZ_CHECK(split && split->parts == parts && !split->fromRoot);
    for (const NamePart& part : parts)
        FUZZ_CHECK(SplitDottedName(FormatNamePart(part))->parts == std::vector<NamePart>{part});

    const std::vector<NamePart> path = TopDown(parts);
    FUZZ_CHECK(ResolveName(name, "[Root]") == path);
    FUZZ_CHECK(ResolveName(name + ".[Root]", lines[0]) == path);
    FUZZ_CHECK(ResolveName("." + name, lines[0]) == path);
    // Split anywhere, the leaf side relative to the rest as the name context.
    for (std::size_t leafParts = 1; leafParts < parts.size(); ++leafParts) {
        const std::vector<NamePart> leaf(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(leafParts));
        const std::vector<NamePart> context(parts.begin() + static_cast<std::ptrdiff_t>(leafParts), parts.end());
        FUZZ_CHECK(ResolveName(JoinDottedName(leaf), JoinDottedName(context)) == path);
        FUZZ_CHECK(ResolveName(JoinDottedName(leaf), JoinDottedName(context) + ".[Root]") == path);
    }
    return 0;
}
