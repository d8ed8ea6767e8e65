#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

class QQuickWindow;

namespace vesko {

// One visible node of a window's accessibility tree, as a screen reader sees it.
struct AccessibleNode {
    QAccessible::Role role;
    QString name;
    QAccessibleInterface* node;
};

// The visible nodes of the window's tree, depth first.
QList<AccessibleNode> accessibleTree(QQuickWindow* window);

// The node with that role and name, or nullptr.
const AccessibleNode* findNode(const QList<AccessibleNode>& tree, QAccessible::Role role,
                               const QString& name);

}  // namespace vesko
