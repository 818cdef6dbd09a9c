// Runs one of the project's built programs the way a person would from a
// shell, for tests of command-line tools: arguments are quoted one by one,
// standard output and standard error are kept apart, and the exit code is
// given as the shell reports it (-1 when no shell could run).
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

namespace tova_test {

// The text as one shell word, whatever it holds.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct ProgramRun {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs TOVA_BIN_DIR/<program> with the arguments, in `workFolder` when given.
inline ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                             const std::string& workFolder = "") {
  ScratchDir capture;
  std::string command;
  if (!workFolder.empty()) command = "cd " + ShellQuote(workFolder) + " && ";
  command += ShellQuote(std::string(TOVA_BIN_DIR) + "/" + program);
  for (const std::string& arg : args) command += " " + ShellQuote(arg);
  command += " > " + ShellQuote((capture / "out").string()) + " 2> " + ShellQuote((capture / "err").string());
  const int status = std::system(command.c_str());
  ProgramRun run;
  // A wait status: the low seven bits name a signal that ended the shell,
  // the next byte is its exit code.
  if (status != -1 && (status & 0x7F) == 0) run.code = (status >> 8) & 0xFF;
  run.out = ReadBytes(capture / "out");
  run.err = ReadBytes(capture / "err");
  return run;
}

}  // namespace tova_test
