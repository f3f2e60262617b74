#include "library/library_dialog_win.h"

#include "common/dialog_win.h"
#include "common/named_files.h"
#include "engine/formula_cycle.h"
#include "library/library_files.h"
#include "resources/ids.h"

int LibraryMode = kPickMode;
HWND LibraryDialog = nullptr;
WindowPlace LibraryPlace;

namespace {

// Positions count from 1; a position past the count means a new record. They
// are wider than the 8-bit counts so that "new" stays distinct from position
// 255 when a list is full.
int TopicPos = 1;
int FormulaPos = 1;
// The topic whose formulas FormulaList holds, where it stands now: deleting
// a topic before it moves it up, deleting it makes this 0 while its formulas
// stay loaded. LoadedTopicName is its name when loaded, for after a deletion.
int LoadedTopic = 0;
bool FormulasLoaded = false;
ShortText LoadedTopicName;
bool TopicsChanged = false;
bool FormulasChanged = false;
int HelpSide = 0;

int SideOf(int id) {
  switch (id) {
    case IDC_LIB_FORMULA_OK:
    case IDC_LIB_FORMULA_NEW:
    case IDC_LIB_FORMULA_DELETE:
    case IDC_LIB_FORMULAS:
    case IDC_LIB_FORMULA_NAME:
    case IDC_LIB_EXPRESSION:
    case IDC_LIB_COMMENT:
      return 1;
    default:
      return 0;
  }
}

int ListOf(int side) {
  return side == 0 ? IDC_LIB_TOPICS : IDC_LIB_FORMULAS;
}

int CountOf(int side) {
  return side == 0 ? TopicCount : TopicFormulaCount;
}

void Focus(HWND dialog, int id) {
  FocusItem(dialog, ItemWindow(dialog, id));
}

// A full list is 255 lines: drawn once at the end, not once per line.
void FillList(HWND dialog, int side) {
  const int list = ListOf(side);
  HWND box = ItemWindow(dialog, list);
  SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  ListClear(dialog, list);
  SendMessageW(box, LB_INITSTORAGE, CountOf(side), CountOf(side) * (kExpressionMax + 8));
  for (int k = 1; k <= CountOf(side); ++k) {
    ListAdd(dialog, list, side == 0 ? TopicLine(k) : FormulaLine(k));
  }
  SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

// The caret goes where the new record is typed first, as after a store: the
// name typed next would otherwise press the button again.
void NewEntry(HWND dialog, int side) {
  if (side == 0) {
    SetItemText(dialog, IDC_LIB_TOPIC_NAME, "");
    SetItemText(dialog, IDC_LIB_TOPIC_FILE, "");
    TopicPos = TopicCount + 1;
  } else {
    SetItemText(dialog, IDC_LIB_EXPRESSION, "");
    SetItemText(dialog, IDC_LIB_COMMENT, "");
    FormulaPos = TopicFormulaCount + 1;
  }
  Focus(dialog, side == 0 ? IDC_LIB_TOPIC_NAME : IDC_LIB_FORMULA_NAME);
}

// A list whose file is there but could not be read shows empty: says so,
// with the file and the reason, rather than pass for an empty list.
void TellUnread(const ShortText& file, const LoadedFile& loaded) {
  if (!loaded.unread) return;
  MessageStyled("no se ha podido leer",
                "no se ha podido leer " + file + ": " + loaded.why +
                    "\r\n\r\nla lista se muestra vacía, y no se guardará sobre ese archivo",
                MB_ICONEXCLAMATION);
}

bool SaveOrTell(const ShortText& file, bool (*save)(SaveFailure*, bool));
void LoadTopicFormulas(HWND dialog, int position);

ShortText LoadedTopicTitle() {
  return LoadedTopic != 0 ? TopicList[LoadedTopic].TopicName : LoadedTopicName;
}

// Before other formulas replace the loaded ones: asks about unsaved changes
// and saves them on Yes. False when the loaded ones stay.
bool FormulasMayGo() {
  if (!FormulasLoaded || !FormulasChanged) return true;
  const int answer = AskYesNoCancel("las fórmulas han cambiado",
                                    "guardar las fórmulas de " + LoadedTopicTitle() + "?");
  return answer == IDNO || (answer == IDYES && SaveOrTell(FormulaFilePath, SaveFormulaFile));
}

// What storing the topic at `position` with file `file` does to the formulas
// shown: a topic's formulas live in the file it names now.
enum class FileChange {
  kNone,     // not the loaded topic, or the same file
  kBind,     // no such file yet: the formulas shown go there at the next save
  kLoad,     // a file of that name exists, and the user chose to use it
  kRefused,  // it exists, and the user kept the topic as it was
};

FileChange AskFileChange(int position, const ShortText& file) {
  if (position != LoadedTopic || LoadedTopic == 0) return FileChange::kNone;
  const ShortText path = FormulaPath(file);
  if (SameTopicFile(path, FormulaFilePath)) return FileChange::kNone;
  if (!LookUpFile(path).exists) return FileChange::kBind;
  // Saving the formulas shown over it would lose its own: the user decides.
  const int answer =
      AskYesNo("el fichero ya existe", path +
                                           " ya existe: ¿pasa el tema a usar ese fichero y sus "
                                           "fórmulas?\r\n\r\nNo: el tema se queda como estaba");
  if (answer != IDYES) return FileChange::kRefused;
  return FormulasMayGo() ? FileChange::kLoad : FileChange::kRefused;
}

void StoreEdited(HWND dialog, int side) {
  if (side == 1 && TopicPos > TopicCount) {
    MessageOk("no hay tema", "hay que seleccionar antes un tema");
    return;
  }
  if (side == 0 && !SafeTopicFile(GetItemText(dialog, IDC_LIB_TOPIC_FILE).Left(kTopicFileMax))) {
    MessageOk("fichero no válido", kUnsafeTopicFile);
    Focus(dialog, IDC_LIB_TOPIC_FILE);
    return;
  }
  int& pos = side == 0 ? TopicPos : FormulaPos;
  int count = CountOf(side);
  const int stored = pos;
  const FileChange change =
      side == 0 && pos <= count
          ? AskFileChange(pos, GetItemText(dialog, IDC_LIB_TOPIC_FILE).Left(kTopicFileMax))
          : FileChange::kNone;
  if (change == FileChange::kRefused) {
    Focus(dialog, IDC_LIB_TOPIC_FILE);
    return;
  }
  if (pos > count) {
    if (count == MaxLibraryRecords) {
      MessageOk("lista llena", side == 0 ? "no caben más de 255 temas"
                                         : "no caben más de 255 fórmulas en un tema");
      return;
    }
    pos = ++count;
  }
  if (side == 0) {
    TopicCount = static_cast<std::uint8_t>(count);
    TopicRecord& r = TopicList[pos];
    r.TopicName = TakeItemText(dialog, IDC_LIB_TOPIC_NAME).Left(kTopicNameMax);
    r.TopicFile = TakeItemText(dialog, IDC_LIB_TOPIC_FILE).Left(kTopicFileMax);
  } else {
    TopicFormulaCount = static_cast<std::uint8_t>(count);
    FormulaRecord& r = FormulaList[pos];
    r.Name = TakeItemText(dialog, IDC_LIB_FORMULA_NAME).Left(kNameMax);
    r.Expression = TakeItemText(dialog, IDC_LIB_EXPRESSION).Left(kExpressionMax);
    r.Comment = TakeItemText(dialog, IDC_LIB_COMMENT).Left(kCommentMax);
  }
  pos = count + 1;
  Focus(dialog, side == 0 ? IDC_LIB_TOPIC_NAME : IDC_LIB_FORMULA_NAME);
  FillList(dialog, side);
  (side == 0 ? TopicsChanged : FormulasChanged) = true;
  if (change == FileChange::kLoad) {
    LoadTopicFormulas(dialog, stored);
  } else if (side == 0 && stored == LoadedTopic) {
    LoadedTopicName = TopicList[stored].TopicName;
    SetItemText(dialog, IDC_LIB_HEADING, "fórmulas " + LoadedTopicName);
  }
  if (change == FileChange::kBind) {
    BindFormulaFile(TopicList[stored].TopicFile);
    if (TopicFormulaCount > 0 || !FormulasBeyond.empty()) FormulasChanged = true;
  }
}

void PickFormula(HWND dialog) {
  CurrentFormula = FormulaList[FormulaPos];
  EndDialog(dialog, 1);
}

// One save, and the one message that tells why it failed. A file that
// another copy of the program saved since it was loaded is replaced only
// when the user says so. True when the file was written.
bool SaveOrTell(const ShortText& file, bool (*save)(SaveFailure*, bool)) {
  SaveFailure failure;
  if (save(&failure, false)) return true;
  if (failure.changedOnDisk) {
    const ShortText question =
        file +
        " ha cambiado en el disco desde que se abrió aquí (¿otra copia del programa?)\r\n\r\n"
        "¿reemplazarlo por la versión de esta ventana?\r\n"
        "No: se conserva la otra versión y los cambios siguen aquí sin guardar";
    if (AskYesNoStyled("el fichero ha cambiado", question, MB_ICONEXCLAMATION) != IDYES) {
      return false;
    }
    if (save(&failure, true)) return true;
  }
  MessageStyled("no se ha guardado",
                "no se ha podido guardar " + file + ": " + failure.reason +
                    "\r\n\r\nlos cambios siguen aquí sin guardar",
                MB_ICONEXCLAMATION);
  return false;
}

// Stops at the first file that could not be written, which stays marked as
// changed: the dialog stays open with every edit, for another try.
bool SaveChanged() {
  if (TopicsChanged) {
    if (!SaveOrTell(kTopicsFileName, SaveTopics)) return false;
    TopicsChanged = false;
  }
  if (FormulasChanged) {
    if (!SaveOrTell(FormulaFilePath, SaveFormulaFile)) return false;
    FormulasChanged = false;
  }
  return true;
}

void ProposeFileName(HWND dialog) {
  if (GetItemText(dialog, IDC_LIB_TOPIC_FILE).empty()) {
    const ShortText name = GetItemText(dialog, IDC_LIB_TOPIC_NAME);
    SetItemText(dialog, IDC_LIB_TOPIC_FILE, ProposedTopicFile(name, TopicPos));
  }
  Focus(dialog, IDC_LIB_TOPIC_FILE);
}

// Each field takes what its record stores, so that nothing typed is lost on storing.
struct FieldLimit {
  int id;
  std::size_t limit;
};
constexpr FieldLimit kFieldLimits[] = {
    {IDC_LIB_TOPIC_NAME, kTopicNameMax}, {IDC_LIB_TOPIC_FILE, kTopicFileMax},
    {IDC_LIB_FORMULA_NAME, kNameMax},    {IDC_LIB_EXPRESSION, kExpressionMax},
    {IDC_LIB_COMMENT, kCommentMax},
};

void Initialise(HWND dialog) {
  for (const FieldLimit& f : kFieldLimits) LimitItemText(dialog, f.id, f.limit);
  LibraryDialog = dialog;
  LoadTopics();
  TopicPos = TopicCount + 1;
  FormulaPos = TopicFormulaCount + 1;
  FillList(dialog, 0);
  LoadedTopic = 0;
  FormulasLoaded = false;
  LoadedTopicName.Clear();
  TellUnread(kTopicsFileName, TopicsFile);
  if (LibraryMode == kStoreMode) {
    SetItemText(dialog, IDC_LIB_EXPRESSION, CurrentFormula.Expression);
    MessageOk("guardar fórmula", "hay que seleccionar (doble click) un tema");
  }
  TopicsChanged = false;
  FormulasChanged = false;
  HelpSide = 0;
  // The topic list is a tab stop, yet the dialog opens with the caret in the
  // topic name, as it did before: typing goes there at once.
  Focus(dialog, IDC_LIB_TOPIC_NAME);
  PlaceWindow(dialog, LibraryPlace);
}

// Shows the formulas of the topic at `position`, from the file it names.
void LoadTopicFormulas(HWND dialog, int position) {
  FormulasChanged = false;
  ListClear(dialog, IDC_LIB_FORMULAS);
  const TopicRecord topic = TopicList[position];
  LoadedTopic = position;
  FormulasLoaded = true;
  LoadedTopicName = topic.TopicName;
  LoadFormulaFile(topic.TopicFile);
  FillList(dialog, 1);
  TellUnread(FormulaFilePath, FormulaFile);
  SetItemText(dialog, IDC_LIB_HEADING, "fórmulas " + topic.TopicName);
  FormulaPos = TopicFormulaCount + 1;
  HelpSide = 1;
  if (LibraryMode == kPickMode) {
    for (int id : {IDC_LIB_FORMULA_NAME, IDC_LIB_EXPRESSION, IDC_LIB_COMMENT}) {
      SetItemText(dialog, id, "");
    }
  }
}

void ChooseTopic(HWND dialog, bool doubleClick) {
  const int selected = ListSelected(dialog, IDC_LIB_TOPICS);
  if (selected == 0) return;  // a notification with no item under it
  const int previous = TopicPos;
  TopicPos = selected;
  if (doubleClick) Focus(dialog, IDC_LIB_FORMULA_NAME);
  // Shown already, from the file the topic names.
  if (LoadedTopic != 0 && LoadedTopic == TopicPos &&
      SameTopicFile(FormulaFilePath, FormulaPath(TopicList[TopicPos].TopicFile))) {
    return;
  }
  // Staying on the loaded topic keeps the topic fields and what they belong to.
  if (!FormulasMayGo()) {
    ListSelect(dialog, IDC_LIB_TOPICS, static_cast<std::uint16_t>(LoadedTopic));
    TopicPos = previous;
    return;
  }
  SetItemText(dialog, IDC_LIB_TOPIC_NAME, TopicList[TopicPos].TopicName);
  SetItemText(dialog, IDC_LIB_TOPIC_FILE, TopicList[TopicPos].TopicFile);
  LoadTopicFormulas(dialog, TopicPos);
}

void ChooseFormula(HWND dialog, bool doubleClick) {
  const int selected = ListSelected(dialog, IDC_LIB_FORMULAS);
  if (selected == 0) return;
  FormulaPos = selected;
  if (doubleClick) {
    PickFormula(dialog);
    return;
  }
  const FormulaRecord& r = FormulaList[FormulaPos];
  SetItemText(dialog, IDC_LIB_FORMULA_NAME, r.Name);
  SetItemText(dialog, IDC_LIB_EXPRESSION, r.Expression);
  SetItemText(dialog, IDC_LIB_COMMENT, r.Comment);
}

void PressEnter(HWND dialog) {
  HWND focus = GetFocus();
  const int id = focus && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : -1;
  switch (id) {
    case IDC_LIB_TOPIC_OK:
    case IDC_LIB_FORMULA_OK:
    case IDC_LIB_TOPIC_FILE:
    case IDC_LIB_COMMENT:
      StoreEdited(dialog, SideOf(id));
      break;
    case IDC_LIB_TOPIC_NAME:
      ProposeFileName(dialog);
      break;
    case IDC_LIB_FORMULA_NAME:
      Focus(dialog, IDC_LIB_EXPRESSION);
      break;
    case IDC_LIB_EXPRESSION:
      Focus(dialog, IDC_LIB_COMMENT);
      break;
    // Enter on a list's selected line does what a double-click on it does.
    case IDC_LIB_TOPICS:
      ChooseTopic(dialog, true);
      break;
    case IDC_LIB_FORMULAS:
      ChooseFormula(dialog, true);
      break;
    default:
      break;
  }
}

template <class Record>
void RemoveRecord(Record* slots, std::uint8_t& count, int position) {
  for (int k = position; k < count; ++k) slots[k] = slots[k + 1];
  --count;
}

void Delete(HWND dialog, int side) {
  HelpSide = side;
  const int list = ListOf(side);
  const int p = ListSelected(dialog, list);
  if (p == 0 || p > CountOf(side)) return;
  if (AskYesNo("confirmar eliminar", "eliminar " + ListSelectedText(dialog, list) + "?") == IDNO) {
    return;
  }
  if (side == 0) {
    RemoveRecord(TopicList, TopicCount, p);
    if (p == LoadedTopic) {
      LoadedTopic = 0;
    } else if (p < LoadedTopic) {
      --LoadedTopic;
    }
    TopicsChanged = true;
  } else {
    RemoveRecord(FormulaList, TopicFormulaCount, p);
    FormulasChanged = true;
  }
  // The fields keep their texts, and their position never names another
  // record: with the current record deleted they describe a new one (the
  // next "Ok" puts it back, at the end); with one before it deleted, the
  // position moves up with the record.
  int& pos = side == 0 ? TopicPos : FormulaPos;
  if (p == pos) {
    pos = CountOf(side) + 1;
  } else if (p < pos) {
    --pos;
  }
  ListDelete(dialog, list, static_cast<std::uint16_t>(p));
}

void Accept(HWND dialog) {
  const bool picked = FormulaPos <= TopicFormulaCount;
  const FormulaRecord formula = picked ? FormulaList[FormulaPos] : FormulaRecord{};
  if (!SaveChanged()) return;
  if (picked) CurrentFormula = formula;
  EndDialog(dialog, picked ? 1 : 0);
}

// "Cancela", and "Salir" of the main window. Only Yes and No close: Cancel,
// a box that could not be shown and a save that failed keep the dialog open.
bool CloseAsking(HWND dialog) {
  if (TopicsChanged || FormulasChanged) {
    const int answer = AskYesNoCancel("ha habido cambios", "¿guardar los cambios?");
    if (answer != IDNO && (answer != IDYES || !SaveChanged())) return false;
  }
  EndDialog(dialog, 0);
  return true;
}

void ShowHelp() {
  if (HelpSide == 0) {
    MessageOk("tratamiento temas",
              "click: edición nombre o fichero\r\n\r\ndoble click: mostrar las fórmulas");
  } else {
    MessageOk("fórmulas",
              "click: edición fórmula y comentario\r\n\r\n"
              "doble click: incorporar fórmula seleccionada al cálculo");
  }
}

void HandleCommand(HWND dialog, int id, int notification) {
  switch (id) {
    case IDC_LIB_ENTER:
      PressEnter(dialog);
      break;
    case IDC_LIB_CANCEL:
      CloseAsking(dialog);
      break;
    case IDC_LIB_TOPIC_OK:
    case IDC_LIB_FORMULA_OK:
      StoreEdited(dialog, SideOf(id));
      break;
    case IDC_LIB_TOPIC_NEW:
    case IDC_LIB_FORMULA_NEW:
      HelpSide = SideOf(id);
      NewEntry(dialog, SideOf(id));
      break;
    case IDC_LIB_TOPIC_DELETE:
    case IDC_LIB_FORMULA_DELETE:
      Delete(dialog, SideOf(id));
      break;
    case IDC_LIB_ACCEPT:
      Accept(dialog);
      break;
    case IDC_LIB_TOPICS:
      if (notification == LBN_SELCHANGE || notification == LBN_DBLCLK) {
        ChooseTopic(dialog, notification == LBN_DBLCLK);
      }
      break;
    case IDC_LIB_FORMULAS:
      if (notification == LBN_SELCHANGE || notification == LBN_DBLCLK) {
        ChooseFormula(dialog, notification == LBN_DBLCLK);
      }
      break;
    case IDC_LIB_TOPIC_NAME:
    case IDC_LIB_TOPIC_FILE:
    case IDC_LIB_EXPRESSION:
    case IDC_LIB_COMMENT:
      HelpSide = SideOf(id);
      break;
    case IDC_LIB_HELP:
      ShowHelp();
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR CALLBACK LibraryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      break;
    case WM_COMMAND:
      HandleCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      break;
    case WM_DESTROY:
      RememberPlace(dialog, LibraryPlace);
      if (LibraryDialog == dialog) LibraryDialog = nullptr;
      break;
    default:
      break;
  }
  return 0;
}

bool CloseLibraryAsking() {
  return !LibraryDialog || CloseAsking(LibraryDialog);
}

bool OpenLibrary(int mode) {
  if (LibraryDialog) {
    BringForward(LibraryDialog);
    return false;
  }
  LibraryMode = mode;
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), L"LlistaFormules", nullptr, LibraryDialogProc, 0);
  LibraryDialog = nullptr;
  return result != 0 && result != -1;
}
