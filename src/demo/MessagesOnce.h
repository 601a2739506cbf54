// The show's messages as the editor prints them: each message (the text of one printMessage call,
// so a compile error comes with its log) once, until forget(). A message that does not end its
// line gets a line end, so the next one starts on a line of its own.
#pragma once
#include <set>
#include <string>
#include <vector>
#include "resources/Messages.h"

// Runs `step` and returns the messages it printed, instead of printing them.
template <typename Step>
std::vector<std::string> collectMessages(Step&& step)
{
    startMessageCollection();
    step();
    return endMessageCollection();
}

class MessagesOnce {
public:
    // Prints those of `messages` not printed since the last forget(), in order, each once.
    void print(const std::vector<std::string>& messages);
    void forget() { printed_.clear(); }

private:
    std::set<std::string> printed_;
};
