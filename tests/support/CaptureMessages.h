// Runs an action and returns everything it printed through the demo's message sink.
#pragma once
#include <string>
#include "resources/Messages.h"

template <typename Action>
std::string capturedMessages(Action&& action)
{
    startMessageCapture();
    action();
    return endMessageCapture();
}
