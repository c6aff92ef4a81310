#include "ui/trends/trends_command_line.h"

#include <QApplication>

#include "ui/trends/trends_window.h"

namespace ao07::ui {
namespace {

// The channel shown first when the Trends window opens alone: the battery voltage, the first
// thing an operator looks at to see how the satellite is doing.
constexpr int kFirstShownChannel = 9;

}  // namespace

int RunTrendsAlone(const QStringList& logs) {
    auto* trends = new TrendsWindow(logs);  // deletes itself when closed
    trends->ShowChannel(kFirstShownChannel);
    trends->show();
    return QApplication::exec();
}

}  // namespace ao07::ui
