// The language of texts produced by code: 0 Catalan, 1 English, 2 Spanish.
// Every table indexed by it has its entries in that order.
#pragma once

#include <cstdint>

extern std::int32_t LANGUAGE;

// LANGUAGE as a safe index into a three-entry table.
inline int LanguageIndex() { return LANGUAGE >= 0 && LANGUAGE <= 2 ? LANGUAGE : 2; }
