#include "ui/main_window/trends_opener.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>

#include "ui/main_window/main_window.h"
#include "ui/trends/trends_text.h"
#include "ui/trends/trends_window.h"

namespace ao07::ui {

TrendsOpener::TrendsOpener(MainWindow& window) : QObject(&window), m_main(window) {
    setObjectName(QStringLiteral("trendsOpener"));
    const MainWindowControls& controls = window.Controls();
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        QLabel* value = controls.channelValue[static_cast<std::size_t>(channel - 1)];
        m_valueChannel[value] = channel;
        m_frames.insert(value->parentWidget());
        m_frames.insert(controls.rawValue[static_cast<std::size_t>(channel - 1)]->parentWidget());
    }
    // A right-click on a label inside a frame reaches the frame only if the label passes it on;
    // watching every child as well does not depend on that.
    for (QWidget* frame : m_frames) {
        frame->installEventFilter(this);
        for (QWidget* child : frame->findChildren<QWidget*>()) {
            child->installEventFilter(this);
        }
    }
    connect(&window, &MainWindow::FrameShown, this, [this](const QString& log, int frame) {
        m_lastLog = log;
        m_lastFrame = frame;
        if (m_trends) {
            m_trends->SetMainWindowFrame(log, frame);
        }
    });
}

QString TrendsOpener::CurrentLog() const {
    // After the end of a log the main window still shows its last frame.
    return m_main.ShownLog();
}

void TrendsOpener::OpenTrends(int channel) {
    const QString log = CurrentLog();
    if (!m_trends || (!log.isEmpty() && !m_trends->BelongsTo(log))) {
        if (m_trends) {
            m_trends->close();
        }
        // A window of its own that closes with the main window.
        m_trends = new TrendsWindow(log.isEmpty() ? QStringList() : QStringList{log}, &m_main);
        if (m_lastFrame > 0) {
            m_trends->SetMainWindowFrame(m_lastLog, m_lastFrame);
        }
    }
    if (channel == 0) {
        m_trends->ShowAllChannels();
    } else {
        m_trends->ShowChannel(channel);
    }
    m_trends->show();
    m_trends->raise();
    m_trends->activateWindow();
}

int TrendsOpener::ChannelAt(QWidget* frame, const QPoint& pos) const {
    for (const auto& [object, channel] : m_valueChannel) {
        const auto* value = static_cast<QWidget*>(object);
        if (value->parentWidget() == frame) {
            // The whole line of the channel: caption, value and unit.
            if (pos.y() >= value->geometry().top() && pos.y() <= value->geometry().bottom()) {
                return channel;
            }
        }
    }
    const MainWindowControls& controls = m_main.Controls();
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        QWidget* cell = controls.rawValue[static_cast<std::size_t>(channel - 1)];
        if (cell->parentWidget() == frame && cell->geometry().contains(pos)) {
            return channel;
        }
    }
    return 0;
}

bool TrendsOpener::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto found = m_valueChannel.find(watched);
        if (found != m_valueChannel.end()) {
            OpenTrends(found->second);
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu) {
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* frame = m_frames.count(widget) != 0 ? widget : widget->parentWidget();
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const int channel = ChannelAt(frame, widget->mapTo(frame, menuEvent->pos()));
        QMenu menu(frame);
        menu.setObjectName(QStringLiteral("trendsMenu"));
        if (channel != 0) {
            QAction* one =
                menu.addAction(QStringLiteral("Show trends of %1 %2")
                                   .arg(TrendChannelName(channel), TrendChannelCaption(channel)));
            connect(one, &QAction::triggered, this, [this, channel] { OpenTrends(channel); });
        }
        QAction* all = menu.addAction(QStringLiteral("Show all trends"));
        connect(all, &QAction::triggered, this, [this] { OpenTrends(0); });
        menu.exec(menuEvent->globalPos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ao07::ui
