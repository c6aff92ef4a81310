#pragma once

#include <QAudioDevice>
#include <QList>
#include <QObject>
#include <QString>

class QMediaDevices;

namespace ao07::ui {

/// The sound inputs as Qt Multimedia lists them, the system default first. The list comes
/// from the sound server once the event loop runs, and changes as devices come and go.
class SoundInputs final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SoundInputs)

public:
    explicit SoundInputs(QObject* parent = nullptr);

    /// The inputs known now, the system default first.
    QList<QAudioDevice> Inputs() const;

    /// Waits up to `milliseconds` for the sound server's list, then returns it.
    QList<QAudioDevice> WaitForInputs(int milliseconds);

    /// The input whose description or id is `name`, or a null device.
    QAudioDevice Find(const QString& name) const;

signals:
    /// The list of inputs changed.
    void inputsChanged();

private:
    QMediaDevices* m_devices = nullptr;
};

}  // namespace ao07::ui
