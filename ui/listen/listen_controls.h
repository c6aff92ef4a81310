#pragma once

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace ao07::ui {

class CopyPad;
class ListenWindow;
class Waterfall;

/// The Listen window's controls, each named for screen readers and tests.
struct ListenControls {
    QComboBox* source = nullptr;
    QLineEdit* recording = nullptr;
    QPushButton* chooseRecording = nullptr;
    QCheckBox* fast = nullptr;
    QLineEdit* log = nullptr;
    QPushButton* chooseLog = nullptr;
    QLineEdit* orbit = nullptr;
    QPushButton* start = nullptr;
    QPushButton* stop = nullptr;
    QProgressBar* level = nullptr;
    QLabel* clipping = nullptr;
    QLabel* tone = nullptr;
    QLabel* speed = nullptr;
    QLabel* snr = nullptr;
    QSpinBox* tuneTone = nullptr;
    QPushButton* tune = nullptr;
    Waterfall* waterfall = nullptr;
    CopyPad* pad = nullptr;
    QLabel* status = nullptr;
    QCheckBox* announce = nullptr;
    QLabel* announcement = nullptr;  ///< out of sight: its name is what is announced
};

/// Makes the controls in `window` and lays them out: the source, the log, the signal, the
/// waterfall, the copy pad and the status, from top to bottom.
ListenControls BuildListenControls(ListenWindow* window);

}  // namespace ao07::ui
