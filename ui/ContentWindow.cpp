#include "ContentWindow.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

#include "ViewModelBridge.h"

Q_IMPORT_QML_PLUGIN(Vesko_UiPlugin)

namespace vesko {

QQuickWindow* createContentView(QQmlEngine& engine, std::shared_ptr<PhotoViewModel> model) {
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    // Imported by its module name, so that the module's C++ types are registered with it.
    QQmlComponent component(&engine);
    component.setData("import Vesko.Ui\nContentView {}\n", QUrl());
    if (component.isError()) {
        qWarning().noquote() << component.errorString();
        return nullptr;
    }
    auto* bridge = new ViewModelBridge(std::move(model));
    QObject* root = component.createWithInitialProperties(
        {{QStringLiteral("viewModel"), QVariant::fromValue(bridge)}});
    auto* window = qobject_cast<QQuickWindow*>(root);
    if (!window) {
        qWarning().noquote() << component.errorString();
        delete root;
        delete bridge;
        return nullptr;
    }
    bridge->setParent(window);
    return window;
}

}  // namespace vesko
