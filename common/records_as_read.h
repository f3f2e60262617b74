// Finding a record of a list among the records its file held when read, so
// that a save can write a record nobody edited with the bytes it had.
#pragma once

#include <cstddef>
#include <vector>

// Where `record` stands among the records as read that are not `used` yet:
// looked for from `next` on first, since the records of a list mostly keep
// their order, then from the start. records.size() when nowhere.
template <class Record, class Same>
std::size_t FindUnused(const std::vector<Record>& records, const std::vector<bool>& used,
                       std::size_t next, const Record& record, Same same) {
  for (std::size_t j = next; j < records.size(); ++j) {
    if (!used[j] && same(records[j], record)) return j;
  }
  for (std::size_t j = 0; j < next && j < records.size(); ++j) {
    if (!used[j] && same(records[j], record)) return j;
  }
  return records.size();
}
