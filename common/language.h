// The language of texts produced by code: 0 Catalan, 1 English, 2 Spanish.
#pragma once

#include <cstdint>

// Set at start-up (2, Spanish); quillet-calc's --lang sets it too.
extern std::int32_t Language;

// One text in each language, in that order. A language out of range reads as
// Spanish, the program's own.
struct Wording {
  const char* text[3];
  const char* In(std::int32_t language) const {
    return text[language >= 0 && language <= 2 ? language : 2];
  }
  const char* Get() const { return In(Language); }
};
