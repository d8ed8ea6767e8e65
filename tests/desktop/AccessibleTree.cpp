#include "AccessibleTree.h"

#include <QQuickWindow>

namespace vesko {
namespace {

void collect(QAccessibleInterface* node, QList<AccessibleNode>& out) {
    if (!node || !node->isValid() || node->state().invisible) {
        return;
    }
    out.append({node->role(), node->text(QAccessible::Name), node});
    for (int i = 0; i < node->childCount(); ++i) {
        collect(node->child(i), out);
    }
}

}  // namespace

QList<AccessibleNode> accessibleTree(QQuickWindow* window) {
    QList<AccessibleNode> nodes;
    collect(QAccessible::queryAccessibleInterface(window), nodes);
    return nodes;
}

const AccessibleNode* findNode(const QList<AccessibleNode>& tree, QAccessible::Role role,
                               const QString& name) {
    for (const AccessibleNode& node : tree) {
        if (node.role == role && node.name == name) {
            return &node;
        }
    }
    return nullptr;
}

}  // namespace vesko
