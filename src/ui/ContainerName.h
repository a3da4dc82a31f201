#pragma once

#include <string>

class QTreeWidgetItem;

// The directory's own dotted name of the container a tree node stands for, kept on the node
// (Qt::UserRole, the bytes as listed) so that a name that is no valid UTF-8 survives the text shown.
void SetContainerName(QTreeWidgetItem* node, const std::string& dottedName);
// "[Root]" for the top node, else what the scan put on the node.
std::string DottedContainerName(const QTreeWidgetItem* node);
