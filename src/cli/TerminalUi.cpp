#include "cli/TerminalUi.h"

#include <cstdio>

void TerminalUi::ShowMessage(const std::string& text) {
    std::string lines;
    for (const char c : text) {
        if (c != '\r')
            lines += c;
    }
    std::fprintf(stderr, "%s\n", lines.c_str());
}
