// Runs an action and returns everything it printed on standard output (C stdio and std::cout).
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <string>

template <typename Action>
std::string capturedStdout(Action&& action)
{
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}
