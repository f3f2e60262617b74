// A stand-in for a user's tool. Writes "tool_probe.txt" in its working
// folder: the working folder on the first line, then one argument a line.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof folder, folder);
  // Written under another name first, so a reader never sees half of it.
  std::FILE* out = std::fopen("tool_probe.tmp", "wb");
  if (!out) return 1;
  std::fprintf(out, "%s\n", folder);
  for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
  if (std::fclose(out) != 0) return 1;
  return MoveFileExA("tool_probe.tmp", "tool_probe.txt", MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
