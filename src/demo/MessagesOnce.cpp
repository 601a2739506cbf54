// Messages printed once, and then not again until forgotten.
#include "demo/MessagesOnce.h"

void MessagesOnce::print(const std::vector<std::string>& messages)
{
    for (const std::string& message : messages) {
        if (message.empty() || !printed_.insert(message).second) continue;
        printMessage("%s%s", message.c_str(), message.back() == '\n' ? "" : "\n");
    }
    flushMessages();
}
