#include "ui/listen/listen_plugin.h"

#include "ui/listen/listen_window.h"
#include "ui/listen/sound_inputs.h"

namespace ao07::ui {

QWidget* ListenPlugin::CreateListenWindow(const ListenRequest& request, QWidget* parent) {
    auto* window = new ListenWindow(request, parent);
    window->setWindowFlag(Qt::Window);
    return window;
}

QStringList ListenPlugin::InputNames(int milliseconds) {
    SoundInputs inputs;
    QStringList names;
    for (const QAudioDevice& device : inputs.WaitForInputs(milliseconds)) {
        names << QStringLiteral("%1 (%2)").arg(device.description(),
                                               QString::fromUtf8(device.id()));
    }
    return names;
}

}  // namespace ao07::ui
