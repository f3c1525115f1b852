#pragma once
// User-interface services on Qt widgets: message boxes, input boxes and file
// dialogs with the VB codes the system's code uses.
#include "platform/Ui.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>

class QWidget;

namespace zv {

class UiQt : public UiServices {
public:
  // parent: window the dialogs belong to; the active window when null.
  explicit UiQt(QWidget *parent = nullptr) : parent_(parent) {}

  int msgBox(const QString &text, int buttons, const QString &title) override;
  std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText) override;
  FileDialogResult fileDialog(const FileDialogRequest &request) override;
  bool openDocument(const QString &target, int showCode) override;
  void doEvents() override;
  void sendTab() override;

  // How a VB button code shows as a Qt message box.
  struct BoxLayout {
    QList<QMessageBox::StandardButton> buttons; // left to right
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton; // none: Esc does nothing
  };
  static BoxLayout layoutFor(int buttons);
  static int answerFor(QMessageBox::StandardButton button);      // VB answer 1-7, 0 if none
  static QString captionFor(QMessageBox::StandardButton button); // Spanish caption

  // "Desc|pat|Desc|pat|" as Qt's "Desc (pat);;Desc (pat)".
  static QString qtFilter(const QString &filter);
  // The name with the default extension (".htm" or "htm") when it has none.
  static QString withDefaultExtension(const QString &fileName, const QString &extension);
  // The title, or the application's title when empty.
  static QString titleOrApplication(const QString &title);

private:
  QWidget *owner() const;
  QPointer<QWidget> parent_;
};

} // namespace zv
