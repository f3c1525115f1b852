#pragma once
// User-interface services: every message box, input box and file dialog of
// the system goes through one UiServices object that the caller passes in.
#include <QString>
#include <QStringList>
#include <optional>

namespace zv {

// VB message-box codes.
namespace vb {
constexpr int OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
              RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
// Answers.
constexpr int OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
// Key codes seen by the window logic.
constexpr int KeyTab = 9, KeyReturn = 13, KeyEscape = 27, KeyEnd = 35, KeyHome = 36,
              KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40, KeyInsert = 45,
              KeyDelete = 46, KeyF1 = 112, KeyF2 = 113, KeyF3 = 114, KeyF4 = 115, KeyF5 = 116,
              KeyF6 = 117, KeyF7 = 118, KeyF8 = 119, KeyF9 = 120, KeyF10 = 121, KeyF11 = 122,
              KeyF12 = 123;
} // namespace vb

struct FileDialogRequest {
  QString title;
  QString filter;           // "Description|pattern|Description|pattern|"
  QString defaultExtension; // ".htm"
  bool flag = false;        // the library's Boolean option (overwrite prompt / must exist)
  bool save = false;        // Save dialog when true, Open otherwise
  QString fileName;         // initial file name
};

struct FileDialogResult {
  bool cancelled = true;
  QString fileName;
};

class UiServices {
public:
  virtual ~UiServices() = default;
  // Shows a message box; buttons is the VB code (buttons + icon + default
  // button); returns the answer 1-7.
  virtual int msgBox(const QString &text, int buttons, const QString &title) = 0;
  // Input box: the typed text, or nullopt when cancelled (VB then gives "").
  virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                          const QString &defaultText) = 0;
  virtual FileDialogResult fileDialog(const FileDialogRequest &request) = 0;
  // Opens a document or web address with its associated application.
  virtual bool openDocument(const QString &target, int showCode) = 0;
  // Lets pending events run (VB DoEvents).
  virtual void doEvents() = 0;
  // Sends the Tab key to the active window.
  virtual void sendTab() = 0;
};

} // namespace zv
