// The search pattern language and the matcher, against a plain reference of
// the same rules written apart from the real ones: splitting into tokens,
// the escape rules, one search step on a document (with its widening over a
// line break it cuts), and replace all in one pass against the loop.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/line_breaks.h"
#include "core/matcher.h"
#include "core/pattern.h"
#include "core/replace_all.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/unit/memory_editor.h"

namespace {

using quolvi::fuzz::Check;

using quolvi::Position;

using quolvi::fuzz::Characters;

// Tokens: a character "*" or "?" is a wildcard unless the character before
// it is a backslash; everything else gathers into literal runs. Trailing
// wildcards go.
std::vector<std::string> RefSplit(const std::string& pattern) {
  std::vector<std::string> tokens;
  std::string run;
  std::string previous;
  for (const std::string& c : Characters(pattern)) {
    if ((c == "*" || c == "?") && previous != "\\") {
      if (!run.empty()) tokens.push_back(run);
      run.clear();
      tokens.push_back(c);
    } else {
      run += c;
    }
    previous = c;
  }
  if (!run.empty()) tokens.push_back(run);
  while (!tokens.empty() && (tokens.back() == "*" || tokens.back() == "?")) tokens.pop_back();
  return tokens;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string RefUnescape(const std::string& raw) {
  std::vector<std::string> cs = Characters(raw);
  std::string out;
  std::size_t i = 0;
  // A double-byte character is one character here; an escape's units are
  // always single bytes, so they are whole characters.
  while (i < cs.size()) {
    if (cs[i] != "\\") {
      out += cs[i++];
      continue;
    }
    // Two hexadecimal digits after the backslash, not both 0.
    if (i + 2 < cs.size() && cs[i + 1].size() == 1 && cs[i + 2].size() == 1) {
      int h = Hex(cs[i + 1][0]), l = Hex(cs[i + 2][0]);
      if (h >= 0 && l >= 0 && (h || l)) {
        out += static_cast<char>(h * 16 + l);
        i += 3;
        continue;
      }
    }
    if (i + 1 < cs.size()) {
      const std::string& n = cs[i + 1];
      const char* named = n == "*"    ? "*"
                          : n == "?"  ? "?"
                          : n == "\\" ? "\\"
                          : n == "n"  ? "\r\n"
                          : n == "r"  ? "\r"
                          : n == "t"  ? "\t"
                                      : nullptr;
      if (named) {
        out += named;
        i += 2;
        continue;
      }
    }
    ++i;  // the backslash goes
  }
  return out;
}

std::string Fold(const std::string& c, bool matchCase) {
  if (matchCase) return c;
  if (c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z') return std::string(1, static_cast<char>(c[0] + 32));
  if (c.size() == 2 && static_cast<unsigned char>(c[0]) == 0x82 && static_cast<unsigned char>(c[1]) >= 0x60 &&
      static_cast<unsigned char>(c[1]) <= 0x79) {
    return std::string{c[0], static_cast<char>(static_cast<unsigned char>(c[1]) + 0x21)};
  }
  return c;
}

// The first occurrence of literal at a character boundary at or after from.
Position RefFind(const std::string& text, const std::string& literal, Position from, bool matchCase) {
  if (literal.empty()) return -1;
  std::vector<std::string> t = Characters(text), p = Characters(literal);
  Position at = 0;
  for (std::size_t i = 0; i < t.size(); at += static_cast<Position>(t[i].size()), ++i) {
    if (at < from) continue;
    bool match = i + p.size() <= t.size();
    for (std::size_t k = 0; match && k < p.size(); ++k) match = Fold(t[i + k], matchCase) == Fold(p[k], matchCase);
    if (match) return at;
  }
  return -1;
}

struct Match {
  bool found;
  Position start, end;
};

// One search step from `from` on text.
Match RefFindNext(const std::string& text, const std::string& pattern, Position from, bool matchCase) {
  std::vector<std::string> tokens = RefSplit(pattern);
  Position start = from, pos = from;
  bool literal = false;
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (tokens[k] == "*") continue;
    if (tokens[k] == "?") {
      ++pos;
      continue;
    }
    std::string lit = RefUnescape(tokens[k]);
    if (pos >= static_cast<Position>(text.size())) return {false, 0, 0};
    Position c = RefFind(text, lit, pos, matchCase);
    if (c < 0) return {false, 0, 0};
    if (k == 0) start = c;
    pos = c + static_cast<Position>(lit.size());
    literal = true;
  }
  if (!literal) return {false, 0, 0};
  auto inside = [&](Position p) {
    return p > 0 && p < static_cast<Position>(text.size()) && text[p - 1] == '\r' && text[p] == '\n';
  };
  if (inside(start)) --start;
  if (inside(pos)) ++pos;
  return {true, start, pos};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint16_t options = in.ConsumeBool() ? quolvi::kOptionMatchCase : 0;
  std::string pattern = in.ConsumeRandomLengthString(255);
  std::string replacement = in.ConsumeRandomLengthString(255);
  std::string raw = in.ConsumeRemainingBytesAsString();
  // A document: no NUL, every line break CR LF.
  std::string text;
  for (char c : raw) {
    if (c != '\0') text += c;
  }
  text = quolvi::NormalizeLineBreaks<char>(text);
  pattern = pattern.substr(0, pattern.find('\0'));
  replacement = replacement.substr(0, replacement.find('\0'));

  Check(quolvi::SplitPattern(pattern) == RefSplit(pattern), "split");
  Check(quolvi::UnescapeText(pattern) == RefUnescape(pattern), "unescape");
  Check(quolvi::UnescapeText(replacement) == RefUnescape(replacement), "unescape replacement");

  // One search step from every place the caret can be, up to a few.
  const quolvi::SearchFields fields{pattern, replacement,
                                    static_cast<std::uint16_t>(options | quolvi::kOptionReplaceAll)};
  std::size_t steps = 0;
  for (Position from = 0; from < static_cast<Position>(text.size()) && steps < 8; ++from) {
    quolvi::test::MemoryEditor editor(text);
    editor.SetSelectionStart(from);
    if (editor.SelectionStart() != from) continue;  // inside a character or a line break
    ++steps;
    quolvi::StepResult got = quolvi::FindNextMatch(editor, fields);
    Match want = pattern.empty() ? Match{false, 0, 0} : RefFindNext(text, pattern, from, options != 0);
    Check(got.done() == want.found, "found");
    if (want.found) {
      Check(got.position == want.end, "end");
      Check(editor.SelectionStart() == want.start, "start");
      Check(editor.SelectionStart() + editor.SelectionLength() == want.end, "selection end");
    }
  }

  // Replace all in one pass against the loop, which must end.
  if (text.size() <= 512) {
    quolvi::test::MemoryEditor loop(text), onePass(text);
    int count = 0;
    bool ended = false;
    for (int i = 0; i < 4000; ++i) {
      if (quolvi::ReplaceSelection(loop, fields).done()) ++count;
      if (!quolvi::FindNextMatch(loop, fields).done()) {
        ended = true;
        break;
      }
    }
    Check(ended, "the loop ends");
    int onePassCount = quolvi::ReplaceAll(onePass, fields);
    Check(onePassCount == count, "count");
    Check(onePass.WholeText() == loop.WholeText(), "text");
    Check(quolvi::NormalizeLineBreaks<char>(loop.WholeText()) == loop.WholeText(), "no lone CR or LF");
  }
  return 0;
}
