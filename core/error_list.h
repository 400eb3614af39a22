// An ordered list of failure messages, so a series of steps can run to the end and report everything at once.
#pragma once

#include <string>
#include <vector>

class error_list_class
{
public:
    std::vector<std::string> messages;

    void add(std::string message);
    int count() const;
    // Every message in order, each followed by "\n".
    std::string join() const;
};
