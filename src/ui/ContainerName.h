#pragma once

#include <string>

class QTreeWidgetItem;

// Dotted container name of a tree node, as the directory is given it: "[Root]" for the top node,
// else the node's text followed by "." and each ancestor's text up to level 1.
std::string DottedContainerName(const QTreeWidgetItem* node);
