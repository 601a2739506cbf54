#include "support/TempDir.h"
#include <fstream>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

ScopedWorkDir::ScopedWorkDir() : previous_(fs::current_path())
{
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("zemblar-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
        if (fs::create_directory(candidate)) {
            dir_ = candidate;
            fs::current_path(dir_);
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary directory");
}

ScopedWorkDir::~ScopedWorkDir()
{
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(dir_, ec);
}

void ScopedWorkDir::write(const std::string& relative, const std::string& contents) const
{
    const fs::path file = dir_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << contents;
}
