#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "analysis/trend_log.h"

namespace ao07 {

/// What the x axis of a trend counts.
enum class TrendAxis {
    Frame,     ///< the frame's place among the frames shown, from 1
    Orbit,     ///< the orbit number of the frame
    DateTime,  ///< seconds since 1970 UTC from the frame's DATE and TIME
};

/// One channel over the frames shown, in ascending x order.
struct TrendSeries {
    std::vector<double> keys;
    /// The channel's value, NaN where it was not copied in the frame (or the frame is hidden):
    /// a gap, across which no line is drawn.
    std::vector<double> values;
    std::vector<std::int32_t> frames;  ///< the place of each point's frame in Frames()
    /// The points (indexes into keys) not joined to the point before them by a line: the
    /// first frame after the hours between two passes on the date axis, and the first frame of
    /// another log where either log has no date and time (their order is only the order given).
    std::vector<std::size_t> breaks;
};

/// Frames further apart than this on the date axis are of different passes: longer than a pass
/// of AO-07 lasts (some 20 minutes), shorter than the time between two (one orbit, 115 minutes,
/// less a pass).
inline constexpr double kLongestPassGapSeconds = 30 * 60;
/// ... unless frames are that far apart all along (a log of one frame in each pass): the line
/// breaks only where the time between two frames is also this many times the median time
/// between successive frames.
inline constexpr double kPassGapToMedian = 4;

/// A channel's figures over a range of x.
struct TrendStatistics {
    int frames = 0;  ///< frames in the range (hidden ones not counted)
    int copied = 0;
    int notCopied = 0;
    int missing = 0;
    // Over the copied values; NaN when there is none.
    double minimum = std::numeric_limits<double>::quiet_NaN();
    double maximum = std::numeric_limits<double>::quiet_NaN();
    double mean = std::numeric_limits<double>::quiet_NaN();
    double last = std::numeric_limits<double>::quiet_NaN();  ///< at the largest x
};

/// The frames of one or more logs joined for plotting, and the series and statistics of their
/// channels.
class TrendData {
public:
    /// Takes the logs and joins their frames: logs ordered by their first date and time when
    /// every log has one, otherwise in the order given; a log's frames keep the log's order.
    void SetLogs(std::vector<TrendLog> logs);
    /// Puts `log` in the place of log `index` (decoded again) and joins the frames anew.
    void ReplaceLog(std::size_t index, TrendLog log);

    const std::vector<TrendLog>& Logs() const { return m_logs; }
    /// Every frame, joined.
    const std::vector<const TrendFrame*>& Frames() const { return m_frames; }
    /// Frames whose date or time could not be read: they have no place on the date axis.
    int FramesWithoutTime() const { return m_framesWithoutTime; }

    /// The x of the frame at `place` in Frames(), or nullopt where it has none.
    std::optional<double> KeyOf(std::size_t place, TrendAxis axis) const;

    /// Channel 1..24 against the axis; doubtful frames become gaps when hidden. Lines break
    /// between passes on the date axis: where two successive frames are more than
    /// kLongestPassGapSeconds and kPassGapToMedian times the median time between successive
    /// frames apart.
    TrendSeries Series(int channel, TrendAxis axis, bool hideDoubtful) const;

    /// Channel 1..24's figures over the frames with from <= x <= to.
    TrendStatistics Statistics(int channel, TrendAxis axis, bool hideDoubtful, double from,
                               double to) const;

private:
    void Join();
    /// The places of the frames that have an x on the axis, in ascending x order.
    const std::vector<std::int32_t>& Order(TrendAxis axis) const;
    /// Where lines break along Order(axis) (see TrendSeries::breaks).
    std::vector<std::size_t> Breaks(TrendAxis axis) const;

    std::vector<TrendLog> m_logs;
    std::vector<const TrendFrame*> m_frames;
    std::array<std::vector<std::int32_t>, 3> m_order;
    int m_framesWithoutTime = 0;
};

}  // namespace ao07
