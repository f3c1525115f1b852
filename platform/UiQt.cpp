#include "platform/UiQt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QUrl>

namespace zv {

namespace {

// A box without a cancelling button cannot be dismissed by Esc or by closing
// its window; Qt would otherwise pick a button of its own for them.
class NoDismiss : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Close) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
      auto *key = static_cast<QKeyEvent *>(event);
      if (key->key() == Qt::Key_Escape) {
        event->accept();
        return event->type() == QEvent::KeyPress;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

} // namespace

UiQt::BoxLayout UiQt::layoutFor(int buttons) {
  using B = QMessageBox;
  BoxLayout l;
  switch (buttons & 7) {
  case vb::OKCancel:
    l.buttons = {B::Ok, B::Cancel};
    l.escapeButton = B::Cancel;
    break;
  case vb::AbortRetryIgnore:
    l.buttons = {B::Abort, B::Retry, B::Ignore};
    break;
  case vb::YesNoCancel:
    l.buttons = {B::Yes, B::No, B::Cancel};
    l.escapeButton = B::Cancel;
    break;
  case vb::YesNo:
    l.buttons = {B::Yes, B::No};
    break;
  case vb::RetryCancel:
    l.buttons = {B::Retry, B::Cancel};
    l.escapeButton = B::Cancel;
    break;
  default:
    l.buttons = {B::Ok};
    l.escapeButton = B::Ok;
    break;
  }
  switch (buttons & 0x70) {
  case vb::Critical:
    l.icon = B::Critical;
    break;
  case vb::Question:
    l.icon = B::Question;
    break;
  case vb::Exclamation:
    l.icon = B::Warning;
    break;
  case vb::Information:
    l.icon = B::Information;
    break;
  default:
    break;
  }
  int index = (buttons & vb::DefaultButton3) ? 2 : (buttons & vb::DefaultButton2) ? 1 : 0;
  if (index >= l.buttons.size())
    index = 0;
  l.defaultButton = l.buttons.at(index);
  return l;
}

int UiQt::answerFor(QMessageBox::StandardButton button) {
  switch (button) {
  case QMessageBox::Ok:
    return vb::OK;
  case QMessageBox::Cancel:
    return vb::Cancel;
  case QMessageBox::Abort:
    return vb::Abort;
  case QMessageBox::Retry:
    return vb::Retry;
  case QMessageBox::Ignore:
    return vb::Ignore;
  case QMessageBox::Yes:
    return vb::Yes;
  case QMessageBox::No:
    return vb::No;
  default:
    return 0;
  }
}

QString UiQt::captionFor(QMessageBox::StandardButton button) {
  switch (button) {
  case QMessageBox::Ok:
    return QStringLiteral("Aceptar");
  case QMessageBox::Cancel:
    return QStringLiteral("Cancelar");
  case QMessageBox::Abort:
    return QStringLiteral("Anular");
  case QMessageBox::Retry:
    return QStringLiteral("Reintentar");
  case QMessageBox::Ignore:
    return QStringLiteral("Omitir");
  case QMessageBox::Yes:
    return QString::fromUtf8("Sí");
  case QMessageBox::No:
    return QStringLiteral("No");
  default:
    return {};
  }
}

QString UiQt::titleOrApplication(const QString &title) {
  if (!title.isEmpty())
    return title;
  QString app = QGuiApplication::applicationDisplayName();
  return app.isEmpty() ? QCoreApplication::applicationName() : app;
}

QWidget *UiQt::owner() const {
  if (parent_)
    return parent_;
  if (QWidget *modal = QApplication::activeModalWidget())
    return modal;
  return QApplication::activeWindow();
}

int UiQt::msgBox(const QString &text, int buttons, const QString &title) {
  const BoxLayout l = layoutFor(buttons);
  QMessageBox box(owner());
  box.setWindowTitle(titleOrApplication(title));
  box.setText(text);
  box.setIcon(l.icon);
  for (QMessageBox::StandardButton b : l.buttons) {
    box.addButton(b);
    box.button(b)->setText(captionFor(b));
  }
  box.setDefaultButton(l.defaultButton);
  NoDismiss noDismiss;
  if (l.escapeButton != QMessageBox::NoButton)
    box.setEscapeButton(l.escapeButton);
  else
    box.installEventFilter(&noDismiss);
  box.exec();
  const int answer = answerFor(box.standardButton(box.clickedButton()));
  if (answer)
    return answer;
  // Closed without a button (only possible where Esc has a meaning).
  return l.escapeButton != QMessageBox::NoButton ? answerFor(l.escapeButton) : answerFor(l.defaultButton);
}

std::optional<QString> UiQt::inputBox(const QString &prompt, const QString &title,
                                      const QString &defaultText) {
  QInputDialog dialog(owner());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(titleOrApplication(title));
  dialog.setLabelText(prompt);
  dialog.setTextValue(defaultText);
  dialog.setOkButtonText(QStringLiteral("Aceptar"));
  dialog.setCancelButtonText(QStringLiteral("Cancelar"));
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.textValue();
}

QString UiQt::qtFilter(const QString &filter) {
  QStringList parts = filter.split(u'|');
  if (!parts.isEmpty() && parts.last().trimmed().isEmpty())
    parts.removeLast();
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts.at(i).trimmed();
    QString patterns = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
    patterns.replace(u';', u' ');
    patterns = patterns.simplified();
    if (patterns.isEmpty())
      patterns = QStringLiteral("*");
    if (description.isEmpty() && patterns == QStringLiteral("*"))
      continue;
    // A description that already shows its patterns is kept as it is.
    if (description.endsWith(QStringLiteral("(") + patterns + QStringLiteral(")")))
      out << description;
    else
      out << (description.isEmpty() ? patterns : description) + QStringLiteral(" (") + patterns +
                 QStringLiteral(")");
  }
  return out.join(QStringLiteral(";;"));
}

QString UiQt::withDefaultExtension(const QString &fileName, const QString &extension) {
  QString ext = extension.trimmed();
  if (ext.startsWith(u'.'))
    ext.remove(0, 1);
  if (fileName.isEmpty() || ext.isEmpty())
    return fileName;
  if (!QFileInfo(fileName).suffix().isEmpty())
    return fileName;
  if (fileName.endsWith(u'.'))
    return fileName + ext;
  return fileName + u'.' + ext;
}

FileDialogResult UiQt::fileDialog(const FileDialogRequest &request) {
  QFileDialog dialog(owner(), titleOrApplication(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog, QGuiApplication::platformName() == "offscreen");
  const QString filter = qtFilter(request.filter);
  if (!filter.isEmpty())
    dialog.setNameFilters(filter.split(QStringLiteral(";;")));
  QString ext = request.defaultExtension.trimmed();
  if (ext.startsWith(u'.'))
    ext.remove(0, 1);
  dialog.setDefaultSuffix(ext);
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.flag);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.flag ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  if (!request.fileName.isEmpty())
    dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return {false, withDefaultExtension(dialog.selectedFiles().constFirst(), ext)};
}

bool UiQt::openDocument(const QString &target, int) {
  QString t = target.trimmed();
  // Callers quote a path with blanks for the shell; a URL or file name has no
  // such quotes.
  if (t.size() >= 2 && t.startsWith(QLatin1Char('"')) && t.endsWith(QLatin1Char('"')))
    t = t.mid(1, t.size() - 2);
  if (t.isEmpty())
    return false;
  const QFileInfo file(t);
  const QUrl url = file.exists() ? QUrl::fromLocalFile(file.absoluteFilePath()) : QUrl::fromUserInput(t);
  return url.isValid() && QDesktopServices::openUrl(url);
}

void UiQt::doEvents() { QCoreApplication::processEvents(); }

void UiQt::sendTab() {
  QWidget *target = QApplication::focusWidget();
  if (!target)
    target = QApplication::activeWindow();
  if (!target)
    return;
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier));
}

} // namespace zv
