// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every harness shares: a check that stops the run with the input's
// defect named, the input as text, and (without libFuzzer, in the g++ builds)
// a main that runs the harness once on every file named on the command line
// or in a folder named there, skipping options such as "-runs=0".
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vornak::fuzz {

inline void check(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

inline std::string text(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace vornak::fuzz

#ifndef VORNAK_LIBFUZZER
int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;
    if (!fs::is_directory(argv[i])) inputs.push_back(argv[i]);
    if (fs::is_directory(argv[i])) inputs.insert(inputs.end(), fs::directory_iterator(argv[i]), {});
  }
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s\n", input.string().c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
#endif
