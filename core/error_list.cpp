#include "core/error_list.h"

void error_list_class::add(std::string message)
{
    messages.push_back(std::move(message));
}

int error_list_class::count() const
{
    return static_cast<int>(messages.size());
}

std::string error_list_class::join() const
{
    std::string text;
    for (const std::string& message : messages)
        text += message + "\n";
    return text;
}
