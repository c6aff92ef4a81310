#pragma once

#include <iosfwd>

namespace ao07::cli {

struct ListenOptions;

/// Copies the beacon from each recording of `options` in turn into one log (and the report),
/// saying on `errors` what could not be read or written. Returns the exit status: 0, or 1 when
/// a recording could not be read or held no frame, or an output could not be written.
int ListenToRecordings(const ListenOptions& options, std::ostream& errors);

}  // namespace ao07::cli
