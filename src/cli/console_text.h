#pragma once
// Where the command line meets the core's Windows-1252 text and the console: arguments in,
// UTF-8 out, one JSON style, and the form of every message on stderr.

#include <nlohmann/json.hpp>
#include <string>

namespace hv::cli {

// A path argument as core text. Linux hands over UTF-8; Windows hands over the ANSI code
// page, which already is the core's text.
std::string ArgToCoreText(const std::string& arg);

// Core text as the file system and the console take it: UTF-8 on Linux, the ANSI code page
// (the core's own text) on Windows. ArgToCoreText's inverse.
std::string CoreTextToArg(const std::string& core);

// Makes stdout write bytes as given (no LF to CR LF on Windows), so that output is the same
// on every target.
void UseBinaryStdout();

// Writes bytes to stdout as they are.
void WriteOut(const std::string& bytes);

// Every --json output: indented by two, one line end after it; bytes that are no UTF-8 (a
// path argument) become U+FFFD instead of ending the program.
template <class JsonValue>
std::string JsonText(const JsonValue& value) {
  return value.dump(2, ' ', false, JsonValue::error_handler_t::replace) + "\n";
}

// Prints `text` with its JSON line end.
template <class JsonValue>
void PrintJson(const JsonValue& value) {
  UseBinaryStdout();
  WriteOut(JsonText(value));
}

// `text` with every CR LF and lone CR turned into LF, the line end of a terminal.
std::string LfLines(const std::string& text);

// "COMMAND: TEXT" on stderr, ended by one LF; `command` is what ran ("hv list", "hv play").
// Line ends inside the text become LF.
void PrintMessage(const std::string& command, const std::string& text);

}  // namespace hv::cli
