#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace zv::test {

namespace {
const char *kindName(int k) {
  static const char *names[] = {"message box", "input box", "file dialog", "open document"};
  return names[k];
}
} // namespace

QString visible(const QString &text) {
  QString out;
  for (QChar c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

ScriptedUi::~ScriptedUi() { verify(); }

ScriptedUi &ScriptedUi::expectMsg(const QString &text, int buttons, const QString &title,
                                  int answer) {
  Expectation e;
  e.kind = Kind::Msg;
  e.text = text;
  e.title = title;
  e.buttons = buttons;
  e.answer = answer;
  queue_.push_back(e);
  return *this;
}

ScriptedUi &ScriptedUi::expectInput(const QString &prompt, const QString &title,
                                    std::optional<QString> answer) {
  Expectation e;
  e.kind = Kind::Input;
  e.text = prompt;
  e.title = title;
  e.inputAnswer = std::move(answer);
  queue_.push_back(e);
  return *this;
}

ScriptedUi &ScriptedUi::expectFile(const FileDialogRequest &request,
                                   const FileDialogResult &answer) {
  Expectation e;
  e.kind = Kind::File;
  e.text = request.title;
  e.request = request;
  e.fileAnswer = answer;
  queue_.push_back(e);
  return *this;
}

ScriptedUi &ScriptedUi::expectOpenDocument(const QString &target, bool result) {
  Expectation e;
  e.kind = Kind::Document;
  e.text = target;
  e.docResult = result;
  queue_.push_back(e);
  return *this;
}

ScriptedUi::Expectation ScriptedUi::take(Kind kind, const QString &what) {
  if (queue_.empty()) {
    ADD_FAILURE() << "unexpected " << kindName(int(kind)) << ": " << visible(what).toStdString();
    return {};
  }
  Expectation e = queue_.front();
  queue_.pop_front();
  if (e.kind != kind) {
    ADD_FAILURE() << "expected a " << kindName(int(e.kind)) << " \"" << visible(e.text).toStdString()
                  << "\" but got a " << kindName(int(kind)) << ": " << visible(what).toStdString();
    return {};
  }
  return e;
}

int ScriptedUi::msgBox(const QString &text, int buttons, const QString &title) {
  const bool expected = !queue_.empty() && queue_.front().kind == Kind::Msg;
  Expectation e = take(Kind::Msg, title + ": " + text);
  if (expected) {
    EXPECT_EQ(visible(text).toStdString(), visible(e.text).toStdString()) << "message text";
    EXPECT_EQ(buttons, e.buttons) << "message buttons for: " << visible(text).toStdString();
    EXPECT_EQ(title.toStdString(), e.title.toStdString()) << "message title for: "
                                                          << visible(text).toStdString();
  }
  if (onMessage)
    onMessage(text, title);
  return expected ? e.answer : vb::Cancel;
}

std::optional<QString> ScriptedUi::inputBox(const QString &prompt, const QString &title,
                                            const QString &) {
  const bool expected = !queue_.empty() && queue_.front().kind == Kind::Input;
  Expectation e = take(Kind::Input, title + ": " + prompt);
  if (!expected)
    return std::nullopt;
  EXPECT_EQ(prompt.toStdString(), e.text.toStdString()) << "input prompt";
  EXPECT_EQ(title.toStdString(), e.title.toStdString()) << "input title";
  return e.inputAnswer;
}

FileDialogResult ScriptedUi::fileDialog(const FileDialogRequest &request) {
  const bool expected = !queue_.empty() && queue_.front().kind == Kind::File;
  Expectation e = take(Kind::File, request.title + " " + request.filter);
  if (!expected)
    return {};
  EXPECT_EQ(request.title.toStdString(), e.request.title.toStdString()) << "dialog title";
  EXPECT_EQ(request.filter.toStdString(), e.request.filter.toStdString()) << "dialog filter";
  EXPECT_EQ(request.defaultExtension.toStdString(), e.request.defaultExtension.toStdString())
      << "dialog default extension";
  EXPECT_EQ(request.save, e.request.save) << "dialog kind (save/open)";
  EXPECT_EQ(request.flag, e.request.flag) << "dialog option";
  return e.fileAnswer;
}

bool ScriptedUi::openDocument(const QString &target, int showCode) {
  const bool expected = !queue_.empty() && queue_.front().kind == Kind::Document;
  Expectation e = take(Kind::Document, target);
  lastShowCode = showCode;
  if (!expected)
    return false;
  EXPECT_EQ(target.toStdString(), e.text.toStdString()) << "document opened";
  return e.docResult;
}

void ScriptedUi::verify() {
  while (!queue_.empty()) {
    const Expectation &e = queue_.front();
    ADD_FAILURE() << "expected " << kindName(int(e.kind)) << " never shown: "
                  << visible(e.title + ": " + e.text).toStdString();
    queue_.pop_front();
  }
}

} // namespace zv::test
