#pragma once

#include "cli/Command.h"
#include "directory/AccountBatch.h"

#include <memory>

// The verbs of quillbarrow-cli, one file each.
std::unique_ptr<Command> MakeWhoamiCommand();
std::unique_ptr<Command> MakeScanCommand();
std::unique_ptr<Command> MakeCreateCommand();
// disable, enable and remove: a batch of users (BatchCommand.cpp).
std::unique_ptr<Command> MakeBatchCommand(BatchAction action);
