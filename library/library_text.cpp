#include "library/library_text.h"

#include <algorithm>

#include "common/atomic_save.h"
#include "common/named_files.h"
#include "common/text_helpers.h"

namespace {

ShortText LineError(int line, std::string_view what) {
  return ShortText("línea " + std::to_string(line) + ": " + std::string(what));
}

// A field's text, unescaped and within its size; false sets the error.
bool Field(const std::string& raw, std::size_t size, const char* tooLong, int line, ShortText& out,
           LibraryTextError& error) {
  std::string text;
  if (!UnescapeLibraryText(raw, text)) {
    error = {line, LineError(line, "barra invertida sin \\\\, \\t, \\r o \\n detrás")};
    return false;
  }
  if (text.size() > size) {
    error = {line, LineError(line, tooLong)};
    return false;
  }
  out = ShortText(text);
  return true;
}

bool SameFormulas(const std::vector<FormulaRecord>& a, const std::vector<FormulaRecord>& b) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(), [](const FormulaRecord& x, const FormulaRecord& y) {
        return x.Name == y.Name && x.Expression == y.Expression && x.Comment == y.Comment;
      });
}

}  // namespace

std::string EscapeLibraryText(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool UnescapeLibraryText(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      default:
        return false;
    }
  }
  return true;
}

std::string LibraryLines(const Library& library) {
  std::string out;
  for (const LibraryTopic& t : library.topics) {
    out += "topic\t" + EscapeLibraryText(t.topic.TopicName) + "\t" +
           EscapeLibraryText(t.topic.TopicFile) + "\n";
    for (const FormulaRecord& f : t.formulas) {
      out += "formula\t" + EscapeLibraryText(f.Name) + "\t" + EscapeLibraryText(f.Expression) +
             "\t" + EscapeLibraryText(f.Comment) + "\n";
    }
  }
  return out;
}

bool ParseLibraryLines(std::string_view text, Library& library, LibraryTextError& error) {
  library.topics.clear();
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;

    const std::vector<std::string> parts = SplitTabs(line);
    if (parts[0] == "topic" && parts.size() == 3) {
      if (library.topics.size() == MaxLibraryRecords) {
        error = {lineNumber, LineError(lineNumber, "más de 255 temas")};
        return false;
      }
      LibraryTopic topic;
      topic.line = lineNumber;
      if (!Field(parts[1], kTopicNameMax, "el nombre del tema pasa de 40 caracteres", lineNumber,
                 topic.topic.TopicName, error) ||
          !Field(parts[2], kTopicFileMax, "el fichero del tema pasa de 8 caracteres", lineNumber,
                 topic.topic.TopicFile, error)) {
        return false;
      }
      // A topic's file becomes part of a path: it must name a plain file in Frmls.
      if (!SafeTopicFile(topic.topic.TopicFile)) {
        error = {lineNumber, LineError(lineNumber, kUnsafeTopicFile)};
        return false;
      }
      library.topics.push_back(std::move(topic));
    } else if (parts[0] == "formula" && parts.size() == 4) {
      if (library.topics.empty()) {
        error = {lineNumber, LineError(lineNumber, "fórmula antes del primer tema")};
        return false;
      }
      std::vector<FormulaRecord>& formulas = library.topics.back().formulas;
      if (formulas.size() == MaxLibraryRecords) {
        error = {lineNumber, LineError(lineNumber, "más de 255 fórmulas en un tema")};
        return false;
      }
      FormulaRecord f;
      if (!Field(parts[1], kNameMax, "el nombre de la fórmula pasa de 3 caracteres", lineNumber,
                 f.Name, error) ||
          !Field(parts[2], kExpressionMax, "la fórmula pasa de 40 caracteres", lineNumber,
                 f.Expression, error) ||
          !Field(parts[3], kCommentMax, "el comentario pasa de 32 caracteres", lineNumber,
                 f.Comment, error)) {
        return false;
      }
      formulas.push_back(f);
    } else {
      error = {lineNumber, LineError(lineNumber,
                                     "se esperaba topic<TAB>nombre<TAB>fichero o "
                                     "formula<TAB>nombre<TAB>fórmula<TAB>comentario")};
      return false;
    }
  }

  // One file holds one list: a topic may share another's file only with the same formulas.
  for (std::size_t i = 0; i < library.topics.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const LibraryTopic& a = library.topics[j];
      const LibraryTopic& b = library.topics[i];
      if (SameTopicFile(a.topic.TopicFile, b.topic.TopicFile) &&
          !SameFormulas(a.formulas, b.formulas)) {
        error = {b.line, LineError(b.line, ShortText("el fichero ") + b.topic.TopicFile +
                                               " ya es de otro tema, con otras fórmulas")};
        return false;
      }
    }
  }
  return true;
}

namespace {

// What a load found wrong with a list's file; false when nothing.
bool Problem(const ShortText& file, const LoadedFile& loaded, const std::string& beyond,
             std::size_t recordSize, std::vector<LibraryProblem>* problems) {
  ShortText reason;
  if (loaded.refused) {
    reason = "no es un nombre de fichero válido (sale de la carpeta Frmls o es un dispositivo)";
  } else if (loaded.unread) {
    reason = loaded.why;
  } else if (beyond.size() % recordSize != 0) {
    reason = "está dañado: le sobran " + std::to_string(beyond.size() % recordSize) +
             " bytes tras el último registro entero";
  } else if (!beyond.empty()) {
    reason = "tiene más de 255 registros";
  } else {
    return false;
  }
  if (problems) problems->push_back({file, reason});
  return true;
}

}  // namespace

Library ReadLibraryFiles(std::vector<LibraryProblem>* problems) {
  Library library;
  LoadTopics();
  Problem(kTopicsFileName, TopicsFile, TopicsBeyond, kTopicRecordSize, problems);
  const std::uint8_t topics = TopicCount;
  for (int t = 1; t <= topics; ++t) {
    LibraryTopic topic{TopicList[t], {}};
    LoadFormulaFile(TopicList[t].TopicFile);
    Problem(FormulaFilePath, FormulaFile, FormulasBeyond, kFormulaRecordSize, problems);
    for (int f = 1; f <= TopicFormulaCount; ++f) topic.formulas.push_back(FormulaList[f]);
    library.topics.push_back(std::move(topic));
  }
  return library;
}

bool WriteLibraryFiles(const Library& library, LibraryProblem* failure) {
  // Every file is prepared first; only when all are ready does any replace
  // its old file, so that a failure leaves the whole library as it was.
  std::vector<ShortText> prepared;
  auto prepare = [&](const ShortText& path, const std::vector<std::string>& pieces) {
    ShortText why;
    if (PrepareSave(path.c_str(), pieces, &why)) {
      prepared.push_back(path);
      return true;
    }
    if (failure) *failure = {path, why};
    return false;
  };
  bool ready = true;
  if (!library.topics.empty()) MakeNamedFolder(kFormulaFolder);
  for (std::size_t t = 0; t < library.topics.size() && ready; ++t) {
    const LibraryTopic& topic = library.topics[t];
    // Topics sharing a file hold the same formulas: one file is enough.
    bool first = true;
    for (std::size_t u = 0; u < t; ++u) {
      first = first && !SameTopicFile(library.topics[u].topic.TopicFile, topic.topic.TopicFile);
    }
    if (!first) continue;
    std::vector<std::string> pieces;
    for (const FormulaRecord& f : topic.formulas) pieces.push_back(FormulaImage(f));
    ready = prepare(FormulaPath(topic.topic.TopicFile), pieces);
  }
  if (ready) {
    std::vector<std::string> pieces;
    for (const LibraryTopic& t : library.topics) pieces.push_back(TopicImage(t.topic));
    ready = prepare(kTopicsFileName, pieces);
  }
  if (!ready) {
    for (const ShortText& path : prepared) AbandonSave(path.c_str());
    return false;
  }
  // temas.rel last: it names the formula files, which are in place by then.
  for (const ShortText& path : prepared) {
    ShortText why;
    if (!FinishSave(path.c_str(), &why)) {
      if (failure) *failure = {path, why};
      for (const ShortText& rest : prepared) AbandonSave(rest.c_str());
      return false;
    }
  }
  return true;
}
