// The one way out for the lines the demo prints for the demo maker (listings, "Doing:" lines,
// failure messages): formatted like printf and written to standard output. Tests read the same
// sink through a capture instead of standard output; the editor takes each message whole through a
// collection, to print it once.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

// Formats like printf and writes the text to the sink (buffered as stdout is).
void printMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Flushes what was printed (as std::endl did).
void flushMessages();

// While a capture runs, everything printed through the sink is kept in memory instead of going to
// standard output; endMessageCapture() ends it and returns the text. Starting a capture flushes
// standard output first, so nothing printed earlier lands in it.
void startMessageCapture();
std::string endMessageCapture();
// While a capture runs: how many bytes it holds, and the text from a byte offset on (the capture
// goes on). Outside a capture: 0 and "".
size_t capturedLength();
std::string capturedFrom(size_t offset);

// While a collection runs, the text of each printMessage call is kept whole, as one message,
// instead of being written (a capture running at the same time sees none of it);
// endMessageCollection() ends it and returns the messages in the order printed. Collections do not
// nest.
void startMessageCollection();
std::vector<std::string> endMessageCollection();
