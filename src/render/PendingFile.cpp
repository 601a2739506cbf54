// Temporary name, guarded creation and the rename that completes a file.
#include "render/PendingFile.h"
#include <cerrno>
#include <cstdio>
#include <unistd.h>

PendingFile::PendingFile(std::string path) : path_(std::move(path)), temporary_(path_ + ".partial") {}

PendingFile::~PendingFile()
{
    if (started_ && !committed_) ::unlink(temporary_.c_str());
}

std::FILE* PendingFile::create()
{
    if (!guard_.mark(temporary_, true)) {
        errno = EINTR;
        return nullptr;
    }
    started_ = true;
    std::FILE* file = std::fopen(temporary_.c_str(), "wb");
    guard_.made();
    return file;
}

bool PendingFile::expect()
{
    if (!guard_.mark(temporary_)) return false;
    started_ = true;
    return true;
}

bool PendingFile::commit()
{
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) return false;
    committed_ = true;
    guard_.release();
    return true;
}
