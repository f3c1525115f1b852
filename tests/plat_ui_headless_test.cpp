#include "platform/UiHeadless.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

using zv::UiHeadless;
namespace vb = zv::vb;

namespace {

TEST(UiHeadless, PrintsTitleAndTextToStandardError) {
  UiHeadless ui([](const QString &, int, const QString &) { return vb::Yes; });
  testing::internal::CaptureStderr();
  const int answer = ui.msgBox(QString::fromUtf8("¿Realmente desea abandonar la carga de datos?"),
                               4 + 32 + 256, "Aviso al Operador");
  const std::string out = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, vb::Yes);
  EXPECT_EQ(out, "Aviso al Operador: ¿Realmente desea abandonar la carga de datos?\n");
}

TEST(UiHeadless, MultiLineTextStaysOnOneLine) {
  UiHeadless ui([](const QString &, int, const QString &) { return vb::OK; });
  testing::internal::CaptureStderr();
  ui.msgBox("uno\r\ndos\ntres\rcuatro", 0, "T");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "T: uno | dos | tres | cuatro\n");
}

TEST(UiHeadless, PolicySeesTextButtonsAndTitle) {
  QString vistoTexto, vistoTitulo;
  int vistosBotones = -1;
  UiHeadless ui([&](const QString &t, int b, const QString &ti) {
    vistoTexto = t;
    vistosBotones = b;
    vistoTitulo = ti;
    return vb::Retry;
  });
  testing::internal::CaptureStderr();
  EXPECT_EQ(ui.msgBox("falla", 18, "Error en X"), vb::Retry);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(vistoTexto, "falla");
  EXPECT_EQ(vistosBotones, 18);
  EXPECT_EQ(vistoTitulo, "Error en X");
}

TEST(UiHeadless, WithoutPolicyTheDefaultButtonAnswers) {
  struct Caso {
    int botones, respuesta;
  } casos[] = {{0, vb::OK},           {1, vb::OK},           {1 + 256, vb::Cancel},
               {2, vb::Abort},        {2 + 256, vb::Retry},  {2 + 512, vb::Ignore},
               {3 + 512, vb::Cancel}, {4 + 32, vb::Yes},     {4 + 32 + 256, vb::No},
               {5, vb::Retry},        {5 + 256, vb::Cancel}, {0 + 512, vb::OK}};
  UiHeadless ui;
  for (const auto &c : casos) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(ui.msgBox("x", c.botones, "T"), c.respuesta) << c.botones;
    testing::internal::GetCapturedStderr();
  }
}

TEST(UiHeadless, InputFileAndDocumentPolicies) {
  UiHeadless ui;
  testing::internal::CaptureStderr();
  EXPECT_EQ(ui.inputBox("ingrese el password:", "Password Access", "def"), std::optional<QString>("def"));
  EXPECT_TRUE(ui.fileDialog({}).cancelled);
  EXPECT_FALSE(ui.openDocument("/tmp/t.htm", 6));

  ui.setInputPolicy([](const QString &, const QString &, const QString &) { return std::nullopt; });
  EXPECT_EQ(ui.inputBox("p", "t", "def"), std::nullopt);
  ui.setFilePolicy([](const zv::FileDialogRequest &r) {
    return zv::FileDialogResult{false, "/x/" + r.title};
  });
  zv::FileDialogRequest r;
  r.title = "a.txt";
  const auto res = ui.fileDialog(r);
  EXPECT_FALSE(res.cancelled);
  EXPECT_EQ(res.fileName, "/x/a.txt");
  int codigo = -1;
  ui.setDocumentPolicy([&](const QString &, int c) {
    codigo = c;
    return true;
  });
  EXPECT_TRUE(ui.openDocument("http://ejemplo", 0));
  EXPECT_EQ(codigo, 0);
  const std::string out = testing::internal::GetCapturedStderr();
  EXPECT_NE(out.find("Password Access: ingrese el password:\n"), std::string::npos) << out;
  EXPECT_EQ(ui.documents(), QStringList({"/tmp/t.htm", "http://ejemplo"}));
}

TEST(UiHeadless, DoEventsRunsPendingEventsOnlyWithAnApplication) {
  UiHeadless ui;
  ui.doEvents(); // no application yet: nothing to run, no crash
  int argc = 1;
  char nombre[] = "prueba";
  char *argv[] = {nombre, nullptr};
  QCoreApplication app(argc, argv);
  bool corrido = false;
  QTimer::singleShot(0, [&] { corrido = true; });
  ui.doEvents();
  EXPECT_TRUE(corrido);
}

} // namespace
