// The executable's own path comes from /proc/self/exe on Linux and GetModuleFileNameW on Windows;
// std::filesystem does the rest on both.
#include "shell/DemoFolder.h"
#include <filesystem>
#include <system_error>
#include "script/Timeline.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

fs::path executablePath()
{
#ifdef _WIN32
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, sizeof buffer / sizeof buffer[0]);
    if (length == 0 || length >= sizeof buffer / sizeof buffer[0]) return {};
    return fs::path(std::wstring(buffer, length));
#else
    std::error_code ec;
    return fs::read_symlink("/proc/self/exe", ec);
#endif
}

namespace {
bool holdsScript(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_regular_file(folder / kScriptPath, ec);
}
} // namespace

void enterDemoFolder()
{
    if (holdsScript(".")) return;
    const fs::path folder = executablePath().parent_path();
    std::error_code ec;
    if (!folder.empty() && holdsScript(folder)) fs::current_path(folder, ec);
}
