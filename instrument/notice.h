// A short line of text at the top of the window that says what just happened (a pattern saved or opened, a
// file that could not be read or written, a new tempo, the sound device lost) and fades out after a few
// seconds. Problems go to standard error as well; the window never stops for them.
#pragma once

#include <string>

class instrument_class;

void show_notice(instrument_class& instrument, const std::string& text);
void report_problem(instrument_class& instrument, const std::string& text);
