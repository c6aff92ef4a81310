// ao07-trends-open LOG [CHANNEL|all]: times the Trends window on a log, offscreen, from the
// request to open it to its first drawn plot, then one zoom with its redraw and one hover
// search. Prints "open_ms ZOOM_ms hover_ms rss_kb" figures on one line. The channel defaults to 3A.

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <sys/resource.h>

#include <cstdio>

#include "ui/trends/trends_plot.h"
#include "ui/trends/trends_window.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: ao07-trends-open LOG [CHANNEL|all]\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    auto* window = new ao07::ui::TrendsWindow({arguments.at(1)});
    if (arguments.size() == 2) {
        window->ShowChannel(9);
    }
    if (arguments.size() > 2 && arguments.at(2) == u"all") {
        window->ShowAllChannels();  // one redraw, as "Show all trends" does
    } else if (arguments.size() > 2) {
        window->ShowChannel(arguments.at(2).toInt());
    }
    window->show();
    // The plot is drawn into its buffer by replot; grab() paints the window as the screen would.
    window->Plot()->replot();
    window->grab();
    const double openMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    clock.restart();
    ao07::ui::TrendsPlot* plot = window->Plot();
    plot->xAxis->scaleRange(0.5);
    plot->replot();
    QApplication::processEvents();  // the statistics of the new range
    const double zoomMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    clock.restart();
    const QString hover = plot->HoverText(QPointF(plot->width() / 2.0, plot->height() / 2.0));
    const double hoverMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("frames %zu open_ms %.1f zoom_ms %.1f hover_ms %.2f rss_kb %ld\n",
                window->Data().Frames().size(), openMs, zoomMs, hoverMs, usage.ru_maxrss);
    delete window;
    return 0;
}
