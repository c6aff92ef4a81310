#include "ui/listen/listen_window_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPluginLoader>
#include <QWidget>

#include <cstdio>

#include "ui/listen/listen_request.h"
#include "ui/listen/listen_window_factory.h"

namespace ao07::ui {

ListenWindowFactory* ListenWindowModule(QString& error) {
    // Installed, the module lies in the program's library folder; in the build tree, where it
    // was built. The installed place comes first, so that an installed program never takes a
    // build tree's module.
    const QString candidates[] = {
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral(AO07_LISTEN_MODULE_INSTALLED)),
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

QWidget* OpenListenWindow(const ListenRequest& request, QWidget* parent) {
    QString error;
    ListenWindowFactory* factory = ListenWindowModule(error);
    if (factory == nullptr) {
        const QString message =
            QCoreApplication::translate("ListenWindowModule", "Listening is not available: %1")
                .arg(error);
        std::fprintf(stderr, "%s\n", qPrintable(message));
        if (parent != nullptr) {
            QMessageBox::warning(parent, QCoreApplication::applicationName(), message);
        }
        return nullptr;
    }
    QWidget* window = factory->CreateListenWindow(request, parent);
    window->show();
    return window;
}

QString SoundInputsHelp() {
    // The sound server lists its inputs a moment after it is asked.
    constexpr int kListWaitMs = 1000;
    QString error;
    ListenWindowFactory* factory = ListenWindowModule(error);
    if (factory == nullptr) {
        return QCoreApplication::translate("ListenWindowModule",
                                           "Sound inputs cannot be listed: %1\n")
            .arg(error);
    }
    const QStringList names = factory->InputNames(kListWaitMs);
    if (names.isEmpty()) {
        return QCoreApplication::translate("ListenWindowModule",
                                           "Sound inputs for --device: none found.\n");
    }
    return QCoreApplication::translate("ListenWindowModule",
                                       "Sound inputs for --device, the system default first:\n") +
           QStringLiteral("  ") + names.join(QStringLiteral("\n  ")) + QLatin1Char('\n');
}

}  // namespace ao07::ui
