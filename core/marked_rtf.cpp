#include "core/marked_rtf.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace quolvi {
namespace {

constexpr std::uint16_t kTextBits = 6;
constexpr std::uint16_t kTextMask = (1 << kTextBits) - 1;
constexpr std::uint32_t kSpreadMask = 0x030303;

// Six bits as a colour difference: two in each of red, green and blue.
std::uint32_t Spread(std::uint32_t bits) { return ((bits >> 4) & 3) | (((bits >> 2) & 3) << 8) | ((bits & 3) << 16); }

// The bits a colour differs from base by, or 0 when it differs otherwise.
std::uint32_t Unspread(std::uint32_t color, std::uint32_t base) {
  std::uint32_t difference = (color ^ base) & 0xFFFFFF;
  if (difference & ~kSpreadMask) return 0;
  return ((difference & 3) << 4) | (((difference >> 8) & 3) << 2) | ((difference >> 16) & 3);
}

void AppendNumber(std::string& out, long value) { out += std::to_string(value); }

void AppendCharacter(std::string& out, char16_t c) {
  if (c == u'\t') {
    out += "\\tab ";
  } else if (c == u'\\' || c == u'{' || c == u'}') {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c >= 0x20 && c < 0x7F) {
    out += static_cast<char>(c);
  } else {
    // Every other unit as itself, a surrogate half included; "?" is what a
    // reader that knows no \u would show.
    out += "\\u";
    AppendNumber(out, static_cast<std::int16_t>(c));
    out += '?';
  }
}

}  // namespace

std::string MarkedTextToRtf(const cp932::MarkedText& marked, const MarkColors& colors) {
  std::vector<std::uint32_t> table;  // the colour table after its automatic entry
  auto colorIndex = [&table](std::uint32_t color) {
    auto found = std::find(table.begin(), table.end(), color);
    if (found == table.end()) found = table.insert(table.end(), color);
    return static_cast<long>(found - table.begin()) + 1;
  };
  std::string body = "\\cf";
  AppendNumber(body, colors.autoText ? 0 : colorIndex(colors.text));
  body += "\\highlight0 ";
  const std::u16string& text = marked.text;
  auto mark = marked.marks.begin();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    while (mark != marked.marks.end() && mark->unit < i) ++mark;
    if (mark != marked.marks.end() && mark->unit == i && cp932::MarkedCode(c, mark->value)) {
      body += '{';
      if (std::uint32_t bits = mark->value & kTextMask) {
        body += "\\cf";
        AppendNumber(body, colorIndex(colors.text ^ Spread(bits)));
      }
      if (std::uint32_t bits = mark->value >> kTextBits) {
        body += "\\highlight";
        AppendNumber(body, colorIndex(colors.back ^ Spread(bits)));
      }
      body += ' ';
      AppendCharacter(body, c);
      body += '}';
    } else if (c == u'\r' || c == u'\n') {
      // A line break is a paragraph mark, which the control holds as CR LF.
      body += "\\par\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      AppendCharacter(body, c);
    }
  }
  std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\uc1{\\colortbl;";
  for (std::uint32_t color : table) {
    rtf += "\\red";
    AppendNumber(rtf, color & 0xFF);
    rtf += "\\green";
    AppendNumber(rtf, (color >> 8) & 0xFF);
    rtf += "\\blue";
    AppendNumber(rtf, (color >> 16) & 0xFF);
    rtf += ';';
  }
  rtf += '}';
  rtf += body;
  rtf += '}';
  return rtf;
}

std::vector<cp932::Mark> MarksFromRtf(std::string_view rtf, std::u16string_view text, const MarkColors& colors) {
  // The state a group keeps: the colours of its text, how many bytes stand
  // in for a \u character, and whether its content is no text at all.
  struct Group {
    long cf = 0;
    long highlight = 0;
    long uc = 1;
    bool skip = false;
    bool colorTable = false;
  };
  std::vector<Group> stack;
  Group group;
  bool groupStart = false;                          // the next token is the first of its group
  std::vector<std::optional<std::uint32_t>> table;  // the colour table; nullopt: automatic
  std::uint32_t entry = 0;
  bool entryHasColor = false;
  std::vector<cp932::Mark> marks;
  std::size_t unit = 0;  // the unit of text the next character is
  long skipBytes = 0;    // bytes left of the stand-in for a \u character
  bool inPair = false;   // the next byte is the trail of a counted character

  auto colorAt = [&table](long index) -> std::optional<std::uint32_t> {
    return index > 0 && static_cast<std::size_t>(index) < table.size() ? table[index] : std::nullopt;
  };
  auto character = [&](std::size_t units) {
    inPair = false;
    if (unit < text.size()) {
      std::uint32_t value = 0;
      if (auto color = colorAt(group.cf)) value = Unspread(*color, colors.text);
      if (auto color = colorAt(group.highlight)) value |= Unspread(*color, colors.back) << kTextBits;
      auto mark = static_cast<std::uint16_t>(value);
      if (mark != 0 && cp932::MarkedCode(text[unit], mark)) marks.push_back({unit, mark});
    }
    unit += units;
  };
  auto textByte = [&](unsigned char b) {
    if (group.skip) return;
    if (group.colorTable) {
      if (b == ';') {
        table.push_back(entryHasColor ? std::optional<std::uint32_t>(entry) : std::nullopt);
        entry = 0;
        entryHasColor = false;
      }
      return;
    }
    if (skipBytes > 0) {
      --skipBytes;
    } else if (inPair) {
      inPair = false;
    } else {
      character(1);
      inPair = cp932::IsLeadByte(b);  // the bytes are code page 932's
    }
  };
  auto paragraph = [&] {
    inPair = false;
    if (group.skip || group.colorTable || unit >= text.size()) return;
    if (text[unit] == u'\r' && unit + 1 < text.size() && text[unit + 1] == u'\n') {
      unit += 2;
    } else if (text[unit] == u'\r' || text[unit] == u'\n') {
      unit += 1;
    }
  };
  auto controlWord = [&](std::string_view word, bool hasParam, long param) {
    if (groupStart && (word == "fonttbl" || word == "stylesheet" || word == "info" || word == "pict" ||
                       word == "object" || word == "pntext" || word == "listtable")) {
      group.skip = true;
    } else if (groupStart && word == "colortbl") {
      group.colorTable = true;
    } else if (group.colorTable) {
      std::uint32_t component = static_cast<std::uint32_t>(param) & 0xFF;
      if (word == "red") entry |= component;
      if (word == "green") entry |= component << 8;
      if (word == "blue") entry |= component << 16;
      entryHasColor = true;
    } else if (word == "par") {
      paragraph();
    } else if (word == "tab" || word == "line") {
      if (!group.skip) character(1);
    } else if (word == "u" && hasParam) {
      if (!group.skip) {
        character(1);
        skipBytes = group.uc;
      }
    } else if (word == "uc" && hasParam) {
      group.uc = param;
    } else if (word == "cf") {
      group.cf = hasParam ? param : 0;
    } else if (word == "highlight") {
      group.highlight = hasParam ? param : 0;
    } else if (word == "plain") {
      group.cf = group.highlight = 0;
    }
  };

  for (std::size_t i = 0; i < rtf.size();) {
    char c = rtf[i];
    if (c == '{') {
      stack.push_back(group);
      groupStart = true;
      ++i;
      continue;
    }
    bool wasGroupStart = std::exchange(groupStart, false);
    if (c == '}') {
      if (!stack.empty()) {
        group = stack.back();
        stack.pop_back();
      }
      inPair = false;
      ++i;
    } else if (c == '\r' || c == '\n') {
      ++i;
    } else if (c != '\\') {
      textByte(static_cast<unsigned char>(c));
      ++i;
    } else if (i + 1 >= rtf.size()) {
      break;
    } else if (char next = rtf[i + 1]; (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) {
      std::size_t start = i + 1;
      std::size_t end = start;
      while (end < rtf.size() && ((rtf[end] >= 'a' && rtf[end] <= 'z') || (rtf[end] >= 'A' && rtf[end] <= 'Z'))) ++end;
      std::string_view word = rtf.substr(start, end - start);
      bool negative = end < rtf.size() && rtf[end] == '-';
      std::size_t digits = negative ? end + 1 : end;
      long param = 0;
      bool hasParam = false;
      while (digits < rtf.size() && rtf[digits] >= '0' && rtf[digits] <= '9') {
        param = param * 10 + (rtf[digits] - '0');
        hasParam = true;
        ++digits;
      }
      if (hasParam) end = digits;
      if (negative) param = -param;
      if (end < rtf.size() && rtf[end] == ' ') ++end;  // the delimiter belongs to the word
      groupStart = wasGroupStart;
      controlWord(word, hasParam, param);
      groupStart = false;
      i = end;
    } else if (next == '\'') {
      auto hex = [&](std::size_t at) {
        char h = at < rtf.size() ? rtf[at] : '0';
        return h >= 'a' ? h - 'a' + 10 : h >= 'A' ? h - 'A' + 10 : h - '0';
      };
      textByte(static_cast<unsigned char>(hex(i + 2) * 16 + hex(i + 3)));
      i += 4;
    } else if (next == '*') {
      if (wasGroupStart) group.skip = true;
      i += 2;
    } else if (next == '\r' || next == '\n') {
      paragraph();
      i += 2;
    } else {
      // An escaped \, { or }, and the special characters ~ and _ are
      // characters; other control symbols are none.
      if (next == '\\' || next == '{' || next == '}' || next == '~' || next == '_') {
        textByte(static_cast<unsigned char>(next));
      }
      i += 2;
    }
  }
  return marks;
}

}  // namespace quolvi
