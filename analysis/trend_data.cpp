#include "analysis/trend_data.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "analysis/channel_tally.h"

namespace ao07 {
namespace {

std::optional<std::int64_t> FirstTime(const TrendLog& log) {
    for (const TrendFrame& frame : log.frames) {
        if (frame.hasTime) {
            return frame.utc;
        }
    }
    return std::nullopt;
}

bool Hidden(const TrendFrame& frame, bool hideDoubtful) {
    return hideDoubtful && frame.calibration == Calibration::Doubtful;
}

}  // namespace

void TrendData::SetLogs(std::vector<TrendLog> logs) {
    m_logs = std::move(logs);
    Join();
}

void TrendData::ReplaceLog(std::size_t index, TrendLog log) {
    m_logs.at(index) = std::move(log);
    Join();
}

void TrendData::Join() {
    std::vector<std::size_t> logOrder(m_logs.size());
    std::iota(logOrder.begin(), logOrder.end(), 0);
    const bool allTimed = std::all_of(m_logs.begin(), m_logs.end(), [](const TrendLog& log) {
        return FirstTime(log).has_value();
    });
    if (allTimed) {
        std::stable_sort(logOrder.begin(), logOrder.end(), [&](std::size_t a, std::size_t b) {
            return *FirstTime(m_logs[a]) < *FirstTime(m_logs[b]);
        });
    }
    m_frames.clear();
    m_framesWithoutTime = 0;
    for (const std::size_t index : logOrder) {
        for (const TrendFrame& frame : m_logs[index].frames) {
            m_frames.push_back(&frame);
        }
        m_framesWithoutTime += m_logs[index].framesWithoutTime;
    }
    for (const TrendAxis axis : {TrendAxis::Frame, TrendAxis::Orbit, TrendAxis::DateTime}) {
        std::vector<std::int32_t>& order = m_order[static_cast<std::size_t>(axis)];
        order.clear();
        for (std::size_t place = 0; place < m_frames.size(); ++place) {
            if (KeyOf(place, axis)) {
                order.push_back(static_cast<std::int32_t>(place));
            }
        }
        std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
            return *KeyOf(static_cast<std::size_t>(a), axis) <
                   *KeyOf(static_cast<std::size_t>(b), axis);
        });
    }
}

std::optional<double> TrendData::KeyOf(std::size_t place, TrendAxis axis) const {
    const TrendFrame& frame = *m_frames.at(place);
    switch (axis) {
        case TrendAxis::Frame:
            return static_cast<double>(place + 1);
        case TrendAxis::Orbit:
            return static_cast<double>(frame.orbit);
        case TrendAxis::DateTime:
            if (frame.hasTime) {
                return static_cast<double>(frame.utc);
            }
            return std::nullopt;
    }
    return std::nullopt;
}

const std::vector<std::int32_t>& TrendData::Order(TrendAxis axis) const {
    return m_order[static_cast<std::size_t>(axis)];
}

std::vector<std::size_t> TrendData::Breaks(TrendAxis axis) const {
    const std::vector<std::int32_t>& order = Order(axis);
    std::vector<double> gaps;
    if (axis == TrendAxis::DateTime && order.size() > 1) {
        gaps.reserve(order.size() - 1);
        for (std::size_t i = 1; i < order.size(); ++i) {
            gaps.push_back(*KeyOf(static_cast<std::size_t>(order[i]), axis) -
                           *KeyOf(static_cast<std::size_t>(order[i - 1]), axis));
        }
    }
    double longestJoined = kLongestPassGapSeconds;
    if (!gaps.empty()) {
        std::vector<double> sorted = gaps;
        // The lower median: of one short and one long gap, the short one is the usual.
        const auto middle =
            sorted.begin() + static_cast<std::ptrdiff_t>((sorted.size() - 1) / 2);
        std::nth_element(sorted.begin(), middle, sorted.end());
        longestJoined = std::max(longestJoined, kPassGapToMedian * *middle);
    }
    std::vector<bool> timed(m_logs.size());
    for (std::size_t index = 0; index < m_logs.size(); ++index) {
        timed[index] = FirstTime(m_logs[index]).has_value();
    }
    std::vector<std::size_t> breaks;
    for (std::size_t i = 1; i < order.size(); ++i) {
        const TrendFrame& before = *m_frames[static_cast<std::size_t>(order[i - 1])];
        const TrendFrame& after = *m_frames[static_cast<std::size_t>(order[i])];
        const bool logsUnordered = before.log != after.log &&
                                   (!timed[static_cast<std::size_t>(before.log)] ||
                                    !timed[static_cast<std::size_t>(after.log)]);
        if (logsUnordered || (!gaps.empty() && gaps[i - 1] > longestJoined)) {
            breaks.push_back(i);
        }
    }
    return breaks;
}

TrendSeries TrendData::Series(int channel, TrendAxis axis, bool hideDoubtful) const {
    const std::size_t slot = static_cast<std::size_t>(channel - 1);
    const std::vector<std::int32_t>& order = Order(axis);
    TrendSeries series;
    series.keys.reserve(order.size());
    series.values.reserve(order.size());
    series.frames.reserve(order.size());
    for (const std::int32_t place : order) {
        const TrendFrame& frame = *m_frames[static_cast<std::size_t>(place)];
        const bool shown =
            frame.reception[slot] == Reception::Copied && !Hidden(frame, hideDoubtful);
        series.keys.push_back(*KeyOf(static_cast<std::size_t>(place), axis));
        series.values.push_back(shown ? static_cast<double>(frame.value[slot])
                                      : std::numeric_limits<double>::quiet_NaN());
        series.frames.push_back(place);
    }
    series.breaks = Breaks(axis);
    return series;
}

TrendStatistics TrendData::Statistics(int channel, TrendAxis axis, bool hideDoubtful, double from,
                                      double to) const {
    const std::size_t slot = static_cast<std::size_t>(channel - 1);
    TrendStatistics figures;
    ChannelTally tally;
    for (const std::int32_t place : Order(axis)) {
        const double key = *KeyOf(static_cast<std::size_t>(place), axis);
        const TrendFrame& frame = *m_frames[static_cast<std::size_t>(place)];
        if (key < from || key > to || Hidden(frame, hideDoubtful)) {
            continue;
        }
        ++figures.frames;
        tally.Take(frame.reception[slot], frame.value[slot]);
    }
    figures.copied = static_cast<int>(tally.copied);
    figures.notCopied = static_cast<int>(tally.notCopied);
    figures.missing = static_cast<int>(tally.missing);
    if (tally.copied > 0) {
        figures.minimum = tally.minimum;
        figures.maximum = tally.maximum;
        figures.mean = tally.Mean();
        figures.last = tally.last;
    }
    return figures;
}

}  // namespace ao07
