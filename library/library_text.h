// The library as text, so that it can be kept under version control, edited
// in any editor and shared: one line per topic, in file order, each followed
// by the lines of its formulas.
//
//   topic<TAB>TopicName<TAB>TopicFile
//   formula<TAB>Name<TAB>Expression<TAB>Comment
//
// Inside a text, backslash, tab, CR and LF are written \\ \t \r \n. When
// read, blank lines and lines starting with "#" are skipped. Texts here are
// Windows-1252; the command-line program converts from and to UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/short_text.h"
#include "library/library_files.h"

struct LibraryTopic {
  TopicRecord topic;
  std::vector<FormulaRecord> formulas;
  int line = 0;  // of the topic's line, when read from a text
};

struct Library {
  std::vector<LibraryTopic> topics;
};

// Why a text was refused: the line (from 1) and what is wrong, in Spanish.
struct LibraryTextError {
  int line = 0;
  ShortText text;
};

std::string EscapeLibraryText(std::string_view text);
// False on a backslash before any other character or at the end.
bool UnescapeLibraryText(std::string_view text, std::string& out);

std::string LibraryLines(const Library& library);
// Refuses a malformed line, a text longer than its field, a file name that
// holds a path character, more than 255 topics or 255 formulas in a topic,
// and two topics sharing a file with different formulas (the file holds only
// one list).
bool ParseLibraryLines(std::string_view text, Library& library, LibraryTextError& error);

// A file of the library that could not be read whole, or written.
struct LibraryProblem {
  ShortText file;
  ShortText reason;  // for the user, in Spanish
};

// The library of the current folder, read with LoadTopics and LoadFormulaFile.
// Each file that is there but could not be read, or is damaged (a partial
// record, more than 255 records), or whose name is unsafe, goes to
// `problems`; its topic then shows fewer formulas than its file holds.
Library ReadLibraryFiles(std::vector<LibraryProblem>* problems = nullptr);
// Writes temas.rel and one formula file per topic in the current folder, all
// or nothing: on a failure no old file has changed, and `failure` names the
// file and the reason.
bool WriteLibraryFiles(const Library& library, LibraryProblem* failure = nullptr);
