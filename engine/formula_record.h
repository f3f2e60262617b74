// One formula as the library stores it and the main window shows it.
#pragma once

#include <cstddef>

#include "common/short_text.h"

inline constexpr std::size_t kNameMax = 3;
inline constexpr std::size_t kExpressionMax = 40;
inline constexpr std::size_t kCommentMax = 32;

struct FormulaRecord {
  ShortText Name;        // at most kNameMax characters
  ShortText Expression;  // at most kExpressionMax
  ShortText Comment;     // at most kCommentMax
};
