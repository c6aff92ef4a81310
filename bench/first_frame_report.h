#pragma once

class QWidget;

namespace ao07::bench {

/// For timing start-up only (bench/run.sh): when the environment variable AO07_FIRST_FRAME_FD
/// names an open descriptor, the first time `window` has been painted the monotonic clock, in
/// nanoseconds, is written there in decimal and the program quits. Without the variable it does
/// nothing at all.
void ReportFirstFrame(QWidget& window);

}  // namespace ao07::bench
