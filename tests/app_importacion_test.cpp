// The pair-file import: splitting lines, and the whole click through the
// sheet's editor, validation and navigation with scripted messages.
#include "app/ImportacionPares.h"
#include "app_hoja_dobles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv;
using namespace zv::app;

namespace {

TEST(SepararPar, PrimerSeparadorEnOrdenComaPuntoYComaTab) {
  struct {
    const char *linea;
    bool hay;
    const char *actual, *nuevo;
  } casos[] = {
      {"A1,B1", true, "A1", "B1"},
      {"A1;B1", true, "A1", "B1"},
      {"A1\tB1", true, "A1", "B1"},
      {"A1;B1,C1", true, "A1;B1", "C1"}, // the comma wins over the semicolon
      {"A1,B1,C1", true, "A1", "B1,C1"},
      {"A1\tB1;C1", true, "A1\tB1", "C1"},
      {" A1 , B1 ", true, " A1 ", " B1 "}, // not trimmed here
      {"A1,", true, "A1", ""},
      {",B1", true, "", "B1"},
      {"A1", false, "", ""},
      {"", false, "", ""},
  };
  for (const auto &c : casos) {
    const auto par = SepararPar(QString::fromLatin1(c.linea));
    ASSERT_EQ(par.has_value(), c.hay) << c.linea;
    if (!par)
      continue;
    EXPECT_EQ(par->actual.toStdString(), c.actual) << c.linea;
    EXPECT_EQ(par->nuevo.toStdString(), c.nuevo) << c.linea;
  }
}

const QString kPregunta =
    "El archivo debe tener el Codigo actual coma Codigo nuevo (2 campos separado por coma "
    "(,) o punto y coma ( ; ) o tab)\r\n¿Realmente desea cargar un archivo?";
const int kOk = vb::OKOnly + vb::Critical;
const QString kAviso = "Aviso al operador";

class Importacion : public ::testing::Test {
protected:
  zv::test::UiConFallas ui;
  zv::test::ValidadorPrueba val{ui};
  HojaRecodificacion hoja{ui, val};
  kit::DialogoArchivo dialogo{ui};
  QTemporaryDir dir;
  zv::test::InformeGuion guion;
  QStringList &informes = guion.informes;
  std::deque<int> &respuestas = guion.respuestas;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    val.cuentas = {{"1.1.01.001", "Caja"},
                   {"1.1.01.002", "Banco Nación"},
                   {"2.1.01.001", "Proveedores"},
                   {"5.1.01.001", "Sueldos y jornales"}};
    hoja.InformarError = guion.funcion();
    hoja.InicializaGrid2();
  }

  QString archivo(const QByteArray &contenido) {
    const QString ruta = dir.filePath("pares.txt");
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido);
    return ruta;
  }
  FileDialogRequest pedidoAbrir() {
    FileDialogRequest r;
    r.title = "Importación de Archivos";
    r.flag = true;
    r.save = false;
    return r;
  }
  void esperarInicio(const QString &ruta) {
    ui.expectMsg(kPregunta, vb::YesNo + vb::Question, "Aviso al Operador", vb::Yes);
    ui.expectFile(pedidoAbrir(), {false, ruta});
  }
  std::string filas() {
    QStringList l;
    const Grilla &g = hoja.MSFlexGrid1;
    for (int r = 1; r < g.Rows(); ++r) {
      QStringList f;
      for (int c = 0; c < g.Cols(); ++c)
        f << g.TextMatrix(r, c);
      l << f.join('|');
    }
    return l.join('\n').toStdString();
  }
};

TEST_F(Importacion, TresFinesDeLineaYTresSeparadores) {
  const QString ruta = archivo("1.1.01.001,1.1.01.091\r\n1.1.01.002;1.1.01.092\r2.1.01.001\t2.1.01.093\n"
                               "5.1.01.001,5.1.01.094");
  esperarInicio(ruta);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "1.1.01.001|Caja|1.1.01.091|\n"
                     "1.1.01.002|Banco Nación|1.1.01.092|\n"
                     "2.1.01.001|Proveedores|2.1.01.093|\n"
                     "5.1.01.001|Sueldos y jornales|5.1.01.094|\n"
                     "|||");
  EXPECT_EQ(hoja.MSFlexGrid1.Row(), 5);
  EXPECT_EQ(hoja.MSFlexGrid1.Col(), 0);
  EXPECT_FALSE(hoja.txtedit.Visible);
  EXPECT_TRUE(informes.isEmpty());
  // Per line: one yield in each Enter and one after the current code.
  EXPECT_EQ(ui.doEventsCount, 4 * 3);
}

TEST_F(Importacion, LineasSinSeparadorOVaciasNoHacenNada) {
  const QString ruta = archivo("\r\nsolo texto\r\n\n1.1.01.001,1.1.01.091\r\n\r\n");
  esperarInicio(ruta);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "1.1.01.001|Caja|1.1.01.091|\n|||");
}

TEST_F(Importacion, CodigoActualInexistenteDejaLaFilaParaElSiguiente) {
  const QString ruta = archivo("9.9.99,1.1.01.091\r\n1.1.01.001,1.1.01.092\r\n");
  esperarInicio(ruta);
  ui.expectMsg("El Codigo Informado no existe", kOk, kAviso, vb::OK);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "1.1.01.001|Caja|1.1.01.092|\n|||");
}

TEST_F(Importacion, CodigoNuevoVacioDejaLaFilaSinCodigoNuevo) {
  const QString ruta = archivo("1.1.01.001,\r\n1.1.01.002,1.1.01.092\r\n");
  esperarInicio(ruta);
  ui.expectMsg("Debe Informar el Codigo de Cuenta Nuevo", kOk, kAviso, vb::OK);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "1.1.01.001|Caja||\n1.1.01.002|Banco Nación|1.1.01.092|\n|||");
}

TEST_F(Importacion, TrasAceptarUnaCuentaExistenteLasNuevasSeRechazanYSeVacian) {
  const QString ruta = archivo("1.1.01.001,2.1.01.001\r\n1.1.01.002,1.1.01.092\r\n5.1.01.001,2.1.01.001\r\n");
  esperarInicio(ruta);
  ui.expectMsg("Atención, el codigo nuevo ya existe..., esta seguro de utilizar esta cuenta? ",
               vb::YesNo + vb::Question, kAviso, vb::Yes);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "1.1.01.001|Caja|2.1.01.001|\n"
                     "1.1.01.002|Banco Nación||\n"
                     "5.1.01.001|Sueldos y jornales|2.1.01.001|\n"
                     "|||");
  EXPECT_EQ(hoja.ModoDestino, 1);
}

TEST_F(Importacion, NoALaCuentaExistenteNuncaTerminaEnFusion) {
  const QString ruta = archivo("1.1.01.001,2.1.01.001\r\n");
  esperarInicio(ruta);
  ui.expectMsg("Atención, el codigo nuevo ya existe..., esta seguro de utilizar esta cuenta? ",
               vb::YesNo + vb::Question, kAviso, vb::No);
  ui.expectMsg("El Código de Cuenta Nuevo ya Existe", kOk, kAviso, vb::OK);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "1.1.01.001|Caja||\n|||");
  EXPECT_EQ(hoja.ModoDestino, 3);
}

TEST_F(Importacion, NoALaPreguntaNoTocaLaHoja) {
  hoja.MSFlexGrid1.setTextMatrix(1, 0, "1.1.01.001");
  ui.expectMsg(kPregunta, vb::YesNo + vb::Question, "Aviso al Operador", vb::No);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "1.1.01.001|||");
}

TEST_F(Importacion, CancelarElDialogoDejaLaHojaVacia) {
  hoja.MSFlexGrid1.setRows(3);
  hoja.MSFlexGrid1.setTextMatrix(2, 0, "1.1.01.001");
  hoja.ModoDestino = 1;
  ui.expectMsg(kPregunta, vb::YesNo + vb::Question, "Aviso al Operador", vb::Yes);
  ui.expectFile(pedidoAbrir(), {true, {}});
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "|||");
  EXPECT_EQ(hoja.ModoDestino, 3);
}

TEST_F(Importacion, ElDialogoConservaFiltroYExtensionDelTestigo) {
  dialogo.Filtro = "Páginas Web (*.htm)|*.htm|";
  dialogo.ExtensionPorDefecto = ".htm";
  const QString ruta = archivo("");
  ui.expectMsg(kPregunta, vb::YesNo + vb::Question, "Aviso al Operador", vb::Yes);
  FileDialogRequest r = pedidoAbrir();
  r.filter = "Páginas Web (*.htm)|*.htm|";
  r.defaultExtension = ".htm";
  ui.expectFile(r, {false, ruta});
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "|||");
}

TEST_F(Importacion, ArchivoInexistenteSeInformaYTermina) {
  ui.expectMsg(kPregunta, vb::YesNo + vb::Question, "Aviso al Operador", vb::Yes);
  ui.expectFile(pedidoAbrir(), {false, dir.filePath("no_esta.txt")});
  respuestas = {vb::Abort};
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(informes, QStringList{"CmdBuscar_Click:53"});
  EXPECT_EQ(filas(), "|||");
}

TEST_F(Importacion, FallaDeUnPasoConIgnorarSigueConElResto) {
  const QString ruta = archivo("1.1.01.001,1.1.01.091\r\n1.1.01.002,1.1.01.092\r\n");
  esperarInicio(ruta);
  // The first yield (inside the first Enter) fails and is ignored.
  ui.fallasDoEvents = {err::Unspecified};
  respuestas = {vb::Ignore};
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(informes, QStringList{"EditKeyCode:" + QString::number(err::Unspecified)});
  EXPECT_EQ(filas(), "1.1.01.001|Caja|1.1.01.091|\n1.1.01.002|Banco Nación|1.1.01.092|\n|||");
}

TEST_F(Importacion, ArchivoEnLaPaginaDeCodigosAnsi) {
  val.cuentas.insert("Ñ1", "Cuenta eñe");
  const QString ruta = archivo("\xd1"
                               "1,\xd1"
                               "2\r\n");
  esperarInicio(ruta);
  CmdBuscar_Click(hoja, dialogo);
  EXPECT_EQ(filas(), "Ñ1|Cuenta eñe|Ñ2|\n|||");
}

} // namespace
