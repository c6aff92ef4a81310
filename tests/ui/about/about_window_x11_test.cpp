// The About window as an X11 window manager sees it. These tests run under Xvfb on the xcb
// platform (the about_window_on_x11 test); on any other platform they are skipped.
#include "ui/about/about_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <xcb/xcb.h>

namespace ao07::ui {
namespace {

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t Atom(const char* name) {
    xcb_connection_t* connection = X11Connection();
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The 32-bit items of a window property, empty when the window does not have it.
std::vector<uint32_t> Property(xcb_window_t window, const char* name, xcb_atom_t type) {
    xcb_connection_t* connection = X11Connection();
    const auto cookie = xcb_get_property(connection, 0, window, Atom(name), type, 0, 64);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::vector<uint32_t> items;
    if (reply != nullptr && reply->format == 32) {
        const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        items.assign(values, values + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return items;
}

bool Contains(const std::vector<uint32_t>& items, uint32_t item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

class AboutWindowOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            if (qEnvironmentVariableIsSet("AO07_EXPECT_X11")) {
                FAIL() << "expected the xcb platform, running on "
                       << QGuiApplication::platformName().toStdString();
            }
            GTEST_SKIP() << "needs an X server (the about_window_on_x11 test runs it)";
        }
        m_mainWindow.resize(300, 200);
        m_mainWindow.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_mainWindow));
        m_about = AboutWindow::ShowAbout();
        ASSERT_NE(m_about, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_about));
        m_id = static_cast<xcb_window_t>(m_about->winId());
    }

    void TearDown() override {
        if (AboutWindow* about = AboutWindow::Instance()) {
            about->close();
        }
        m_mainWindow.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QWidget m_mainWindow;
    AboutWindow* m_about = nullptr;
    xcb_window_t m_id = 0;
};

TEST_F(AboutWindowOnX11, AsksToBeLeftOutOfTheTaskBarAndThePager) {
    const std::vector<uint32_t> states = Property(m_id, "_NET_WM_STATE", XCB_ATOM_ATOM);
    EXPECT_TRUE(Contains(states, Atom("_NET_WM_STATE_SKIP_TASKBAR")));
    EXPECT_TRUE(Contains(states, Atom("_NET_WM_STATE_SKIP_PAGER")));
}

TEST_F(AboutWindowOnX11, IsAUtilityWindowThatNoWindowOfTheProgramOwns) {
    const std::vector<uint32_t> types = Property(m_id, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), Atom("_NET_WM_WINDOW_TYPE_UTILITY"));
    const std::vector<uint32_t> owner = Property(m_id, "WM_TRANSIENT_FOR", XCB_ATOM_WINDOW);
    EXPECT_FALSE(Contains(owner, static_cast<uint32_t>(m_mainWindow.winId())));
}

TEST_F(AboutWindowOnX11, TellsTheWindowManagerItsSizeIsFixed) {
    // WM_NORMAL_HINTS: flags, x, y, width, height, min width, min height, max width, ...
    const std::vector<uint32_t> hints = Property(m_id, "WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS);
    ASSERT_GE(hints.size(), 9U);
    constexpr uint32_t kMinSize = 1U << 4;
    constexpr uint32_t kMaxSize = 1U << 5;
    EXPECT_EQ(hints[0] & (kMinSize | kMaxSize), kMinSize | kMaxSize);
    EXPECT_EQ(hints[5], 382U);
    EXPECT_EQ(hints[6], 176U);
    EXPECT_EQ(hints[7], 382U);
    EXPECT_EQ(hints[8], 176U);
}

TEST_F(AboutWindowOnX11, StaysOutOfTheTaskBarWhenLoadedAgain) {
    m_about->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    AboutWindow* again = AboutWindow::ShowAbout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(again));
    const std::vector<uint32_t> states =
        Property(static_cast<xcb_window_t>(again->winId()), "_NET_WM_STATE", XCB_ATOM_ATOM);
    EXPECT_TRUE(Contains(states, Atom("_NET_WM_STATE_SKIP_TASKBAR")));
}

}  // namespace
}  // namespace ao07::ui
