#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <map>
#include <set>

#include "ui/trends/trends_window.h"

class QWidget;

namespace ao07::ui {

class MainWindow;

/// Opens the Trends window from the main window without changing its layout: a double-click on
/// a channel's converted value shows that channel; a right-click in a "Channel Parameter" frame
/// or the "Raw Data" frame offers "Show trends of <channel>" and "Show all trends". It also
/// passes each frame the main window completes to the Trends window for its mark.
class TrendsOpener final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrendsOpener)

public:
    explicit TrendsOpener(MainWindow& window);

    /// Opens or raises the Trends window of the main window's log and shows channel 1..24,
    /// or every channel for 0.
    void OpenTrends(int channel);
    /// The Trends window opened from here, if it is open.
    TrendsWindow* Window() const { return m_trends; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The channel whose line or cell of `frame` holds `pos` (frame coordinates), or 0.
    int ChannelAt(QWidget* frame, const QPoint& pos) const;
    QString CurrentLog() const;

    MainWindow& m_main;
    QPointer<TrendsWindow> m_trends;
    std::map<QObject*, int> m_valueChannel;  ///< each converted-value label and its channel
    std::set<QWidget*> m_frames;             ///< the channel frames and the raw data frame
    QString m_lastLog;                       ///< the log of the main window's last frame
    int m_lastFrame = 0;
};

}  // namespace ao07::ui
