#include "ui/ContainerName.h"

#include <QTreeWidgetItem>

std::string DottedContainerName(const QTreeWidgetItem* node) {
    // Node texts are entry names as the listing hands them out, "." and "\" already escaped, so
    // joining them with "." names the container.
    std::string name = node->text(0).toStdString();
    if (!node->parent())
        return name;
    for (const QTreeWidgetItem* above = node->parent(); above->parent(); above = above->parent())
        name += '.' + above->text(0).toStdString();
    return name;
}
