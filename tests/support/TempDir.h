// A fresh temporary directory, the working directory while it lives (tests lay out their own data/).
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class ScopedWorkDir {
public:
    ScopedWorkDir() : previous_(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zemblar-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
        dir_ = pattern;
        std::filesystem::current_path(dir_);
    }
    ~ScopedWorkDir()
    {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    const std::filesystem::path& path() const { return dir_; }
    // Writes `contents` to a file under the directory, creating parent folders.
    void write(const std::string& relative, const std::string& contents) const
    {
        const std::filesystem::path file = dir_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << contents;
    }

private:
    std::filesystem::path dir_, previous_;
};
