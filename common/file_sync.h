// Saves that survive a power cut: a new file reaches the disk before it
// replaces the old one.
#pragma once

#include <cstdio>

// Flushes the stream's buffer and the system's cache of the file to the disk.
bool FlushToDisk(std::FILE* file);
