// quillbarrow-cli scan: the containers as the window's tree shows them, then the two counts.
#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Progress.h"
#include "cli/ScanTree.h"
#include "directory/DirectoryQueries.h"
#include "directory/DirectoryUi.h"

#include <array>
#include <cstdio>
#include <string>

namespace {
constexpr std::array<OptionSpec, 2> kOptions{{
    {"json", "", "print the tree as JSON"},
    {"quiet", "", "no progress on standard error"},
}};

// The length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned min = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2, min = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        length = 3, min = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        length = 4, min = 0x10000;
    else
        return 0;
    if (text.size() < length)
        return 0;
    unsigned code = lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// A JSON string; a byte that is no part of valid UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view text) {
    std::string json = "\"";
    while (!text.empty()) {
        const std::size_t length = Utf8Length(text);
        const unsigned char c = static_cast<unsigned char>(text[0]);
        if (length == 0) {
            json += "\\ufffd";
            text.remove_prefix(1);
            continue;
        }
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            json += escaped;
        } else {
            json.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return json + "\"";
}

void PrintText(const ScanTree& tree, std::size_t id, std::size_t level) {
    std::printf("%s%s\n", std::string(level * 2, ' ').c_str(), tree.nodes[id].container.dottedName.c_str());
    for (const std::size_t child : tree.nodes[id].children)
        PrintText(tree, child, level + 1);
}

std::string NodeJson(const ScanTree& tree, std::size_t id) {
    const ScannedContainer& container = tree.nodes[id].container;
    std::string json = "{\"name\":" + JsonString(container.name) +
                       ",\"dottedName\":" + JsonString(container.dottedName) +
                       ",\"directoryName\":" + JsonString(ContainerDirectoryName(container.dottedName)) +
                       ",\"class\":" + JsonString(container.baseClass) + ",\"children\":[";
    bool first = true;
    for (const std::size_t child : tree.nodes[id].children) {
        if (!first)
            json += ',';
        json += NodeJson(tree, child);
        first = false;
    }
    return json + "]}";
}

class ScanCommand final : public Command {
public:
    std::string_view Name() const override { return "scan"; }
    std::string_view Description() const override {
        return "Print the containers of the directory as the window's tree shows them, and the counts.";
    }
    std::span<const OptionSpec> OptionTable() const override { return kOptions; }
    int Execute(const Options& options) override {
        Progress progress(options.Has("quiet"));
        auto tree = ScanDirectory([&](std::int32_t objects) { progress.ShowCount("Objects detected: ", objects); });
        progress.Clear();
        if (!tree)
            return exitstatus::kDirectoryFailure;
        if (options.Has("json")) {
            std::printf("{\"tree\":%s,\"objectsDetected\":%d,\"containersFound\":%d}\n", NodeJson(*tree, 0).c_str(),
                        static_cast<int>(tree->scan.Objects()), static_cast<int>(tree->scan.Containers()));
        } else {
            PrintText(*tree, 0, 0);
            std::printf("Objects detected: %d\nContainers found: %d\n", static_cast<int>(tree->scan.Objects()),
                        static_cast<int>(tree->scan.Containers()));
        }
        // A tree that lacks what could not be listed must not pass for the whole directory.
        if (const std::string incomplete = tree->scan.IncompleteMessage(); !incomplete.empty()) {
            Ui().ShowMessage(incomplete);
            return exitstatus::kDirectoryFailure;
        }
        return exitstatus::kSuccess;
    }
};
} // namespace

std::unique_ptr<Command> MakeScanCommand() {
    return std::make_unique<ScanCommand>();
}
