// Files named by Windows-1252 texts, the program's own. On Windows each name
// reaches the system as UTF-16, so that it names the same file whatever the
// system's code page: a topic file "opticaÑa" is that file under 1251 too.
// Elsewhere the name's bytes are used as they are.
#pragma once

#include <cstdio>
#include <string_view>

// As std::fopen; each sets errno as the C runtime's own calls do.
std::FILE* OpenNamedFile(std::string_view name, const char* mode);

struct FileFacts {
  bool exists = false;
  bool regular = false;  // a plain file, not a folder or a device
  bool folder = false;
  bool writable = false;  // not marked read-only
};
FileFacts LookUpFile(std::string_view name);

bool RemoveNamedFile(std::string_view name);
// Puts file `from` in the place of `to` in one step, replacing it, and
// through to the disk where the system can say so.
bool ReplaceNamedFile(std::string_view from, std::string_view to);
// False when it could not be made (it may be there already).
bool MakeNamedFolder(std::string_view name);
