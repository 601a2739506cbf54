// A fresh temporary directory that becomes the working directory for the test's lifetime, so tests
// can lay out their own data/ tree. Restores the previous working directory and removes it after.
#pragma once
#include <filesystem>
#include <string>

class ScopedWorkDir {
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    const std::filesystem::path& path() const { return dir_; }
    // Writes `contents` to a file under the directory, creating parent folders.
    void write(const std::string& relative, const std::string& contents) const;

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};
