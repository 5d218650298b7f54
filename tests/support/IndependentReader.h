// Runs one of the tests' reader scripts (Debian's Python with ezdxf or
// poppler behind it) on a file and takes its JSON answer: what an
// independent program makes of what this one wrote.
#pragma once

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

namespace vintaler::test {

// The parsed answer of `script FILE [ARGUMENT]`, or a discarded value when
// the reader failed or printed no JSON.
inline nlohmann::json readWith(const std::string& script, const std::string& file, const std::string& argument = "") {
  const std::string command =
      "/usr/bin/python3 '" + script + "' '" + file + "'" + (argument.empty() ? "" : " '" + argument + "'");
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return nlohmann::json::value_t::discarded;
  std::string out;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return nlohmann::json::parse(out, nullptr, false);
}

}  // namespace vintaler::test
