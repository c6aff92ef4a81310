#pragma once

#include <QFont>

#include <array>

#include "core/channel.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace ao07::ui {

/// The controls of frmMain that the program writes into or reacts to. Every control also
/// carries its name as object name, the label pairs as "lbl1a_0" (raw value) and "lbl1a_1"
/// (converted value).
struct MainWindowControls {
    QLabel* lblOrbit = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblTime = nullptr;
    std::array<QLabel*, kChannelCount> rawValue{};      ///< element 0 of each pair, by channel - 1
    std::array<QLabel*, kChannelCount> channelValue{};  ///< element 1 of each pair, by channel - 1
    QLineEdit* txtRawData = nullptr;
    QPlainTextEdit* txtOutputData = nullptr;
    QCheckBox* chkEnableCSVFile = nullptr;
    QPushButton* butAutoStop = nullptr;
    QPushButton* butNext = nullptr;
    QPushButton* butExit = nullptr;
    /// The controls that take the keyboard focus, in Tab order.
    std::array<QWidget*, 6> tabOrder{};
};

/// The window's client area in pixels: 7695 x 8880 twips at 15 twips a pixel.
inline constexpr int kClientWidthPx = 513;
inline constexpr int kClientHeightPx = 592;

/// The window's face: the standard sans-serif look at 10 pixels, the largest size at which the
/// longest caption, "Instr. Sw. Reg. Input Current:", fits its 137-pixel box.
QFont WindowFont(bool bold = false);

/// Creates every control of the client area inside `client` at its place, with its caption,
/// look and object name, and sets the keyboard focus order.
MainWindowControls BuildMainWindowControls(QWidget* client);

}  // namespace ao07::ui
