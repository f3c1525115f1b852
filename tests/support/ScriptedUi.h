#pragma once
// Scripted user-interface services: each expected message box, input box or
// file dialog is queued with its exact text, buttons and title and the answer
// to give. Anything unexpected, different or left over fails the test.
#include "platform/Ui.h"

#include <QString>
#include <deque>
#include <functional>

namespace zv::test {

class ScriptedUi : public UiServices {
public:
  ScriptedUi() = default;
  ~ScriptedUi() override; // fails the test when expectations are left over

  ScriptedUi &expectMsg(const QString &text, int buttons, const QString &title, int answer);
  ScriptedUi &expectInput(const QString &prompt, const QString &title,
                          std::optional<QString> answer);
  ScriptedUi &expectFile(const FileDialogRequest &request, const FileDialogResult &answer);
  ScriptedUi &expectOpenDocument(const QString &target, bool result = true);

  int msgBox(const QString &text, int buttons, const QString &title) override;
  std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText) override;
  FileDialogResult fileDialog(const FileDialogRequest &request) override;
  bool openDocument(const QString &target, int showCode) override;
  void doEvents() override { ++doEventsCount; }
  void sendTab() override { ++sendTabCount; }

  // Fails the test for every expectation not yet met, and forgets them.
  void verify();
  bool empty() const { return queue_.empty(); }

  int doEventsCount = 0;
  int sendTabCount = 0;
  int lastShowCode = -1;
  // Called for every message shown, after its check (optional).
  std::function<void(const QString &text, const QString &title)> onMessage;

private:
  enum class Kind { Msg, Input, File, Document };
  struct Expectation {
    Kind kind = Kind::Msg;
    QString text, title;
    int buttons = 0;
    int answer = 0;
    std::optional<QString> inputAnswer;
    FileDialogRequest request;
    FileDialogResult fileAnswer;
    bool docResult = true;
  };
  Expectation take(Kind kind, const QString &what);
  std::deque<Expectation> queue_;
};

// Shows text with its control characters visible, for failure messages.
QString visible(const QString &text);

} // namespace zv::test
