#pragma once

#include "cli/Command.h"

#include <memory>

// The verbs of quillbarrow-cli, one file each.
std::unique_ptr<Command> MakeWhoamiCommand();
std::unique_ptr<Command> MakeScanCommand();
std::unique_ptr<Command> MakeCreateCommand();
