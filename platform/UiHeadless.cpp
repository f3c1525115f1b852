#include "platform/UiHeadless.h"

#include <QCoreApplication>

#include <cstdio>

namespace zv {

namespace {

void print(const QString &line) {
  const QByteArray utf8 = line.toUtf8() + '\n';
  std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stderr);
  std::fflush(stderr);
}

} // namespace

int UiHeadless::defaultAnswer(int buttons) {
  static const int answers[6][3] = {{vb::OK, vb::OK, vb::OK},           {vb::OK, vb::Cancel, vb::Cancel},
                                    {vb::Abort, vb::Retry, vb::Ignore}, {vb::Yes, vb::No, vb::Cancel},
                                    {vb::Yes, vb::No, vb::No},          {vb::Retry, vb::Cancel, vb::Cancel}};
  int set = buttons & 7;
  if (set > 5)
    set = 0;
  const int which = (buttons & vb::DefaultButton3) ? 2 : (buttons & vb::DefaultButton2) ? 1 : 0;
  return answers[set][which];
}

QString UiHeadless::line(const QString &title, const QString &text) {
  QString flat = text;
  flat.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  flat.replace(u'\r', u'\n');
  flat.replace(QStringLiteral("\n"), QStringLiteral(" | "));
  QString t = title;
  if (t.isEmpty())
    t = QCoreApplication::applicationName();
  return t.isEmpty() ? flat : t + QStringLiteral(": ") + flat;
}

int UiHeadless::msgBox(const QString &text, int buttons, const QString &title) {
  print(line(title, text));
  return messages_ ? messages_(text, buttons, title) : defaultAnswer(buttons);
}

std::optional<QString> UiHeadless::inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) {
  print(line(title, prompt));
  return inputs_ ? inputs_(prompt, title, defaultText) : std::optional<QString>(defaultText);
}

FileDialogResult UiHeadless::fileDialog(const FileDialogRequest &request) {
  print(line(request.title, request.filter));
  return files_ ? files_(request) : FileDialogResult{};
}

bool UiHeadless::openDocument(const QString &target, int showCode) {
  documentsOpened_ << target;
  return documents_ ? documents_(target, showCode) : false;
}

void UiHeadless::doEvents() {
  if (QCoreApplication::instance())
    QCoreApplication::processEvents();
}

} // namespace zv
