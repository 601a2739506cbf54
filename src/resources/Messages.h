// The one way out for the lines the demo prints for the demo maker (listings, "Doing:" lines,
// failure messages): formatted like printf and written to standard output.
#pragma once

// Formats like printf and writes the text to standard output (buffered as stdout is).
void printMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Flushes what was printed (as std::endl did).
void flushMessages();
