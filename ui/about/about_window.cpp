#include "ui/about/about_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cstdlib>
#include <cstring>
#include <iterator>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#include <QGuiApplication>
#endif

#include "core/program_identity.h"
#include "ui/program_icons.h"
#include "ui/twips.h"

namespace ao07::ui {
namespace {

constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 2640;
constexpr Twips kPicIcon{240, 240, 540, 540};
constexpr Twips kLblTitle{960, 240, 4485, 345};
constexpr Twips kLblVersion{960, 720, 4005, 225};
constexpr Twips kLblDescription{960, 1080, 4125, 690};
constexpr Twips kCreditPlace{960, 1920, 2895, 615};
constexpr Twips kCmdOK{4245, 2160, 1260, 345};

// The release date that follows the version numbers.
constexpr const char* kReleaseDate = " - 08-JUL-2002";

// Short enough for two lines of the standard dialog font in the credit box.
constexpr const char* kCredit = "By its developers. Report problems on the issue tracker.";

QPointer<AboutWindow>& LoadedAbout() {
    static QPointer<AboutWindow> about;
    return about;
}

QLabel* NewLabel(QWidget* window, const char* name, const Twips& place) {
    auto* label = new QLabel(window);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(ToPixels(place));
    return label;
}

#if QT_CONFIG(xcb)
xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}
#endif

// Utility windows are left out of the task bar by many X11 desktops, but not by all; the
// window manager's hint that says so for certain is the _NET_WM_STATE_SKIP_TASKBAR state.
// A client may set _NET_WM_STATE itself while its window is not yet mapped, and Qt keeps the
// states it finds there when it maps the window. Other platforms need nothing here.
void KeepOutOfTaskBar(QWidget* window) {
#if QT_CONFIG(xcb)
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t states[] = {InternAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 InternAtom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                        InternAtom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(std::size(states)), states);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

}  // namespace

AboutWindow::AboutWindow() {
    setObjectName(QStringLiteral("frmAbout"));
    // A utility window with no parent: a top-level window of its own that no other window owns.
    // Many task bars leave utility windows out; KeepOutOfTaskBar makes sure of it on X11. The
    // title bar carries the close button only.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Qt does not let tool windows keep the application running; this one must, so that the
    // program ends only when the About window has been closed as well as the main window.
    setAttribute(Qt::WA_QuitOnClose, true);
    setAttribute(Qt::WA_DeleteOnClose, true);
    setModal(false);
    setSizeGripEnabled(false);
    setFixedSize(ToPixels(kClientWidth), ToPixels(kClientHeight));
    setWindowIcon(LatticeMastIcon());

    // OK is created first so that it is first in the focus order.
    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdOK->setAutoDefault(true);
    m_cmdOK->setGeometry(ToPixels(kCmdOK));
    connect(m_cmdOK, &QPushButton::clicked, this, &AboutWindow::onOkClicked);

    m_picIcon = NewLabel(this, "picIcon", kPicIcon);
    m_picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picIcon->setLineWidth(1);
    m_picIcon->setAlignment(Qt::AlignCenter);
    m_picIcon->setPixmap(DishAntennaIcon().pixmap(kIconSize, kIconSize));

    m_lblTitle = NewLabel(this, "lblTitle", kLblTitle);
    // Tahoma where it is installed; otherwise the font matcher picks the nearest sans face.
    QFont titleFont(QStringList{QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                                QStringLiteral("DejaVu Sans")});
    titleFont.setPointSize(12);
    titleFont.setWeight(QFont::Bold);
    m_lblTitle->setFont(titleFont);

    m_lblVersion = NewLabel(this, "lblVersion", kLblVersion);

    m_lblDescription = NewLabel(this, "lblDescription", kLblDescription);
    m_lblDescription->setWordWrap(true);

    m_credit = NewLabel(this, "Label1", kCreditPlace);
    m_credit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_credit->setWordWrap(true);
    m_credit->setText(QString::fromLatin1(kCredit));

    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    m_lblTitle->setPalette(black);
    m_lblDescription->setPalette(black);
}

AboutWindow::~AboutWindow() {
    if (LoadedAbout() == this) {
        LoadedAbout() = nullptr;
    }
}

AboutWindow* AboutWindow::Instance() {
    return LoadedAbout().data();
}

AboutWindow* AboutWindow::ShowAbout() {
    AboutWindow* about = LoadedAbout().data();
    if (about == nullptr) {
        about = new AboutWindow;
        LoadedAbout() = about;
        about->fillTexts();
        about->CentreOnScreen();
        KeepOutOfTaskBar(about);
        about->show();
        about->m_cmdOK->setFocus(Qt::OtherFocusReason);
    }
    about->raise();
    about->activateWindow();
    return about;
}

void AboutWindow::fillTexts() {
    setWindowTitle(QStringLiteral("About ") + QString::fromLatin1(kProgramTitle));
    m_lblVersion->setText(QStringLiteral("Version ") + QString::number(kVersionMajor) +
                          QStringLiteral(".") + QString::number(kVersionMinor) +
                          QStringLiteral(".") + QString::number(kVersionRevision) +
                          QString::fromLatin1(kReleaseDate));
    m_lblTitle->setText(QString::fromLatin1(kProgramTitle));
    m_lblDescription->setText(
        QStringLiteral("This program is designed to read a text file of AO-07 telemetry values") +
        QStringLiteral(" and decode them into their respective parameters."));
}

void AboutWindow::onOkClicked() {
    close();
}

void AboutWindow::reject() {
    m_cmdOK->click();
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    // Unloading: from here on About loads a fresh window, even before this one is deleted.
    event->accept();
    if (LoadedAbout() == this) {
        LoadedAbout() = nullptr;
    }
}

void AboutWindow::CentreOnScreen() {
    QScreen* screen = nullptr;
    if (QWidget* active = QApplication::activeWindow()) {
        screen = active->screen();
    }
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

}  // namespace ao07::ui
