#include "ContentWindow.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

#include "RegionLoader.h"
#include "ViewModelBridge.h"

Q_IMPORT_QML_PLUGIN(Vesko_UiPlugin)

namespace vesko {

QQuickWindow* createContentView(QQmlEngine& engine, std::shared_ptr<PhotoViewModel> model,
                                std::shared_ptr<const HintedDecoder> regionDecoder,
                                std::shared_ptr<Preferences> preferences) {
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    // Imported by its module name, so that the module's C++ types are registered with it.
    QQmlComponent component(&engine);
    component.setData("import Vesko.Ui\nContentView {}\n", QUrl());
    if (component.isError()) {
        qWarning().noquote() << component.errorString();
        return nullptr;
    }
    auto* loader = new RegionLoader(std::move(regionDecoder));
    auto* bridge = new ViewModelBridge(std::move(model), std::move(preferences));
    QObject* root = component.createWithInitialProperties(
        {{QStringLiteral("viewModel"), QVariant::fromValue(bridge)},
         {QStringLiteral("regionLoader"), QVariant::fromValue(loader)}});
    auto* window = qobject_cast<QQuickWindow*>(root);
    if (!window) {
        qWarning().noquote() << component.errorString();
        delete root;
        delete bridge;
        delete loader;
        return nullptr;
    }
    bridge->setParent(window);
    loader->setParent(window);
    return window;
}

}  // namespace vesko
