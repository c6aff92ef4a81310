#pragma once

#include <string>

#include "cli/frame_sink.h"

namespace ao07::tool {

/// The CSV header and one record per frame: the window's records, or with gaps the records in
/// which a channel not copied in the frame has an empty field.
class CsvRecords final : public FrameSink {
public:
    explicit CsvRecords(bool gaps) : m_gaps(gaps) {}

    std::string Begin(OutputFile& out) override;
    std::string Take(OutputFile& out, std::string_view logName, const Frame& frame) override;

private:
    bool m_gaps;
    std::string m_record;  ///< reused from frame to frame
};

}  // namespace ao07::tool
