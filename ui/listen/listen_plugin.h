#pragma once

#include <QObject>

#include "ui/listen/listen_window_factory.h"

namespace ao07::ui {

/// The Listen window's module, as QPluginLoader finds it.
class ListenPlugin final : public QObject, public ListenWindowFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID AO07_LISTEN_WINDOW_FACTORY_IID)
    Q_INTERFACES(ao07::ui::ListenWindowFactory)

public:
    QWidget* CreateListenWindow(const ListenRequest& request, QWidget* parent) override;
    QStringList InputNames(int milliseconds) override;
};

}  // namespace ao07::ui
