#pragma once

#include <string>
#include <string_view>

namespace ao07::test {

/// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(std::string_view name) const { return m_path + "/" + std::string(name); }

    /// Writes `bytes` to the named file in this folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::string m_path;
};

/// The whole content of a file, or "<missing>" when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace ao07::test
