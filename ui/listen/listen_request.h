#pragma once

#include <QString>

namespace ao07::ui {

/// How the Listen window is asked to start, from the command line or the main window.
struct ListenRequest {
    QString recording;  ///< a recording to copy; "" for none
    QString log;        ///< the log to make; "" for a new name in the last log folder
    QString device;     ///< a sound input's description or id; "" for none given
    bool fast = false;  ///< a recording as fast as the engine goes, not at real time
    /// Start copying at once: set when a recording or a device was given.
    bool StartsAtOnce() const { return !recording.isEmpty() || !device.isEmpty(); }
};

}  // namespace ao07::ui
