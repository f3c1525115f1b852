#include "platform/UiQt.h"

#include "support/AplicacionQt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

using zv::UiQt;
namespace vb = zv::vb;
using B = QMessageBox;

namespace {

QApplication &app() { return zv::test::aplicacionQt(); }

// Acts on the next modal dialog once it is shown.
void whenModal(std::function<void(QWidget *)> act) {
  auto attempt = std::make_shared<std::function<void(int)>>();
  *attempt = [act, attempt](int left) {
    QWidget *w = QApplication::activeModalWidget();
    if (w && w->isVisible()) {
      act(w);
    } else if (left > 0) {
      QTimer::singleShot(10, [attempt, left] { (*attempt)(left - 1); });
    } else {
      ADD_FAILURE() << "no modal dialog appeared";
    }
  };
  QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

struct Seen {
  QString title, text;
  QStringList captions;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a box and clicks the button with that answer.
int clickAnswer(UiQt &ui, int code, int answer, Seen *seen = nullptr, const QString &title = "T") {
  whenModal([=](QWidget *w) {
    auto *box = qobject_cast<QMessageBox *>(w);
    ASSERT_NE(box, nullptr);
    if (seen) {
      seen->title = box->windowTitle();
      seen->text = box->text();
      seen->icon = box->icon();
      for (QAbstractButton *b : box->buttons())
        seen->captions << b->text();
    }
    for (QAbstractButton *b : box->buttons())
      if (UiQt::answerFor(box->standardButton(b)) == answer) {
        b->click();
        return;
      }
    ADD_FAILURE() << "no button answers " << answer;
    box->reject();
  });
  return ui.msgBox("texto", code, title);
}

int pressKey(UiQt &ui, int code, Qt::Key key) {
  whenModal([=](QWidget *w) {
    QTest::keyClick(w, key);
    if (w->isVisible()) // Esc without meaning: leave through the default button
      if (auto *box = qobject_cast<QMessageBox *>(w))
        box->defaultButton()->click();
  });
  return ui.msgBox("texto", code, "T");
}

TEST(UiQtLayout, ButtonsIconsAndDefaults) {
  struct Caso {
    int code;
    QList<B::StandardButton> buttons;
    B::Icon icon;
    B::StandardButton def, esc;
  } casos[] = {
      {0, {B::Ok}, B::NoIcon, B::Ok, B::Ok},
      {1 + 48, {B::Ok, B::Cancel}, B::Warning, B::Ok, B::Cancel},
      {2 + 16, {B::Abort, B::Retry, B::Ignore}, B::Critical, B::Abort, B::NoButton},
      {2 + 16 + 512, {B::Abort, B::Retry, B::Ignore}, B::Critical, B::Ignore, B::NoButton},
      {3 + 32 + 256, {B::Yes, B::No, B::Cancel}, B::Question, B::No, B::Cancel},
      {4 + 32 + 256, {B::Yes, B::No}, B::Question, B::No, B::NoButton},
      {4 + 64, {B::Yes, B::No}, B::Information, B::Yes, B::NoButton},
      {5 + 16, {B::Retry, B::Cancel}, B::Critical, B::Retry, B::Cancel},
      {0 + 512, {B::Ok}, B::NoIcon, B::Ok, B::Ok},
  };
  for (const auto &c : casos) {
    const UiQt::BoxLayout l = UiQt::layoutFor(c.code);
    EXPECT_EQ(l.buttons, c.buttons) << c.code;
    EXPECT_EQ(l.icon, c.icon) << c.code;
    EXPECT_EQ(l.defaultButton, c.def) << c.code;
    EXPECT_EQ(l.escapeButton, c.esc) << c.code;
  }
}

TEST(UiQtLayout, AnswersAndCaptions) {
  struct Caso {
    B::StandardButton b;
    int answer;
    const char *caption;
  } casos[] = {{B::Ok, 1, "Aceptar"},    {B::Cancel, 2, "Cancelar"},
               {B::Abort, 3, "Anular"},  {B::Retry, 4, "Reintentar"},
               {B::Ignore, 5, "Omitir"}, {B::Yes, 6, "Sí"},
               {B::No, 7, "No"}};
  for (const auto &c : casos) {
    EXPECT_EQ(UiQt::answerFor(c.b), c.answer);
    EXPECT_EQ(UiQt::captionFor(c.b), QString::fromUtf8(c.caption));
  }
  EXPECT_EQ(UiQt::answerFor(B::NoButton), 0);
}

TEST(UiQtLayout, Filters) {
  EXPECT_EQ(UiQt::qtFilter(QString::fromUtf8("Páginas Web (*.htm)|*.htm|")),
            QString::fromUtf8("Páginas Web (*.htm)"));
  EXPECT_EQ(UiQt::qtFilter("Base de Datos de Microsoft Access |*.MDB"),
            "Base de Datos de Microsoft Access (*.MDB)");
  EXPECT_EQ(UiQt::qtFilter("Texto|*.txt;*.csv|Todos|*.*|"), "Texto (*.txt *.csv);;Todos (*.*)");
  EXPECT_EQ(UiQt::qtFilter(""), "");
  EXPECT_EQ(UiQt::qtFilter("Solo descripcion"), "Solo descripcion (*)");
}

TEST(UiQtLayout, DefaultExtension) {
  EXPECT_EQ(UiQt::withDefaultExtension("/tmp/testigo", ".htm"), "/tmp/testigo.htm");
  EXPECT_EQ(UiQt::withDefaultExtension("/tmp/testigo", "htm"), "/tmp/testigo.htm");
  EXPECT_EQ(UiQt::withDefaultExtension("/tmp/testigo.html", ".htm"), "/tmp/testigo.html");
  EXPECT_EQ(UiQt::withDefaultExtension("/tmp/testigo.", ".htm"), "/tmp/testigo.htm");
  EXPECT_EQ(UiQt::withDefaultExtension("/tmp/a.b/testigo", ".htm"), "/tmp/a.b/testigo.htm");
  EXPECT_EQ(UiQt::withDefaultExtension("/tmp/testigo", ""), "/tmp/testigo");
}

TEST(UiQtBox, EveryButtonGivesItsAnswer) {
  app();
  UiQt ui;
  struct Caso {
    int code;
    QList<int> answers;
  } casos[] = {{0, {1}}, {1, {1, 2}}, {2, {3, 4, 5}}, {3, {6, 7, 2}}, {4, {6, 7}}, {5, {4, 2}}};
  for (const auto &c : casos)
    for (int a : c.answers)
      EXPECT_EQ(clickAnswer(ui, c.code, a), a) << c.code << " " << a;
}

TEST(UiQtBox, ShowsTextTitleIconAndSpanishCaptions) {
  app();
  UiQt ui;
  Seen seen;
  EXPECT_EQ(clickAnswer(ui, 4 + 32 + 256, vb::No, &seen, "Aviso al Operador"), vb::No);
  EXPECT_EQ(seen.title, "Aviso al Operador");
  EXPECT_EQ(seen.text, "texto");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.captions, QStringList({QString::fromUtf8("Sí"), "No"}));
}

TEST(UiQtBox, EmptyTitleShowsApplicationTitle) {
  app();
  QGuiApplication::setApplicationDisplayName("Recodificador de Cuentas");
  UiQt ui;
  Seen seen;
  clickAnswer(ui, 0, vb::OK, &seen, "");
  EXPECT_EQ(seen.title, "Recodificador de Cuentas");
}

TEST(UiQtBox, EnterTakesDefaultButtonAndEscapeCancels) {
  app();
  UiQt ui;
  EXPECT_EQ(pressKey(ui, 4 + 32 + 256, Qt::Key_Return), vb::No);
  EXPECT_EQ(pressKey(ui, 4 + 32, Qt::Key_Return), vb::Yes);
  EXPECT_EQ(pressKey(ui, 2 + 16 + 512, Qt::Key_Return), vb::Ignore);
  EXPECT_EQ(pressKey(ui, 3, Qt::Key_Escape), vb::Cancel);
  EXPECT_EQ(pressKey(ui, 1, Qt::Key_Escape), vb::Cancel);
  EXPECT_EQ(pressKey(ui, 0, Qt::Key_Escape), vb::OK);
  // Yes/No has no cancel: Esc leaves the box open.
  EXPECT_EQ(pressKey(ui, 4, Qt::Key_Escape), vb::Yes);
  EXPECT_EQ(pressKey(ui, 2, Qt::Key_Escape), vb::Abort);
  EXPECT_EQ(pressKey(ui, 2 + 256, Qt::Key_Escape), vb::Retry);
}

TEST(UiQtInput, TypedTextOrCancel) {
  app();
  UiQt ui;
  whenModal([](QWidget *w) {
    auto *d = qobject_cast<QInputDialog *>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->labelText(), "ingrese el password:");
    EXPECT_EQ(d->windowTitle(), "Password Access");
    EXPECT_EQ(d->textValue(), "previo");
    d->setTextValue("secreto");
    d->accept();
  });
  EXPECT_EQ(ui.inputBox("ingrese el password:", "Password Access", "previo"),
            std::optional<QString>("secreto"));
  whenModal([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
  EXPECT_EQ(ui.inputBox("p", "t", ""), std::nullopt);
}

TEST(UiQtFile, SaveAppendsDefaultExtensionAndCancelReports) {
  app();
  QTemporaryDir dir;
  UiQt ui;
  zv::FileDialogRequest r;
  r.title = "Guardar testigo";
  r.filter = QString::fromUtf8("Páginas Web (*.htm)|*.htm|");
  r.defaultExtension = ".htm";
  r.flag = true;
  r.save = true;
  r.fileName = dir.filePath("testigo");
  whenModal([](QWidget *w) {
    auto *d = qobject_cast<QFileDialog *>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Guardar testigo");
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(d->nameFilters(), QStringList({QString::fromUtf8("Páginas Web (*.htm)")}));
    static_cast<QDialog *>(d)->accept();
  });
  const zv::FileDialogResult res = ui.fileDialog(r);
  EXPECT_FALSE(res.cancelled);
  EXPECT_EQ(res.fileName, dir.filePath("testigo.htm"));

  r.save = false;
  whenModal([](QWidget *w) {
    auto *d = qobject_cast<QFileDialog *>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
    d->reject();
  });
  EXPECT_TRUE(ui.fileDialog(r).cancelled);
}

TEST(UiQtKeys, SendTabMovesFocus) {
  app();
  QWidget window;
  auto *layout = new QVBoxLayout(&window);
  auto *first = new QLineEdit;
  auto *second = new QLineEdit;
  layout->addWidget(first);
  layout->addWidget(second);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  first->setFocus();
  QCoreApplication::processEvents();
  ASSERT_TRUE(first->hasFocus());
  UiQt ui;
  ui.sendTab();
  ui.doEvents();
  EXPECT_TRUE(second->hasFocus());
}

TEST(UiQtDocument, EmptyTargetOpensNothing) {
  app();
  UiQt ui;
  EXPECT_FALSE(ui.openDocument("  ", 6));
}

} // namespace
