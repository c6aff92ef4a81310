#include "ui/trends/trends_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

#include "ui/program_icons.h"
#include "ui/screen_room.h"
#include "ui/trends/trends_channel_list.h"
#include "ui/trends/trends_export.h"
#include "ui/trends/trends_log_watch.h"
#include "ui/trends/trends_plot.h"
#include "ui/trends/trends_text.h"

namespace ao07::ui {
namespace {

const QStringList kStatisticsColumns = {
    QStringLiteral("Channel"),    QStringLiteral("Frames"),  QStringLiteral("Copied"),
    QStringLiteral("Not copied"), QStringLiteral("Missing"), QStringLiteral("Minimum"),
    QStringLiteral("Maximum"),    QStringLiteral("Mean"),    QStringLiteral("Last")};

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString LogPath(const TrendLog& log) {
    return QFile::decodeName(QByteArray::fromStdString(log.path));
}

/// "1 frame", "2 frames".
QString FrameCount(std::size_t count) {
    return count == 1 ? QStringLiteral("1 frame") : QStringLiteral("%1 frames").arg(count);
}

// The window's size when the screen has room for it.
constexpr QSize kPreferredSize(1200, 800);

/// The window is a window to a screen reader (a plain widget is a "filler") and the plot a
/// chart.
QAccessibleInterface* TrendsAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(TrendsWindow::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    if (className == QLatin1String(TrendsPlot::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
    }
    return nullptr;
}

void InstallTrendsAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(TrendsAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace

TrendsWindow::TrendsWindow(const QStringList& logs, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmTrends"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    setWindowIcon(DishAntennaIcon());
    InstallTrendsAccessibility();

    auto* addLogs = new QPushButton(QStringLiteral("Add logs..."), this);
    addLogs->setObjectName(QStringLiteral("addLogs"));
    m_axisChoice = new QComboBox(this);
    m_axisChoice->setObjectName(QStringLiteral("xAxisChoice"));
    m_axisChoice->addItem(QStringLiteral("Frame number"), static_cast<int>(TrendAxis::Frame));
    m_axisChoice->addItem(QStringLiteral("Orbit number"), static_cast<int>(TrendAxis::Orbit));
    m_axisChoice->addItem(QStringLiteral("UTC date and time"),
                          static_cast<int>(TrendAxis::DateTime));
    auto* axisLabel = new QLabel(QStringLiteral("&x axis:"), this);
    axisLabel->setBuddy(m_axisChoice);
    // Heard as words, not as a letter and a colon. The box itself is named after it where Qt
    // lets it be (on Linux Qt names a combo box by its current text, and screen readers there
    // name it by the label it is labelled by).
    axisLabel->setAccessibleName(QStringLiteral("X axis"));
    m_axisChoice->setAccessibleName(QStringLiteral("X axis"));
    m_hideDoubtful = new QCheckBox(QStringLiteral("Hide doubtful frames"), this);
    m_hideDoubtful->setObjectName(QStringLiteral("hideDoubtfulFrames"));
    m_hideDoubtful->setToolTip(
        QStringLiteral("Leaves frames whose calibration channel 6D is out of range out of the "
                       "plot and the statistics"));
    auto* exportButton = new QToolButton(this);
    exportButton->setObjectName(QStringLiteral("export"));
    exportButton->setText(QStringLiteral("Export"));
    exportButton->setPopupMode(QToolButton::InstantPopup);
    auto* exportMenu = new QMenu(exportButton);
    QAction* exportPlot = exportMenu->addAction(QStringLiteral("Plot as image (PNG, SVG, PDF)..."));
    QAction* exportPoints = exportMenu->addAction(QStringLiteral("Plotted points as CSV..."));
    QAction* exportStatistics = exportMenu->addAction(QStringLiteral("Statistics as CSV..."));
    exportButton->setMenu(exportMenu);
    m_timeNote = new QLabel(this);
    m_timeNote->setObjectName(QStringLiteral("timeNote"));
    m_timeNote->setWordWrap(true);  // its sentence must not set the window's least width

    auto* bar = new QHBoxLayout;
    bar->addWidget(addLogs);
    bar->addSpacing(12);
    bar->addWidget(axisLabel);
    bar->addWidget(m_axisChoice);
    bar->addSpacing(12);
    bar->addWidget(m_hideDoubtful);
    bar->addSpacing(12);
    bar->addWidget(exportButton);
    bar->addSpacing(12);
    bar->addWidget(m_timeNote, 1);

    m_plot = new TrendsPlot(this);
    m_plot->setMinimumSize(400, 250);
    m_statistics = new QTableWidget(0, static_cast<int>(kStatisticsColumns.size()), this);
    m_statistics->setObjectName(QStringLiteral("statistics"));
    m_statistics->setHorizontalHeaderLabels(kStatisticsColumns);
    m_statistics->verticalHeader()->setVisible(false);
    m_statistics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_statistics->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_statistics->horizontalHeader()->setStretchLastSection(true);

    auto* plotAndFigures = new QSplitter(Qt::Vertical, this);
    plotAndFigures->addWidget(m_plot);
    plotAndFigures->addWidget(m_statistics);
    plotAndFigures->setStretchFactor(0, 1);
    plotAndFigures->setSizes({560, 140});

    m_channels = new TrendsChannelList(this);
    auto* channelScroll = new QScrollArea(this);
    channelScroll->setWidget(m_channels);
    channelScroll->setWidgetResizable(true);
    channelScroll->setMinimumWidth(m_channels->sizeHint().width() + 24);
    auto* sides = new QSplitter(Qt::Horizontal, this);
    sides->addWidget(plotAndFigures);
    sides->addWidget(channelScroll);
    sides->setStretchFactor(0, 1);

    m_logList = new QLabel(this);
    m_logList->setObjectName(QStringLiteral("logList"));
    m_logList->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_logList->setWordWrap(true);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->addLayout(bar);
    layout->addWidget(sides, 1);
    layout->addWidget(m_logList);
    FitToScreen(content);

    m_watch = new TrendsLogWatch(this);
    // Zooming and panning change the range many times a second: the figures follow once.
    m_statisticsTimer = new QTimer(this);
    m_statisticsTimer->setSingleShot(true);
    m_statisticsTimer->setInterval(0);

    connect(addLogs, &QPushButton::clicked, this, &TrendsWindow::ChooseLogsToAdd);
    connect(m_axisChoice, &QComboBox::currentIndexChanged, this, [this] { Redraw(false); });
    connect(m_hideDoubtful, &QCheckBox::toggled, this, [this] { Redraw(true); });
    connect(m_channels, &TrendsChannelList::ChannelsChanged, this, [this] { Redraw(true); });
    connect(exportPlot, &QAction::triggered, this, &TrendsWindow::ChooseExport);
    connect(exportPoints, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Export plotted points"), QStringLiteral("trends-points.csv"),
            QStringLiteral("CSV files (*.csv)"));
        if (!path.isEmpty()) {
            ShowMessage(ExportPointsCsv(path));
        }
    });
    connect(exportStatistics, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export statistics"),
                                                          QStringLiteral("trends-statistics.csv"),
                                                          QStringLiteral("CSV files (*.csv)"));
        if (!path.isEmpty()) {
            ShowMessage(ExportStatisticsCsv(path));
        }
    });
    connect(m_plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), m_statisticsTimer,
            qOverload<>(&QTimer::start));
    connect(m_statisticsTimer, &QTimer::timeout, this, &TrendsWindow::UpdateStatistics);
    connect(m_watch, &TrendsLogWatch::Settled, this, &TrendsWindow::ReloadChangedLogs);

    AddLogs(logs);
    if (logs.isEmpty()) {
        Redraw(false);
    }
}

TrendsWindow::~TrendsWindow() = default;

void TrendsWindow::FitToScreen(QWidget* content) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const QSize room = RoomOnScreen(kPreferredSize);
    if (content->minimumSizeHint().width() > room.width() ||
        content->minimumSizeHint().height() > room.height()) {
        // A small screen or large scaling: what does not fit scrolls.
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(QStringLiteral("trendsScrollArea"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(content);
        layout->addWidget(scroll);
    } else {
        layout->addWidget(content);
    }
    resize(kPreferredSize.boundedTo(room));
}

void TrendsWindow::AddLogs(const QStringList& paths) {
    if (paths.isEmpty()) {
        return;
    }
    std::vector<TrendLog> logs = m_data.Logs();
    for (const QString& path : paths) {
        // A log that cannot be read is listed with the reason under the plot.
        logs.push_back(LoadTrendLog(LocalPath(path), static_cast<int>(logs.size())));
    }
    const std::size_t first = m_data.Logs().size();
    m_data.SetLogs(std::move(logs));
    for (std::size_t index = first; index < m_data.Logs().size(); ++index) {
        Watch(index);
    }
    Redraw(false);
}

void TrendsWindow::ShowChannel(int channel) {
    m_channels->SetChecked(channel, true);
}

void TrendsWindow::ShowAllChannels() {
    m_channels->CheckAll();
}

bool TrendsWindow::BelongsTo(const QString& path) const {
    return m_data.Logs().size() == 1 &&
           QFileInfo(LogPath(m_data.Logs().front())) == QFileInfo(path);
}

void TrendsWindow::SetMainWindowFrame(const QString& path, int frameNumber) {
    m_mainFrame.emplace(path, frameNumber);
    UpdateMarker();
}

void TrendsWindow::UpdateMarker() {
    std::optional<double> key;
    if (m_mainFrame && BelongsTo(m_mainFrame->first)) {
        const auto& frames = m_data.Frames();
        // Frame n of the log stands at place n - 1 while the log has that many frames.
        const std::size_t place = static_cast<std::size_t>(m_mainFrame->second - 1);
        if (m_mainFrame->second >= 1 && place < frames.size() &&
            frames[place]->number == m_mainFrame->second) {
            key = m_data.KeyOf(place, Axis());
        }
    }
    m_plot->SetMarker(key);
}

TrendAxis TrendsWindow::Axis() const {
    return static_cast<TrendAxis>(m_axisChoice->currentData().toInt());
}

void TrendsWindow::Redraw(bool keepRanges) {
    m_plot->Show(m_data, m_channels->Checked(), Axis(), m_hideDoubtful->isChecked(), keepRanges);
    UpdateMarker();
    UpdateTexts();
    UpdateStatistics();
}

void TrendsWindow::UpdateTexts() {
    const auto& logs = m_data.Logs();
    QString title = QStringLiteral("AO-07 Trends");
    if (logs.size() == 1) {
        title += QStringLiteral(" - ") + LogDisplayName(logs.front().path);
    } else if (logs.size() > 1) {
        title += QStringLiteral(" - %1 logs").arg(logs.size());
    }
    setWindowTitle(title);

    QStringList names;
    for (std::size_t index = 0; index < logs.size(); ++index) {
        QString name = QStringLiteral("%1 (%2)").arg(LogDisplayName(logs[index].path),
                                                     FrameCount(logs[index].frames.size()));
        if (m_gone.count(index) != 0) {
            name += QStringLiteral(" - gone from the disk");
        } else if (!logs[index].error.empty()) {
            name += QStringLiteral(" - ") +
                    QString::fromLocal8Bit(QByteArray::fromStdString(logs[index].error));
        }
        names << name;
    }
    m_logList->setText(names.isEmpty() ? QString() : QStringLiteral("Logs: ") + names.join(u"; "));

    const int withoutTime = m_data.FramesWithoutTime();
    m_timeNote->setText(
        withoutTime == 0
            ? QString()
            : QStringLiteral("%1 of %2 %3 no usable date or time (left off the date axis).")
                  .arg(withoutTime)
                  .arg(FrameCount(m_data.Frames().size()),
                       withoutTime == 1 ? QStringLiteral("has") : QStringLiteral("have")));
}

void TrendsWindow::UpdateStatistics() {
    const std::vector<int> channels = m_channels->Checked();
    const QCPRange range = m_plot->xAxis->range();
    m_statistics->setRowCount(static_cast<int>(channels.size()));
    int row = 0;
    for (const int channel : channels) {
        const TrendStatistics figures = m_data.Statistics(
            channel, Axis(), m_hideDoubtful->isChecked(), range.lower, range.upper);
        const QString unit = TrendChannelUnit(channel);
        const auto withUnit = [&](double value) {
            return std::isnan(value) ? QString() : TrendValueText(value) + u' ' + unit;
        };
        const QStringList cells = {
            QStringLiteral("%1 %2").arg(TrendChannelName(channel), TrendChannelCaption(channel)),
            QString::number(figures.frames),
            QString::number(figures.copied),
            QString::number(figures.notCopied),
            QString::number(figures.missing),
            withUnit(figures.minimum),
            withUnit(figures.maximum),
            withUnit(figures.mean),
            withUnit(figures.last)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_statistics->setItem(row, column, item);
        }
        ++row;
    }
}

QString TrendsWindow::ExportPlot(const QString& path, QSize size) {
    QString error;
    const QByteArray bytes = RenderPlotFile(*m_plot, path, size, error);
    if (!error.isEmpty()) {
        return error;
    }
    return SaveWhole(path, bytes);
}

QString TrendsWindow::ExportPointsCsv(const QString& path) {
    const QCPRange range = m_plot->xAxis->range();
    return SaveWhole(path,
                     PointsCsv(m_data, {m_channels->Checked(), Axis(), m_hideDoubtful->isChecked(),
                                        range.lower, range.upper}));
}

QString TrendsWindow::ExportStatisticsCsv(const QString& path) {
    const QCPRange range = m_plot->xAxis->range();
    return SaveWhole(
        path, StatisticsCsv(m_data, {m_channels->Checked(), Axis(), m_hideDoubtful->isChecked(),
                                     range.lower, range.upper}));
}

void TrendsWindow::ChooseLogsToAdd() {
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, QStringLiteral("Add logs"), QString(),
                                      QStringLiteral("Text Files (*.txt);;All files (*)"));
    AddLogs(paths);
}

void TrendsWindow::ChooseExport() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export plot"), QStringLiteral("trends.png"),
        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    QDialog sizeDialog(this);
    sizeDialog.setWindowTitle(QStringLiteral("Image size"));
    auto* width = new QSpinBox(&sizeDialog);
    auto* height = new QSpinBox(&sizeDialog);
    for (QSpinBox* box : {width, height}) {
        box->setRange(16, 20000);
        box->setSuffix(QStringLiteral(" px"));
    }
    width->setValue(m_plot->width());
    height->setValue(m_plot->height());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* form = new QFormLayout(&sizeDialog);
    form->addRow(QStringLiteral("&Width:"), width);
    form->addRow(QStringLiteral("&Height:"), height);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &sizeDialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &sizeDialog, &QDialog::reject);
    if (sizeDialog.exec() == QDialog::Accepted) {
        ShowMessage(ExportPlot(path, QSize(width->value(), height->value())));
    }
}

void TrendsWindow::ShowMessage(const QString& text) {
    if (!text.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), text);
    }
}

void TrendsWindow::Watch(std::size_t index) {
    m_watch->Watch(index, LogPath(m_data.Logs()[index]));
}

void TrendsWindow::ReloadChangedLogs() {
    bool changed = false;
    for (std::size_t index = 0; index < m_data.Logs().size(); ++index) {
        switch (m_watch->StateOf(index)) {
            case TrendsLogWatch::State::Gone:
                // The log stays plotted as it was last read.
                changed = m_gone.insert(index).second || changed;
                break;
            case TrendsLogWatch::State::Same:
                if (m_gone.count(index) == 0) {
                    break;
                }
                [[fallthrough]];  // back with the same size and time: read it again anyway
            case TrendsLogWatch::State::Changed:
                m_gone.erase(index);
                m_data.ReplaceLog(index, LoadTrendLog(LocalPath(LogPath(m_data.Logs()[index])),
                                                      static_cast<int>(index)));
                Watch(index);
                changed = true;
                break;
        }
    }
    if (changed) {
        Redraw(true);
    }
}

void TrendsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        PlaceOnScreen(*this);
    }
}

void TrendsWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TrendsWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    AddLogs(paths);
    event->acceptProposedAction();
}

}  // namespace ao07::ui
