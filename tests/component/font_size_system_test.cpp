// The program's MulDiv against the system's, at the edges of the range.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>

#include "core/font_size.h"

namespace quolvi {
namespace {

TEST(FontSizeSystemTest, MulDivGivesWhatTheSystemsGives) {
  const int edges[] = {INT_MIN, INT_MIN + 1, -(1 << 30), -97, -72, -1,      0,           1,
                       2,       3,           72,         96,  97,  1 << 30, INT_MAX - 1, INT_MAX};
  for (int number : edges) {
    for (int numerator : edges) {
      for (int denominator : edges) {
        ASSERT_EQ(quolvi::MulDiv(number, numerator, denominator), ::MulDiv(number, numerator, denominator))
            << number << " * " << numerator << " / " << denominator;
      }
    }
  }
}

}  // namespace
}  // namespace quolvi
