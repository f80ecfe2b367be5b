// What the fuzz targets share: the check that ends a run, and the
// references' own reading of Shift-JIS, apart from the codec under test (a
// lead byte followed by a trail byte is one character, any other byte one).
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace quolvi::fuzz {

// Ends the run, which the fuzzer reports with its input, when ok is false.
inline void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "mismatch: %s\n", what);
    std::abort();
  }
}

inline bool Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool Trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The characters of a Shift-JIS string, each as its bytes.
inline std::vector<std::string> Characters(const std::string& s) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < s.size();) {
    const bool pair =
        Lead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() && Trail(static_cast<unsigned char>(s[i + 1]));
    const std::size_t n = pair ? 2 : 1;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

}  // namespace quolvi::fuzz
