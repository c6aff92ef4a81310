#include "cli/csv_records.h"

#include "core/output_file.h"
#include "decoder/csv_record.h"
#include "decoder/frame.h"

namespace ao07::tool {

std::string CsvRecords::Begin(OutputFile& out) {
    // The header goes out at once, so that an output that takes nothing says so before the
    // first log is read.
    std::string error = out.WriteLine(CsvHeader());
    return error.empty() ? out.Flush() : error;
}

std::string CsvRecords::Take(OutputFile& out, std::string_view, const Frame& frame) {
    if (!m_gaps) {
        return out.WriteLine(frame.record);
    }
    AssembleRecordWithGaps(frame, m_record);
    return out.WriteLine(m_record);
}

}  // namespace ao07::tool
