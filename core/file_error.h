// A document file that could not be used: which file, and at which step.
// The program turns it into the words the user sees.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace quolvi {

class FileError : public std::runtime_error {
 public:
  enum class Step {
    kOpen,      // the file cannot be opened for reading
    kRead,      // reading it failed part-way
    kNul,       // it holds a NUL byte, which the document cannot hold
    kCreate,    // it cannot be created for writing
    kWrite,     // writing the text into it failed
    kTooLarge,  // it is larger than the document may be (limit())
  };

  FileError(Step step, std::string path, std::size_t limit = 0)
      : std::runtime_error(StepName(step) + (": " + path)), step_(step), path_(std::move(path)), limit_(limit) {}

  Step step() const { return step_; }
  const std::string& path() const { return path_; }
  // The largest size in bytes that a file may have, for kTooLarge.
  std::size_t limit() const { return limit_; }

 private:
  static std::string StepName(Step step) {
    switch (step) {
      case Step::kOpen: return "cannot open";
      case Step::kRead: return "cannot read";
      case Step::kNul: return "holds a NUL byte";
      case Step::kCreate: return "cannot create";
      case Step::kWrite: return "cannot write";
      case Step::kTooLarge: return "too large";
    }
    return "cannot use";
  }

  Step step_;
  std::string path_;
  std::size_t limit_;
};

}  // namespace quolvi
