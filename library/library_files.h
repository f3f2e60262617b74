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
// Whole records of a file longer than 255 records, past the 255th, as they
// were read; a save writes them back after the list so that none is lost.
extern std::string TopicsBeyond;
extern std::string FormulasBeyond;
// Set by a load that found its file but could not open it (in use, no
// rights): the list is empty, and a save of it is refused rather than
// replace every record it could not read with the few added since.
extern bool TopicsFileUnread;
extern bool FormulaFileUnread;

extern const char kTopicsFileName[];  // "temas.rel"
extern const char kFormulaFolder[];   // "Frmls"

// Relative to the current folder. A file that cannot be opened gives an empty list.
void LoadTopics();
bool SaveTopics();
void LoadFormulaFile(std::string_view topicFile);
// Creates the folder "Frmls" when it is missing.
bool SaveFormulaFile();

ShortText TopicLine(int slot);
ShortText FormulaLine(int slot);

// "Frmls" + the platform's separator + topicFile + ".frm".
ShortText FormulaPath(std::string_view topicFile);

// The record images, apart from the files. A reader takes whole records only,
// fills slots 1 to at most 255, puts the images after the 255th into `beyond`,
// and returns the count; a length byte larger than its field reads as the
// field's size. A writer zero-fills every byte that is not significant.
std::uint8_t ReadTopicImages(std::string_view bytes, TopicRecord* slots, std::string& beyond);
std::uint8_t ReadFormulaImages(std::string_view bytes, FormulaRecord* slots, std::string& beyond);
std::string TopicImage(const TopicRecord& record);
std::string FormulaImage(const FormulaRecord& record);
