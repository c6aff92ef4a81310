#include "ui/listen/sound_inputs.h"

#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>

namespace ao07::ui {

SoundInputs::SoundInputs(QObject* parent) : QObject(parent), m_devices(new QMediaDevices(this)) {
    connect(m_devices, &QMediaDevices::audioInputsChanged, this, &SoundInputs::inputsChanged);
}

QList<QAudioDevice> SoundInputs::Inputs() const {
    QList<QAudioDevice> inputs = QMediaDevices::audioInputs();
    const QAudioDevice fallback = QMediaDevices::defaultAudioInput();
    const auto found = std::find(inputs.begin(), inputs.end(), fallback);
    if (found != inputs.end()) {
        std::rotate(inputs.begin(), found, found + 1);
    }
    return inputs;
}

QList<QAudioDevice> SoundInputs::WaitForInputs(int milliseconds) {
    if (!QMediaDevices::audioInputs().isEmpty()) {
        return Inputs();
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    connect(m_devices, &QMediaDevices::audioInputsChanged, &loop, &QEventLoop::quit);
    loop.exec();
    return Inputs();
}

QAudioDevice SoundInputs::Find(const QString& name) const {
    for (const QAudioDevice& device : Inputs()) {
        if (device.description() == name || QString::fromUtf8(device.id()) == name) {
            return device;
        }
    }
    return {};
}

}  // namespace ao07::ui
