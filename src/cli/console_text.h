#pragma once
// Where the command line meets the core's Windows-1252 text: arguments in, UTF-8 out.

#include <string>

namespace hv::cli {

// A path argument as core text. Linux hands over UTF-8; Windows hands over the ANSI code
// page, which already is the core's text.
std::string ArgToCoreText(const std::string& arg);

// Makes stdout write bytes as given (no LF to CR LF on Windows), so that output is the same
// on every target.
void UseBinaryStdout();

// Writes bytes to stdout as they are.
void WriteOut(const std::string& bytes);

}  // namespace hv::cli
