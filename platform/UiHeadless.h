#pragma once
// User-interface services for a run with no window: every message is printed
// to standard error as "title: text" and answered by a policy the caller gives.
#include "platform/Ui.h"

#include <QStringList>
#include <functional>

namespace zv {

class UiHeadless : public UiServices {
public:
  using MessagePolicy = std::function<int(const QString &text, int buttons, const QString &title)>;
  using InputPolicy = std::function<std::optional<QString>(const QString &prompt, const QString &title,
                                                           const QString &defaultText)>;
  using FilePolicy = std::function<FileDialogResult(const FileDialogRequest &request)>;
  using DocumentPolicy = std::function<bool(const QString &target, int showCode)>;

  // Without a policy, a message gets the answer of its default button and an
  // input box its default text (as if Enter were pressed), a file dialog is
  // cancelled and a document is only recorded.
  explicit UiHeadless(MessagePolicy messages = {}) : messages_(std::move(messages)) {}

  void setMessagePolicy(MessagePolicy p) { messages_ = std::move(p); }
  void setInputPolicy(InputPolicy p) { inputs_ = std::move(p); }
  void setFilePolicy(FilePolicy p) { files_ = std::move(p); }
  void setDocumentPolicy(DocumentPolicy p) { documents_ = std::move(p); }

  int msgBox(const QString &text, int buttons, const QString &title) override;
  std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText) override;
  FileDialogResult fileDialog(const FileDialogRequest &request) override;
  bool openDocument(const QString &target, int showCode) override;
  void doEvents() override;
  void sendTab() override {}

  // Documents asked to be opened, in order.
  const QStringList &documents() const { return documentsOpened_; }

  // The answer of the default button of a VB button code (1-7).
  static int defaultAnswer(int buttons);
  // "title: text" on one line; line breaks inside the text become " | ".
  static QString line(const QString &title, const QString &text);

private:
  MessagePolicy messages_;
  InputPolicy inputs_;
  FilePolicy files_;
  DocumentPolicy documents_;
  QStringList documentsOpened_;
};

} // namespace zv
