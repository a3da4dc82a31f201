#include "ui/ContainerName.h"

#include <QTreeWidgetItem>

void SetContainerName(QTreeWidgetItem* node, const std::string& dottedName) {
    node->setData(0, Qt::UserRole, QByteArray::fromStdString(dottedName));
}

std::string DottedContainerName(const QTreeWidgetItem* node) {
    return node->data(0, Qt::UserRole).toByteArray().toStdString();
}
