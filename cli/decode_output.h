#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/output_file.h"

namespace ao07::tool {

/// The file identities of the logs that are regular files: the output must never be one of them.
using LogIdentities = std::vector<FileIdentity>;

/// The identities of the logs named (standard input for "-") that are regular files.
LogIdentities IdentitiesOf(const std::vector<std::string>& logs);

/// The output of ao07-decode and ao07-listen: the named file (created afresh) or standard
/// output. Batched unless it is a terminal, where each record is shown as soon as its frame is
/// read.
class DecodeOutput {
public:
    /// `path` is "" for standard output.
    explicit DecodeOutput(std::string path);

    const std::string& Name() const { return m_name; }
    bool IsOpen() const { return m_open; }
    OutputFile& File() { return m_file; }

    /// Opens the output; refuses a file that is one of `inputs`, with `refusal` as the reason.
    /// Returns "" or the reason it cannot be written.
    std::string Open(const LogIdentities& inputs, std::string_view refusal = kOutputIsALog);

    /// The message for an output that could not be closed cleanly for `reason`.
    std::string NotClosed(const std::string& reason) const;

    /// The message for a record that could not be written for `reason`.
    std::string RecordNotWritten(const std::string& reason) const;

private:
    std::string m_path;
    std::string m_name;
    bool m_open = false;
    OutputFile m_file;
};

}  // namespace ao07::tool
