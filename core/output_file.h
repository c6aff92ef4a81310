#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace ao07 {

/// A file as the system knows it, under whatever name: its device and inode.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

/// Why an output that is one of the logs being read is refused: creating it would empty the log.
inline constexpr const char* kOutputIsALog = "It is the log being read";

/// The output of records (the CSV file, or what ao07-decode writes). By default each record goes
/// to the operating system as soon as it is written, so a crash of the program loses no record.
/// Batched, whole records are collected in memory and written in large blocks by a thread of
/// their own, while the next block collects, so that decoding never waits for the disk; the
/// output still ends at a record boundary whatever happens.
class OutputFile {
public:
    /// The least a batch collects before it is written.
    static constexpr std::size_t kBatchBytes = 256 * 1024;

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    /// Creates the named file, emptying an existing one, or writes to standard output for "";
    /// refuses a file that is one of `logs` (or of the files being read), under any name, with
    /// `refusal` as the reason. Returns "" or the reason it cannot be written.
    std::string Open(const std::string& path, std::span<const FileIdentity> logs,
                     std::string_view refusal = kOutputIsALog);

    /// Creates the named file, emptying an existing one. Returns "" or the reason it failed.
    std::string Create(const std::string& path);

    /// Writes to a descriptor that is already open (standard output); Close leaves it open.
    void Attach(int fd);

    /// Whether the output is a terminal, where a person reads each record as it comes.
    bool IsTerminal() const;

    /// Collects records in memory until kBatchBytes are held (on) or writes each at once (off,
    /// the default). Switching it off writes what is held. Batched, a failed write is reported
    /// by the call that hands over the next block, or by Flush or Close, and by every write
    /// after it: nothing more goes to the file. Returns "" or the reason of such a failure.
    std::string SetBatched(bool batched);

    /// Writes `line` followed by CR LF. Returns "" or the reason the write failed; a file then
    /// ends as it did before the line, without a piece of it.
    std::string WriteLine(std::string_view line);

    /// Writes `record`, which carries its own line end, as one record; as WriteLine otherwise.
    std::string WriteRecord(std::string_view record);

    /// As WriteRecord, for a record that `make(text)` appends to `text` in place, which spares a
    /// copy of a long record. Should `make` throw, nothing of the record is kept.
    template <typename Make>
    std::string WriteRecordMadeBy(Make make) {
        const std::size_t start = m_pending.size();
        try {
            make(m_pending);
        } catch (...) {
            m_pending.resize(start);
            throw;
        }
        return EndRecord();
    }

    /// Writes every record held. Returns "" or the reason; the file then ends with the last
    /// record that went out whole, and the records held are dropped.
    std::string Flush();

    /// Writes what is held and closes the file; closing a file that is not open does nothing.
    /// Returns "" or the reason the file could not be written or closed cleanly.
    std::string Close();

private:
    std::string EndRecord();
    std::string HandOver();
    std::string WaitForWriter();
    void WriteBlocks();
    void StopWriter();

    int m_fd = -1;
    bool m_owned = false;
    bool m_batched = false;
    std::string m_pending;                  ///< records not yet written; reused, never shrunk
    std::vector<std::size_t> m_recordEnds;  ///< where each record held in m_pending ends

    // The writer thread of batched output and the one block it may hold. While m_blockWaiting
    // is set, only the writer touches m_inFlight and m_inFlightEnds.
    std::thread m_writer;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_blockWaiting = false;
    bool m_stopping = false;
    std::string m_inFlight;
    std::vector<std::size_t> m_inFlightEnds;
    std::string m_writerError;  ///< why a block failed, kept until the file is closed
};

}  // namespace ao07
