// SPDX-License-Identifier: GPL-3.0-or-later
// Without libFuzzer (the g++ builds): runs the harness once on every file
// named on the command line, or in a folder named there. Options ("-runs=0")
// are skipped, so both builds take the same command.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg = argv[i];
    if (argv[i][0] == '-') continue;
    if (fs::is_directory(arg)) {
      for (const auto& entry : fs::directory_iterator(arg)) inputs.push_back(entry.path());
    } else {
      inputs.push_back(arg);
    }
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
