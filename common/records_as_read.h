// Finding a record of a list among the records its file held when read, so
// that a save can write a record nobody edited with the bytes it had.
#pragma once

#include <cstddef>
#include <vector>

// The first of the `count` records as read that is not `used` yet and
// `matches`: looked for from `next` on first, since the records of a list
// mostly keep their order, then from the start. `count` when none.
template <class Matches>
std::size_t FindUnused(std::size_t count, const std::vector<bool>& used, std::size_t next,
                       Matches matches) {
  for (std::size_t j = next; j < count; ++j) {
    if (!used[j] && matches(j)) return j;
  }
  for (std::size_t j = 0; j < next && j < count; ++j) {
    if (!used[j] && matches(j)) return j;
  }
  return count;
}
