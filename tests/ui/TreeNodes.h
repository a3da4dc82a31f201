#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItem>

// The node reached by following texts from the tree's first top node ("[Root]") down; null when
// there is none.
inline QTreeWidgetItem* NodeAt(const QTreeWidget& tree, const QStringList& path) {
    QTreeWidgetItem* node = tree.topLevelItem(0);
    for (const QString& text : path) {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; node && i < node->childCount() && !next; ++i) {
            if (node->child(i)->text(0) == text)
                next = node->child(i);
        }
        node = next;
    }
    return node;
}
