// The formula library on disk: "temas.rel", the topic list of 52-byte
// records, and "Frmls<sep><file>.frm", the formulas of one topic in 80-byte
// records. Both lists live as single global instances, slots 1 to 255.
//
// A save never truncates the old file (common/atomic_save.h): a failure in the
// middle leaves the old file byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "common/short_text.h"
#include "engine/formula_record.h"

inline constexpr int MaxLibraryRecords = 255;
inline constexpr std::size_t kTopicRecordSize = 52;
inline constexpr std::size_t kFormulaRecordSize = 80;
inline constexpr std::size_t kTopicNameMax = 40;
inline constexpr std::size_t kTopicFileMax = 8;

struct TopicRecord {
  ShortText TopicName;  // at most 40 characters
  ShortText TopicFile;  // at most 8: the base name of the topic's formula file
};

// Slots [1..255]; [0] is unused so positions read as they are shown.
extern TopicRecord TopicList[MaxLibraryRecords + 1];
extern std::uint8_t TopicCount;
extern FormulaRecord FormulaList[MaxLibraryRecords + 1];
extern std::uint8_t TopicFormulaCount;
extern ShortText FormulaFilePath;
// The bytes of a file after its 255th record (whole records and a trailing
// partial one), as they were read; a save writes them back after the list
// so that none is lost.
extern std::string TopicsBeyond;
extern std::string FormulasBeyond;
// The records' images as the last load or save found them, one after the
// other: a save writes a record that still reads the same with its own bytes
// (padding, a damaged length byte), so that only edits change a file.
extern std::string TopicImagesAsRead;
extern std::string FormulaImagesAsRead;
// What the last load found of a list's file, for the save that replaces it.
struct LoadedFile {
  // There but not read (in use, no rights, not a plain file): the list is
  // empty, and a save is refused rather than replace every record it could
  // not read with the few added since.
  bool unread = false;
  ShortText why;  // why it was not read, for the user
  // A name that is no plain file in Frmls (a device, a path): never opened nor written.
  bool refused = false;
  // The file as read, so that a save can tell that another copy of the
  // program has saved it since: whether it was there, its size and a hash of
  // its bytes. The bytes themselves, not the time: a time can stay the same
  // within its resolution, and a file saved with the same bytes loses nothing.
  bool present = false;
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
};
extern LoadedFile TopicsFile;
extern LoadedFile FormulaFile;

extern const char kTopicsFileName[];  // "temas.rel"
extern const char kFormulaFolder[];   // "Frmls"

// Why a save did not write its file.
struct SaveFailure {
  ShortText reason;  // for the user, in Spanish
  // Only because another copy of the program saved the file since it was
  // loaded: the save may be repeated with `overwrite` once the user agrees.
  bool changedOnDisk = false;
};

// Relative to the current folder. A file that cannot be opened gives an empty list.
void LoadTopics();
bool SaveTopics(SaveFailure* failure = nullptr, bool overwrite = false);
// A topic file that is not a safe name loads nothing and opens nothing.
void LoadFormulaFile(std::string_view topicFile);
// Binds FormulaList, as it stands, to the file of another name: the next save
// writes it there, over what that file holds now only if the user agreed.
void BindFormulaFile(std::string_view topicFile);
// Creates the folder "Frmls" when it is missing.
bool SaveFormulaFile(SaveFailure* failure = nullptr, bool overwrite = false);

// A topic file that names a plain file in Frmls: none of \ / : * ? " < > |
// nor a control character, and no device name (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, with or without an extension), whatever the case.
bool SafeTopicFile(std::string_view topicFile);
// What to tell a user whose topic file is not safe.
extern const char kUnsafeTopicFile[];
// As the file systems of Windows compare names: regardless of case.
bool SameTopicFile(std::string_view a, std::string_view b);
// The file proposed for a new topic name: its first 8 characters without
// accents, blanks or unsafe characters, with a digit at the end where that
// names a device or the file of a topic other than `ownSlot` (compared
// regardless of case).
ShortText ProposedTopicFile(std::string_view topicName, int ownSlot);

ShortText TopicLine(int slot);
ShortText FormulaLine(int slot);

// "Frmls" + the platform's separator + topicFile + ".frm".
ShortText FormulaPath(std::string_view topicFile);

// The record images, apart from the files. A reader takes whole records only,
// fills slots 1 to at most 255, puts the bytes after the 255th record (and a
// trailing partial record) into `beyond`, and returns the count; a length
// byte larger than its field reads as the field's size. A writer zero-fills
// every byte that is not significant.
std::uint8_t ReadTopicImages(std::string_view bytes, TopicRecord* slots, std::string& beyond);
std::uint8_t ReadFormulaImages(std::string_view bytes, FormulaRecord* slots, std::string& beyond);
std::string TopicImage(const TopicRecord& record);
std::string FormulaImage(const FormulaRecord& record);
