#pragma once
#include <string>

namespace vortel {

// Gives each closed standard descriptor (0, 1, 2) a stand-in, so that no file
// the program opens later takes its number and receives what was meant for
// stdout. A closed stdout gets a read-only stand-in: writing to it still
// fails, and finishStdout() reports that.
void guardStandardStreams();

// Flushes stdout. Returns false with a one-line reason when anything written
// to it so far was lost.
bool flushStdout(std::string* why);

// Writes `text` to stdout after whatever its buffer holds, waiting on a
// stalled reader only while stopRequested() says no. Returns false with a
// one-line reason ("interrupted" when stopped).
bool writeStdout(const std::string& text, std::string* why);

// Flushes and closes stdout, checking every step. Returns false with a
// one-line reason when anything written to stdout was lost.
bool finishStdout(std::string* why);

}  // namespace vortel
