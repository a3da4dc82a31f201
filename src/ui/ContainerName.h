#pragma once

#include <string>

class QTreeWidgetItem;

// Dotted container name of a tree node, as the directory is given it: "[Root]" for the top node,
// else the node's text followed by "." and each ancestor's text up to level 1.
// `scanDot` puts the scan's extra "." in front of the names of nodes at level 2 and deeper.
std::string DottedContainerName(const QTreeWidgetItem* node, bool scanDot);
