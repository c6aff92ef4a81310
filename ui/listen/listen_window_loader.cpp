#include "ui/listen/listen_window_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

#include "ui/listen/listen_window_factory.h"

namespace ao07::ui {

ListenWindowFactory* ListenWindowModule(QString& error) {
    // Installed, the module lies in the program's library folder; in the build tree, where it
    // was built. The installed place comes first, so that an installed program never takes a
    // build tree's module.
    const QString candidates[] = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(AO07_LISTEN_MODULE_INSTALLED)),
        QStringLiteral(AO07_LISTEN_MODULE_BUILT),
    };
    QStringList reasons;
    for (const QString& path : candidates) {
        if (!QFileInfo::exists(path)) {
            continue;
        }
        // The module stays loaded, and its root object alive, when the loader goes.
        QPluginLoader loader(path);
        if (auto* factory = qobject_cast<ListenWindowFactory*>(loader.instance())) {
            return factory;
        }
        reasons << loader.errorString();
    }
    error = reasons.isEmpty()
                ? QCoreApplication::translate("ListenWindowModule",
                                              "The Listen window's module is not installed.")
                : reasons.join(QLatin1Char('\n'));
    return nullptr;
}

}  // namespace ao07::ui
