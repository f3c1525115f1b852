#include "platform/Kit.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using zv::FileDialogRequest;
using zv::FileDialogResult;
using zv::kit::DialogoArchivo;
using zv::kit::LectorIni;

namespace {

void escribir(const QString &ruta, const QByteArray &datos) {
  QFile f(ruta);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(datos);
}

class Ini : public ::testing::Test {
protected:
  QTemporaryDir dir;
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    escribir(dir.filePath("KX517tm.INI"), "; comentario\r\n"
                                          "[OTRO|USUARIO]\r\n"
                                          "FlatToolbars=7\r\n"
                                          "[EQUIPO1|OPERADOR]\r\n"
                                          "  flattoolbars = 0  \r\n"
                                          "Vacia=\r\n"
                                          "Citada=\" con blancos \"\r\n"
                                          "Nombre=Se\xF1or\r\n"
                                          "[Tercera]\n"
                                          "Clave=a=b\n");
  }
};

TEST_F(Ini, ReadsKeyOfItsSectionIgnoringCase) {
  LectorIni ini(dir.path());
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "EQUIPO1|OPERADOR", "FlatToolbars", "1"), "0");
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "equipo1|operador", "FLATTOOLBARS", "1"), "0");
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "OTRO|USUARIO", "FlatToolbars", "1"), "7");
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "Tercera", "Clave", ""), "a=b");
}

TEST_F(Ini, MissingSectionKeyOrFileGivesDefault) {
  LectorIni ini(dir.path());
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "NADIE|NADIE", "FlatToolbars", "1"), "1");
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "EQUIPO1|OPERADOR", "NoEsta", "def"), "def");
  // A key of another section is not taken.
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "Tercera", "FlatToolbars", "1"), "1");
  EXPECT_EQ(ini.LeerValor("NOEXISTE.INI", "EQUIPO1|OPERADOR", "FlatToolbars", "1"), "1");
  EXPECT_EQ(
      LectorIni(dir.filePath("falta")).LeerValor("KX517tm.INI", "EQUIPO1|OPERADOR", "FlatToolbars", "1"),
      "1");
}

TEST_F(Ini, EmptyQuotedAndAnsiValues) {
  LectorIni ini(dir.path());
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "EQUIPO1|OPERADOR", "Vacia", "def"), "");
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "EQUIPO1|OPERADOR", "Citada", ""), " con blancos ");
  EXPECT_EQ(ini.LeerValor("KX517tm.INI", "EQUIPO1|OPERADOR", "Nombre", ""), QString::fromUtf8("Señor"));
}

TEST_F(Ini, Utf8FileAndFileNameCase) {
  escribir(dir.filePath("otro.ini"), "\xEF\xBB\xBF[S]\nNombre=Se\xC3\xB1or\n");
  LectorIni ini(dir.path());
  EXPECT_EQ(ini.LeerValor("OTRO.INI", "s", "nombre", ""), QString::fromUtf8("Señor"));
  EXPECT_EQ(ini.LeerValor(dir.filePath("otro.ini"), "S", "Nombre", ""), QString::fromUtf8("Señor"));
}

TEST(DialogoArchivo, KeepsSettingsBetweenUsesAndReportsCancel) {
  zv::test::ScriptedUi ui;
  DialogoArchivo d(ui);
  d.Opcion = true;
  d.Titulo = QString::fromUtf8("Importación de Archivos");

  FileDialogRequest abrir;
  abrir.title = d.Titulo;
  abrir.flag = true;
  abrir.save = false;
  ui.expectFile(abrir, FileDialogResult{false, "/datos/pares.txt"});
  d.MostrarAbrir();
  EXPECT_FALSE(d.Cancelado);
  EXPECT_EQ(d.NombreArchivo, "/datos/pares.txt");

  // Second use: only what changes is set; the title and option stay.
  d.ExtensionPorDefecto = ".htm";
  d.Filtro = QString::fromUtf8("Páginas Web (*.htm)|*.htm|");
  FileDialogRequest guardar = abrir;
  guardar.defaultExtension = ".htm";
  guardar.filter = d.Filtro;
  guardar.save = true;
  ui.expectFile(guardar, FileDialogResult{true, {}});
  d.MostrarGuardar();
  EXPECT_TRUE(d.Cancelado);
  EXPECT_EQ(d.NombreArchivo, "");

  ui.expectFile(guardar, FileDialogResult{false, "/tmp/testigo.htm"});
  d.MostrarGuardar();
  EXPECT_FALSE(d.Cancelado);
  EXPECT_EQ(d.NombreArchivo, "/tmp/testigo.htm");
  EXPECT_EQ(d.Titulo, QString::fromUtf8("Importación de Archivos"));
  ui.verify();
}

TEST(DialogoArchivo, PassesTheLastChosenFileAsInitialName) {
  struct Ui : zv::test::ScriptedUi {
    QString inicial;
    zv::FileDialogResult fileDialog(const zv::FileDialogRequest &r) override {
      inicial = r.fileName;
      return {false, "/x/elegido.txt"};
    }
  } ui;
  DialogoArchivo d(ui);
  d.MostrarAbrir();
  EXPECT_EQ(ui.inicial, "");
  d.MostrarAbrir();
  EXPECT_EQ(ui.inicial, "/x/elegido.txt");
}

TEST(InfoSistema, ComesFromTheSystemAndOpensThroughUi) {
  zv::test::FakeSistema s;
  zv::test::ScriptedUi ui;
  zv::kit::InfoSistema info(s, ui);
  EXPECT_EQ(info.NombreEquipo(), "EQUIPO1");
  EXPECT_EQ(info.UsuarioSistema(), "operador");
  EXPECT_EQ(info.CarpetaTemporal(), "/tmp");
  ui.expectOpenDocument("/tmp/testigo.htm", true);
  EXPECT_TRUE(info.AbrirDocumento("/tmp/testigo.htm", 6));
  EXPECT_EQ(ui.lastShowCode, 6);
  EXPECT_FALSE(info.AbrirDocumento("  ", 6)); // nothing to open, nothing shown
  ui.verify();
}

TEST(ReceptorRuta, KeepsTheFolderWithSeparator) {
  zv::kit::ReceptorRuta r;
  EXPECT_FALSE(r.Iniciado());
  r.Iniciar("/opt/zv");
  EXPECT_TRUE(r.Iniciado());
  EXPECT_EQ(r.Carpeta(), "/opt/zv/");
}

} // namespace
