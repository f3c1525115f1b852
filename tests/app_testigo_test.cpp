// The witness page, byte for byte, and the way it is opened.
#include "app/Testigo.h"
#include "app_hoja_dobles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv;
using namespace zv::app;

namespace {

class Testigo : public ::testing::Test {
protected:
  zv::test::ScriptedUi ui;
  zv::test::ValidadorPrueba val{ui};
  HojaRecodificacion hoja{ui, val};
  QTemporaryDir dir;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    hoja.InicializaGrid2();
  }
  void filaDatos(int r, const QStringList &celdas) {
    if (hoja.MSFlexGrid1.Rows() <= r)
      hoja.MSFlexGrid1.setRows(r + 1);
    for (int c = 0; c < celdas.size(); ++c)
      hoja.MSFlexGrid1.setTextMatrix(r, c, celdas[c]);
  }
  QByteArray leer(const QString &ruta) {
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
};

TEST_F(Testigo, PaginaDeDosParesByteAByte) {
  // Two pairs typed and the empty row that typing leaves at the end.
  filaDatos(1, {"1.1.01.001", "Caja", "1.1.01.099", ""});
  filaDatos(2, {" 1.1.01.002 ", "Banco Nación cuenta corriente", "1.1.01.098", "3"});
  filaDatos(3, {"", "", "", ""});
  const QString archivo = dir.filePath("testigo.htm");
  GeneraTestigo(hoja, archivo, "/opt/recodificador", "Recodificador de Cuentas");

  const QByteArray nb6 = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
  QList<QByteArray> lineas = {
      "<html>",
      "",
      "</head>",
      "",
      "<body background=\"/opt/recodificador/stone.jpg\" text=\"navy\">",
      "<br>",
      "<H1 ALIGN = CENTER>Recodificador de Cuentas</H1>",
      "<HR>",
      "<br>",
      "<br>",
      "<TABLE Border=2 ALIGN = CENTER>",
      "<TR>",
      "<TH bgcolor = \"yellow\">" + nb6 + "Codigo" + nb6,
      "<TH bgcolor = \"yellow\">" + nb6 + "Descripcion" + nb6,
      "<TH bgcolor = \"yellow\">" + nb6 + "Codigo Nuevo" + nb6,
      "<TH bgcolor = \"yellow\">" + nb6 + "Sucursal" + nb6,
      "<TR> <TD>1.1.01.001<TD>Caja<TD>1.1.01.099<TD>&nbsp",
      "<TR> <TD>1.1.01.002<TD>Banco Naci\xf3n cuenta corriente<TD>1.1.01.098<TD>3",
      "<TR> <TD>&nbsp<TD>&nbsp<TD>&nbsp<TD>&nbsp",
      "</TABLE>",
      "</BODY>",
      "</HTML>",
  };
  QByteArray esperado;
  for (const QByteArray &l : lineas)
    esperado += l + "\r\n";
  EXPECT_EQ(leer(archivo), esperado);
  // The walk through the cells ends on the last one.
  EXPECT_EQ(hoja.MSFlexGrid1.Row(), 3);
  EXPECT_EQ(hoja.MSFlexGrid1.Col(), 3);
}

TEST_F(Testigo, CeldasSinEscaparYBlancosComoEspacio) {
  filaDatos(1, {"A<1", "Gastos & varios", "   ", "  "});
  const QString archivo = dir.filePath("t.htm");
  // An existing file is replaced.
  {
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'z'));
  }
  GeneraTestigo(hoja, archivo, "/p", "T");
  const QByteArray t = leer(archivo);
  EXPECT_TRUE(t.contains("\r\n<TR> <TD>A<1<TD>Gastos & varios<TD>&nbsp<TD>&nbsp\r\n</TABLE>\r\n"));
  EXPECT_FALSE(t.contains('z'));
  EXPECT_TRUE(t.endsWith("</HTML>\r\n"));
}

TEST_F(Testigo, ArchivoQueNoSePuedeEscribirEsUnError) {
  try {
    GeneraTestigo(hoja, dir.filePath("no/existe/t.htm"), "/p", "T");
    FAIL() << "no error";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), 75);
  }
}

TEST(EspaciosHTML, Cantidades) {
  EXPECT_EQ(EspaciosHTML(0).toStdString(), "");
  EXPECT_EQ(EspaciosHTML(1).toStdString(), "&nbsp");
  EXPECT_EQ(EspaciosHTML(2).toStdString(), "&nbsp;&nbsp;");
  EXPECT_EQ(EspaciosHTML(6).toStdString(), "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");
}

TEST(AbreDocumento, ComillasYModoDeMostrar) {
  struct {
    const char *archivo, *abierto;
    bool oculto;
    int modo;
  } casos[] = {
      {"/tmp/testigo.htm", "/tmp/testigo.htm", true, 0},
      {"/tmp/mis testigos/t.htm", "\"/tmp/mis testigos/t.htm\"", true, 0},
      {"\"/tmp/mis testigos/t.htm\"", "\"/tmp/mis testigos/t.htm\"", false, 6},
  };
  for (const auto &c : casos) {
    zv::test::ScriptedUi ui;
    ui.expectOpenDocument(c.abierto);
    AbreDocumento(ui, c.archivo, c.oculto);
    EXPECT_EQ(ui.lastShowCode, c.modo) << c.archivo;
  }
}

} // namespace
