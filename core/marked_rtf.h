// Marked text in and out of the rich-edit control, as rich text (RTF).
//
// A mark rides with its character in the control's character format, as the
// colours of the character's run (why colours: docs/design.md). The
// mark value's low six bits are the text colour's difference from the
// colour of unmarked text, its upper bits the background's difference from
// the editor's background, two bits at most in each of red, green and blue:
// a shade no eye tells apart, and a difference of zero where a value has no
// bits. Unmarked text has the neutral format: the automatic or the
// document's text colour, and the automatic background.
//
// MarkedTextToRtf writes text and marks as an RTF document for EM_STREAMIN
// (SF_RTF), which the control reads in one pass; MarksFromRtf reads the
// marks back from what EM_STREAMOUT (SF_RTF) writes, in one pass, given the
// control's text (EM_GETTEXTEX) to count characters against. Colours are
// 0x00BBGGRR.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp932.h"

namespace quolvi {

struct MarkColors {
  std::uint32_t text = 0;  // the colour unmarked text shows in
  bool autoText = true;    // unmarked text has the automatic colour
  std::uint32_t back = 0;  // the editor's background
};

std::string MarkedTextToRtf(const cp932::MarkedText& text, const MarkColors& colors);

std::vector<cp932::Mark> MarksFromRtf(std::string_view rtf, std::u16string_view text, const MarkColors& colors);

}  // namespace quolvi
