// A short line of text at the top of the window that says what just happened (a pattern saved or opened, a
// file that could not be read or written, the sound device lost) and fades out after a few seconds.
// Problems go to standard error as well; the window never stops for them.
#pragma once

#include <string>

void show_notice(const std::string& text);
void report_problem(const std::string& text);
