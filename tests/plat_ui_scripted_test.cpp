#include "support/ScriptedUi.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using zv::test::ScriptedUi;

namespace {

TEST(ScriptedUi, AnswersExpectedMessagesInOrder) {
  ScriptedUi ui;
  ui.expectMsg("uno", 4, "T", zv::vb::Yes).expectMsg("dos", 0, "", zv::vb::OK);
  EXPECT_EQ(ui.msgBox("uno", 4, "T"), zv::vb::Yes);
  EXPECT_EQ(ui.msgBox("dos", 0, ""), zv::vb::OK);
  EXPECT_TRUE(ui.empty());
}

TEST(ScriptedUi, FailsOnUnexpectedMessage) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.msgBox("inesperado", 0, "T");
      },
      "unexpected message box: T: inesperado");
}

TEST(ScriptedUi, FailsOnDifferentText) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.expectMsg("texto\r\nesperado", 0, "T", 1);
        ui.msgBox("texto\nesperado", 0, "T");
      },
      "message text");
}

TEST(ScriptedUi, FailsOnDifferentButtons) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.expectMsg("t", 4 + 32 + 256, "T", 7);
        ui.msgBox("t", 4 + 32, "T");
      },
      "message buttons");
}

TEST(ScriptedUi, FailsOnDifferentTitle) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.expectMsg("t", 0, "Aviso al Operador", 1);
        ui.msgBox("t", 0, "Aviso al operador");
      },
      "message title");
}

TEST(ScriptedUi, FailsOnLeftOverMessage) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.expectMsg("nunca", 0, "T", 1);
      },
      "never shown: T: nunca");
}

TEST(ScriptedUi, FailsOnWrongKindOfDialog) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.expectInput("ingrese el password:", "Password Access", QString("x"));
        ui.msgBox("otra cosa", 0, "T");
      },
      "expected a input box");
}

TEST(ScriptedUi, ChecksFileDialogAndDocument) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        zv::FileDialogRequest r;
        r.title = "Guardar";
        r.save = true;
        ui.expectFile(r, {false, "/tmp/a.htm"});
        r.save = false;
        ui.fileDialog(r);
      },
      "dialog kind");
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.expectOpenDocument("/tmp/a.htm");
        ui.openDocument("/tmp/b.htm", 6);
      },
      "document opened");
}

} // namespace
