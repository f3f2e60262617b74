// Saves that never leave a half-written file: the new contents go to a file
// beside the old one, reach the disk, and only then replace the old file in
// one step. A failure anywhere leaves the old file byte for byte, and a power
// cut right after a save never leaves an empty or partial file.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "common/named_files.h"
#include "common/short_text.h"

// Where the saves meet the platform. Tests put in a channel that fails on a
// chosen write or refuses the final replacement.
class SaveChannel {
 public:
  virtual ~SaveChannel() = default;
  // Writes all of `bytes` to the open file; false on a short write.
  virtual bool Write(std::FILE* file, std::string_view bytes);
  // Puts the finished file `from` in the place of `to` in one step, replacing it.
  virtual bool Replace(const char* from, const char* to);
};
// nullptr puts back the platform's own channel.
void SetSaveChannel(SaveChannel* channel);

// Writes the pieces, in order, to `path` + ".new", flushes that file to the
// disk and moves it over `path`. False, with the old file untouched and no new
// file left behind, on any failure; `whyNot`, when given, then says why for
// the user, in the words of Language (the system's where there are no
// better). A file the user made read-only, or anything but a file in its
// place, is left alone.
bool SaveFileAtomically(const char* path, const std::vector<std::string>& pieces,
                        ShortText* whyNot = nullptr);

// The same in two steps, for files that change together: prepare every one
// (the new contents on the disk beside the old file), then finish each, or
// abandon them all and leave every old file as it was.
bool PrepareSave(const char* path, const std::vector<std::string>& pieces, ShortText* whyNot);
bool FinishSave(const char* path, ShortText* whyNot);
void AbandonSave(const char* path);

// Why a file that is there could not be read: what stands in its place, or
// the C library's `error` (errno), in the words of Language.
ShortText WhyUnreadable(const FileFacts& facts, int error);
