#pragma once

#include <QStringList>
#include <QtPlugin>

#include "ui/listen/listen_request.h"

class QWidget;

namespace ao07::ui {

/// What the Listen window's module offers the program that loads it. The module brings Qt
/// Multimedia and the audio libraries with it, so they are loaded only when listening is asked
/// for, and the program starts as fast without them.
class ListenWindowFactory {
public:
    virtual ~ListenWindowFactory() = default;

    /// A new Listen window, shown by the caller; it deletes itself when closed.
    virtual QWidget* CreateListenWindow(const ListenRequest& request, QWidget* parent) = 0;

    /// The sound inputs as --device takes them ("description (id)"), the system default first;
    /// waits up to `milliseconds` for the sound server to list them.
    virtual QStringList InputNames(int milliseconds) = 0;
};

}  // namespace ao07::ui

#define AO07_LISTEN_WINDOW_FACTORY_IID "org.ao07.ListenWindowFactory/1"
Q_DECLARE_INTERFACE(ao07::ui::ListenWindowFactory, AO07_LISTEN_WINDOW_FACTORY_IID)
