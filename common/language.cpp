#include "common/language.h"

// Set to 2 at start-up; Spanish until then too.
std::int32_t Language = 2;
