// Runs a command line parser with the exit statuses the headless programs
// share: 0 after --help or --version, 2 for bad usage (its message on stderr).
#pragma once

#include <CLI/CLI.hpp>
#include <optional>

// Empty when the options were taken and the program goes on; otherwise the
// status to exit with.
inline std::optional<int> ParseOptions(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    app.exit(error);
    return error.get_exit_code() == 0 ? 0 : 2;
  }
  return std::nullopt;
}
