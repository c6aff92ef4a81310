#include "cli/check_report.h"

#include "analysis/frame_checks.h"
#include "core/number_text.h"
#include "core/output_file.h"
#include "decoder/channel_table.h"
#include "decoder/frame.h"

namespace ao07::tool {
namespace {

/// Starts the next part of a frame's line.
void NextPart(std::string& line, bool& first) {
    line += first ? ": " : "; ";
    first = false;
}

/// "1 frame", "2 frames".
std::string Count(std::int64_t count, const char* one, const char* many) {
    return IntegerText(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string CheckReport::Take(OutputFile& out, std::string_view logName, const Frame& frame) {
    ++m_frames;
    if (IsClean(frame)) {
        ++m_clean;
        return {};
    }
    m_line.clear();
    if (m_nameLogs) {
        m_line.append(logName).append(": ");
    }
    m_line.append("frame ").append(IntegerText(frame.number));
    m_line.append(" (line ").append(IntegerText(frame.lineNumber)).append(")");
    bool first = true;

    const Calibration calibration = CalibrationOf(frame);
    if (calibration == Calibration::Doubtful) {
        ++m_doubtful;
        NextPart(m_line, first);
        m_line.append("doubtful calibration, ").append(ChannelName(kCalibrationChannel));
        m_line.append(" raw ").append(IntegerText(frame.Channel(kCalibrationChannel).raw));
    } else if (calibration == Calibration::Unknown) {
        ++m_unknown;
        NextPart(m_line, first);
        m_line.append("unknown calibration");
    }
    bool notCopiedNamed = false;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (frame.Channel(channel).reception == Reception::NotCopied) {
            ++m_notCopied;
            if (!notCopiedNamed) {
                NextPart(m_line, first);
                m_line.append("not copied");
                notCopiedNamed = true;
            }
            m_line.append(" ").append(ChannelName(channel));
        }
    }
    // A missing row has all four of its channels missing.
    const auto missing = [&frame](int row) {
        return frame.Channel(ChannelIndex(row, 1)).reception == Reception::Missing;
    };
    int missingRows = 0;
    for (int row = 1; row <= kRowCount; ++row) {
        missingRows += missing(row) ? 1 : 0;
    }
    if (missingRows > 0) {
        m_missingRows += missingRows;
        NextPart(m_line, first);
        m_line.append(missingRows == 1 ? "missing row" : "missing rows");
        for (int row = 1; row <= kRowCount; ++row) {
            if (missing(row)) {
                m_line.append(" ").append(IntegerText(row));
            }
        }
    }
    m_line += '\n';
    return out.WriteRecord(m_line);
}

std::string CheckReport::Finish(OutputFile& out) {
    m_line.assign(Count(m_frames, "frame", "frames")).append(": ");
    m_line.append(IntegerText(m_clean)).append(" clean, ");
    m_line.append(IntegerText(m_doubtful)).append(" doubtful, ");
    m_line.append(IntegerText(m_unknown)).append(" calibration unknown, ");
    m_line.append(Count(m_notCopied, "channel", "channels")).append(" not copied, ");
    m_line.append(Count(m_missingRows, "row", "rows")).append(" missing\n");
    return out.WriteRecord(m_line);
}

}  // namespace ao07::tool
