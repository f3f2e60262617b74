// How tests write a ShortText into GoogleTest's messages and failure output.
// Kept out of common/short_text.h so that the programs never link the
// stream library; every test program gets it through its compile options.
#pragma once

#include <ostream>

#include "common/short_text.h"

inline std::ostream& operator<<(std::ostream& os, const ShortText& t) { return os << t.view(); }
