#include "startup/ModuloGlobal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv;
using zv::startup::ModuloGlobal;

namespace {

class AvisoErrorTest : public ::testing::Test {
protected:
  QTemporaryDir carpetaTmp, carpetaSistema;
  test::ScriptedUi ui;
  test::FakeSistema sistema;
  std::unique_ptr<db::EntornoDB> entorno;
  std::unique_ptr<ModuloGlobal> g;

  void SetUp() override {
    ASSERT_TRUE(carpetaTmp.isValid() && carpetaSistema.isValid());
    sistema.tempFolder = carpetaSistema.path();
    sistema.env["temp"] = "C:\\algo";
    sistema.env["tmp"] = "  " + carpetaTmp.path() + "  ";
    entorno = std::make_unique<db::EntornoDB>(ui, sistema, ado::ConnectionFactory{});
    g = std::make_unique<ModuloGlobal>(*entorno);
    g->ahora = [] { return QDateTime(QDate(2024, 3, 21), QTime(10, 15, 2)); };
  }

  static QByteArray leer(const QString &ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
      return "<no existe>";
    return f.readAll();
  }
  QString logTmp() const { return carpetaTmp.filePath("ZVERR.LOG"); }
};

TEST_F(AvisoErrorTest, MensajeTituloYLineaDelLog) {
  ui.expectMsg("Ha ocurrido el Siguiente Error (13) Type mismatch", 18,
               "Proyecto - Cfg Aviso al operador!!! - 2 ", vb::Ignore);
  EXPECT_EQ(g->AvisoError(AppError(13, "  Type mismatch  ", "Proyecto"), std::nullopt, QString("Cfg")), 5);
  // The log is ANSI: "ó" is the single byte 0xF3.
  EXPECT_EQ(leer(logTmp()), QByteArray("03-21-2024 10:15:02 Rutina: - Cfg Mensaje Ha ocurrido el Siguiente "
                                       "Error (13) Type mismatch Respondi\xF3 : Ignorar\r\n"));
}

TEST_F(AvisoErrorTest, SinRutinaDosBlancosYSeAgrega) {
  ui.expectMsg("Ha ocurrido el Siguiente Error (-2147217900) falla", 2 + 16, "ADO Aviso al operador!!! - 2 ",
               vb::Retry);
  ui.expectMsg("Ha ocurrido el Siguiente Error (5) otra", 0, "X Aviso al operador!!! - 2 ", vb::OK);
  EXPECT_EQ(g->AvisoError(AppError(-2147217900, "falla", "ADO")), 4);
  EXPECT_EQ(g->AvisoError(AppError(5, "otra", "X"), 0L), 1);
  EXPECT_EQ(
      leer(logTmp()),
      QByteArray("03-21-2024 10:15:02 Rutina:  Mensaje Ha ocurrido el Siguiente Error (-2147217900) falla "
                 "Respondi\xF3 : Reintentar\r\n"
                 "03-21-2024 10:15:02 Rutina:  Mensaje Ha ocurrido el Siguiente Error (5) otra "
                 "Respondi\xF3 : \r\n"));
}

TEST_F(AvisoErrorTest, PalabraDeCadaRespuesta) {
  const QList<QPair<int, QByteArray>> casos{
      {4, "Reintentar"}, {5, "Ignorar"}, {3, "Abortar"}, {2, "Cancelar"}, {6, "S\xED"}, {7, "No"}, {1, ""}};
  for (const auto &c : casos) {
    QFile::remove(logTmp());
    ui.expectMsg("Ha ocurrido el Siguiente Error (9) x", 18, "s - R Aviso al operador!!! - 2 ", c.first);
    EXPECT_EQ(g->AvisoError(AppError(9, "x", "s"), std::nullopt, QString("R")), c.first);
    EXPECT_TRUE(leer(logTmp()).endsWith("Respondi\xF3 : " + c.second + "\r\n")) << c.first;
  }
}

TEST_F(AvisoErrorTest, ErrorCeroNoMuestraNadaPeroCreaElLog) {
  EXPECT_EQ(g->AvisoError(AppError(0, "nada", "s"), std::nullopt, QString("R")), 0);
  EXPECT_EQ(leer(logTmp()), QByteArray());
}

TEST_F(AvisoErrorTest, CarpetaDelLog) {
  const QString enSistema = carpetaSistema.filePath("ZVERR.LOG");
  struct Caso {
    const char *temp;
    bool tmpVacio;
    bool enTmp;
  };
  // "tmp" counts only when "temp" is set; otherwise the system's folder.
  for (const Caso c : {Caso{"x", false, true}, Caso{"x", true, false}, Caso{"", false, false}}) {
    QFile::remove(logTmp());
    QFile::remove(enSistema);
    sistema.env["temp"] = c.temp;
    sistema.env["tmp"] = c.tmpVacio ? "   " : carpetaTmp.path();
    ui.expectMsg("Ha ocurrido el Siguiente Error (1) e", 18, "s Aviso al operador!!! - 2 ", vb::Abort);
    g->AvisoError(AppError(1, "e", "s"));
    EXPECT_EQ(QFile::exists(logTmp()), c.enTmp) << c.temp << c.tmpVacio;
    EXPECT_EQ(QFile::exists(enSistema), !c.enTmp) << c.temp << c.tmpVacio;
  }
}

TEST_F(AvisoErrorTest, LogQueNoSePuedeAbrirNoImpideElMensaje) {
  sistema.env["tmp"] = carpetaTmp.filePath("no/existe");
  ui.expectMsg("Ha ocurrido el Siguiente Error (7) e", 18, "s Aviso al operador!!! - 2 ", vb::Retry);
  EXPECT_EQ(g->AvisoError(AppError(7, "e", "s")), 4);
}

} // namespace
