// The recode sheet driven as the operator drives it: keys, typing, clicks and
// focus moves, with a rule-based validation and scripted messages.
#include "app/HojaRecodificacion.h"
#include "app_hoja_dobles.h"

#include <gtest/gtest.h>

using namespace zv;
using namespace zv::app;
using zv::test::UiConFallas;
using zv::test::ValidadorPrueba;

namespace {

const int kOk = vb::OKOnly + vb::Critical;
const QString kAviso = "Aviso al operador";

class Hoja : public ::testing::Test {
protected:
  UiConFallas ui;
  ValidadorPrueba val{ui};
  // 7 units per character plus 1, so each width shows its count of X's.
  HojaRecodificacion hoja{ui, val, [](const QString &t) { return int(t.size()) * 7 + 1; }};
  zv::test::InformeGuion guion;

  void SetUp() override {
    val.cuentas = {{"1.1.01.001", "Caja"},
                   {"1.1.01.002", "Banco Nación"},
                   {"2.1.01.001", "Proveedores"},
                   {"4000", "Ventas"}};
    hoja.SeparadorDecimal = [] { return QStringLiteral(","); };
    hoja.InformarError = guion.funcion();
    hoja.InicializaGrid2();
    hoja.darFocoGrilla();
  }

  // No key routine of these flows may fail.
  void TearDown() override { EXPECT_EQ(guion.informes.join(", ").toStdString(), ""); }

  Grilla &g() { return hoja.MSFlexGrid1; }
  std::string celda(int r, int c) { return g().TextMatrix(r, c).toStdString(); }
  std::string fila(int r) {
    QStringList l;
    for (int c = 0; c < g().Cols(); ++c)
      l << g().TextMatrix(r, c);
    return l.join('|').toStdString();
  }
  // Click on a cell, type, press a key in the editor.
  void escribir(int r, int c, const QString &texto, int tecla = vb::KeyReturn) {
    hoja.clicCelda(r, c);
    hoja.teclear(texto);
    hoja.teclaEditor(tecla);
  }
};

TEST_F(Hoja, InicializarDejaEncabezadosAnchosYUnaFilaVacia) {
  g().setRows(5);
  g().setTextMatrix(3, 2, "x");
  hoja.ModoDestino = 1;
  hoja.InicializaGrid2();
  EXPECT_EQ(g().Rows(), 2);
  EXPECT_EQ(fila(0), "Codigo|Descripcion|Codigo Nuevo|Sucursal");
  EXPECT_EQ(fila(1), "|||");
  EXPECT_EQ(g().ColWidth(0), 141);
  EXPECT_EQ(g().ColWidth(1), 211);
  EXPECT_EQ(g().ColWidth(2), 106);
  EXPECT_EQ(g().ColWidth(3), 29);
  EXPECT_EQ(hoja.ModoDestino, 3);
}

TEST_F(Hoja, PropiedadesDelEditorPorColumna) {
  struct {
    int col;
    const char *campo, *tag;
    int largo;
  } casos[] = {
      {0, "Codigo", "MA_CUENTAS", 15}, {2, "CodigoNVO", "MA_CUENTAS", 15}, {3, "SucursalNVA", "", 0}};
  for (const auto &c : casos) {
    EditorCelda e;
    e.Tag = "previo";
    e.MaxLength = 99;
    hoja.textpropiedades(e, c.col);
    EXPECT_EQ(e.DataField.toStdString(), c.campo) << c.col;
    EXPECT_EQ(e.Tag.toStdString(), c.tag) << c.col;
    EXPECT_EQ(e.MaxLength, c.largo) << c.col;
  }
  // The description column clears the field only; any other column changes nothing.
  EditorCelda e;
  e.DataField = "Codigo";
  e.Tag = "MA_CUENTAS";
  e.MaxLength = 15;
  hoja.textpropiedades(e, 1);
  EXPECT_EQ(e.DataField.toStdString(), "");
  EXPECT_EQ(e.Tag.toStdString(), "MA_CUENTAS");
  EXPECT_EQ(e.MaxLength, 15);
  e.DataField = "Codigo";
  hoja.textpropiedades(e, 4);
  EXPECT_EQ(e.DataField.toStdString(), "Codigo");
}

TEST_F(Hoja, AbrirElEditorSegunLaTecla) {
  g().setTextMatrix(1, 0, "1.1.01.001");
  hoja.gColorFondo = 0xFFFF00;
  hoja.gColorLetra = 0x800000;
  // Enter, Backspace and the blank open with the cell's text, caret after it.
  for (int tecla : {13, 8, 32, 0}) {
    hoja.darFocoGrilla();
    hoja.txtedit.Visible = false;
    hoja.MSFlexGrid1_KeyPress(tecla);
    EXPECT_TRUE(hoja.txtedit.Visible) << tecla;
    EXPECT_EQ(hoja.txtedit.Text.toStdString(), "1.1.01.001") << tecla;
    EXPECT_EQ(hoja.txtedit.SelStart, 10) << tecla;
  }
  EXPECT_EQ(hoja.foco(), HojaRecodificacion::Foco::Editor);
  EXPECT_EQ(hoja.txtedit.BackColor, 0xFFFF00);
  EXPECT_EQ(hoja.txtedit.ForeColor, 0x800000);
  EXPECT_EQ(hoja.ControlActivo, &hoja.txtedit);
  EXPECT_EQ(hoja.txtedit.DataField.toStdString(), "Codigo");

  // A typed character replaces the text.
  hoja.darFocoGrilla();
  EXPECT_EQ(celda(1, 0), "1.1.01.001");
  int a = 'Z';
  hoja.MSFlexGrid1_KeyPress(a);
  EXPECT_EQ(hoja.txtedit.Text.toStdString(), "Z");
  EXPECT_EQ(hoja.txtedit.SelStart, 1);
}

TEST_F(Hoja, ElEditorSePosaSobreLaCelda) {
  g().setRows(6);
  hoja.moverA(3, 2);
  hoja.MSFlexGrid1_DblClick();
  const EditorCelda &e = hoja.txtedit;
  EXPECT_EQ(e.Left, g().Left + 141 + 211);
  EXPECT_EQ(e.Top, g().Top + 3 * g().RowHeight);
  EXPECT_EQ(e.Width, 106);
  EXPECT_EQ(e.Height, g().RowHeight);
}

TEST_F(Hoja, LaDescripcionNoSeEdita) {
  g().setTextMatrix(1, 1, "Caja");
  hoja.clicCelda(1, 1);
  hoja.teclaGrilla(65, 'A');
  hoja.MSFlexGrid1_DblClick();
  EXPECT_FALSE(hoja.txtedit.Visible);
  EXPECT_EQ(celda(1, 1), "Caja");
}

TEST_F(Hoja, EnterEnCodigoValidaYPasaACodigoNuevo) {
  escribir(1, 0, "1.1.01.001");
  EXPECT_EQ(fila(1), "1.1.01.001|Caja||");
  EXPECT_EQ(g().Row(), 1);
  EXPECT_EQ(g().Col(), 2);
  EXPECT_FALSE(hoja.txtedit.Visible);
  EXPECT_EQ(hoja.foco(), HojaRecodificacion::Foco::Grilla);
  EXPECT_EQ(val.llamadas, QStringList{"Codigo=1.1.01.001"});
  EXPECT_EQ(ui.doEventsCount, 1);
}

TEST_F(Hoja, EnterEnCodigoNuevoDeLaUltimaFilaAgregaUnaFila) {
  escribir(1, 0, "1.1.01.001");
  hoja.teclear("4099");
  hoja.teclaEditor(vb::KeyReturn);
  EXPECT_EQ(fila(1), "1.1.01.001|Caja|4099|");
  EXPECT_EQ(g().Rows(), 3);
  EXPECT_EQ(g().Row(), 2);
  EXPECT_EQ(g().Col(), 0);
}

TEST_F(Hoja, EnterEnCodigoNuevoDeUnaFilaIntermediaBajaSinAgregar) {
  g().setRows(4);
  escribir(1, 2, "4099");
  EXPECT_EQ(g().Rows(), 4);
  EXPECT_EQ(g().Row(), 2);
  EXPECT_EQ(g().Col(), 0);
}

TEST_F(Hoja, EnterEnSucursalDejaLaCeldaActual) {
  escribir(1, 3, "12");
  EXPECT_EQ(celda(1, 3), "12");
  EXPECT_EQ(g().Row(), 1);
  EXPECT_EQ(g().Col(), 3);
  EXPECT_EQ(g().Rows(), 2);
}

TEST_F(Hoja, EscapeDescartaLoEscrito) {
  g().setTextMatrix(1, 3, "7");
  escribir(1, 3, "99", vb::KeyEscape);
  EXPECT_EQ(celda(1, 3), "7");
  EXPECT_FALSE(hoja.txtedit.Visible);
  EXPECT_EQ(hoja.foco(), HojaRecodificacion::Foco::Grilla);
}

TEST_F(Hoja, ArribaYAbajo) {
  g().setRows(4);
  escribir(2, 3, "5", vb::KeyDown);
  EXPECT_EQ(celda(2, 3), "5");
  EXPECT_EQ(g().Row(), 3);
  EXPECT_EQ(g().Col(), 0);
  // On the last row Down stays.
  escribir(3, 3, "6", vb::KeyDown);
  EXPECT_EQ(g().Row(), 3);
  EXPECT_EQ(g().Col(), 3);
  escribir(3, 3, "8", vb::KeyUp);
  EXPECT_EQ(celda(3, 3), "8");
  EXPECT_EQ(g().Row(), 2);
  EXPECT_EQ(g().Col(), 3);
  // Not above the first data row.
  escribir(1, 3, "1", vb::KeyUp);
  EXPECT_EQ(g().Row(), 1);
}

TEST_F(Hoja, ValorRechazadoQuedaEnElEditorAbierto) {
  ui.expectMsg("El Codigo Informado no existe", kOk, kAviso, vb::OK);
  escribir(1, 0, "9.9.99");
  EXPECT_TRUE(hoja.HayError);
  EXPECT_TRUE(hoja.txtedit.Visible);
  EXPECT_EQ(hoja.txtedit.Text.toStdString(), "9.9.99");
  EXPECT_EQ(hoja.foco(), HojaRecodificacion::Foco::Editor);
  EXPECT_EQ(celda(1, 0), "");
  EXPECT_EQ(g().Col(), 0);
}

TEST_F(Hoja, ClicTrasUnRechazoValidaDeNuevoYDescarta) {
  g().setRows(3);
  g().setTextMatrix(1, 0, "1.1.01.002");
  ui.expectMsg("El Codigo Informado no existe", kOk, kAviso, vb::OK);
  hoja.clicCelda(1, 0);
  hoja.teclear("9.9.99");
  hoja.teclaEditor(vb::KeyReturn);
  // The operator clicks another cell: the same validation refuses again and
  // the cell keeps its former value.
  ui.expectMsg("El Codigo Informado no existe", kOk, kAviso, vb::OK);
  hoja.clicCelda(2, 3);
  EXPECT_EQ(celda(1, 0), "1.1.01.002");
  EXPECT_FALSE(hoja.txtedit.Visible);
  EXPECT_EQ(g().Row(), 2);
  EXPECT_EQ(g().Col(), 3);
  EXPECT_EQ(val.llamadas, (QStringList{"Codigo=9.9.99", "Codigo=9.9.99"}));
}

TEST_F(Hoja, ClicConUnValorNoConfirmadoLoValidaYLoEscribe) {
  g().setRows(3);
  hoja.clicCelda(1, 0);
  hoja.teclear("1.1.01.001");
  hoja.clicCelda(2, 0);
  EXPECT_EQ(fila(1), "1.1.01.001|Caja||");
  EXPECT_EQ(val.llamadas, QStringList{"Codigo=1.1.01.001"});
  EXPECT_FALSE(hoja.txtedit.Visible);
}

TEST_F(Hoja, NuevoCodigoExistenteRechazadoAlSalirPorClicNoLlegaALaCelda) {
  g().setRows(3);
  ui.expectMsg("Atención, el codigo nuevo ya existe..., esta seguro de utilizar esta cuenta? ",
               vb::YesNo + vb::Question, kAviso, vb::No);
  ui.expectMsg("El Código de Cuenta Nuevo ya Existe", kOk, kAviso, vb::OK);
  hoja.clicCelda(1, 2);
  hoja.teclear("4000");
  hoja.darFocoOtro(); // e.g. the toolbar or the SQL box
  EXPECT_EQ(celda(1, 2), "");
  EXPECT_FALSE(hoja.txtedit.Visible);
  EXPECT_EQ(hoja.ModoDestino, 3);
}

TEST_F(Hoja, FocoAOtroControlEscribeUnValorAceptado) {
  hoja.clicCelda(1, 3);
  hoja.teclear("4");
  hoja.darFocoOtro();
  EXPECT_EQ(celda(1, 3), "4");
  EXPECT_FALSE(hoja.txtedit.Visible);
  // Coming back to the grid writes nothing more.
  hoja.darFocoGrilla();
  EXPECT_EQ(val.llamadas, QStringList{"SucursalNVA=4"});
}

TEST_F(Hoja, TeclaDeSalidaSinMovimientoNoValidaDosVeces) {
  ui.expectMsg("Atención, el codigo nuevo ya existe..., esta seguro de utilizar esta cuenta? ",
               vb::YesNo + vb::Question, kAviso, vb::Yes);
  hoja.clicCelda(1, 2);
  hoja.teclear("4000");
  hoja.teclaEditor(vb::KeyTab); // ends the field but moves nowhere
  EXPECT_TRUE(hoja.txtedit.Visible);
  hoja.darFocoOtro();
  EXPECT_EQ(celda(1, 2), "4000");
  EXPECT_EQ(val.llamadas, QStringList{"CodigoNVO=4000"});
  // A text changed after the exit key is validated again.
  hoja.clicCelda(1, 3);
  hoja.teclear("7");
  hoja.teclaEditor(vb::KeyTab);
  hoja.teclear("8");
  hoja.clicCelda(1, 0);
  EXPECT_EQ(celda(1, 3), "78");
  EXPECT_EQ(val.llamadas, (QStringList{"CodigoNVO=4000", "SucursalNVA=7", "SucursalNVA=78"}));
}

TEST_F(Hoja, CodigoActualVacioVaciaLaFila) {
  g().setTextMatrix(1, 0, "1.1.01.001");
  g().setTextMatrix(1, 1, "Caja");
  g().setTextMatrix(1, 2, "1.1.01.099");
  g().setTextMatrix(1, 3, "2");
  hoja.clicCelda(1, 0);
  int enter = vb::KeyReturn;
  hoja.MSFlexGrid1_KeyPress(enter); // opens with the cell's text
  hoja.teclear(QString(10, QChar(8)));
  EXPECT_EQ(hoja.txtedit.Text.toStdString(), "");
  hoja.teclaEditor(vb::KeyReturn);
  EXPECT_EQ(fila(1), "|||");
}

TEST_F(Hoja, SuprimirEnLaUnicaFilaLaVacia) {
  g().setTextMatrix(1, 0, "1.1.01.001");
  g().setTextMatrix(1, 2, "1.1.01.099");
  hoja.teclaGrilla(vb::KeyDelete);
  EXPECT_EQ(g().Rows(), 2);
  EXPECT_EQ(fila(1), "|||");
}

TEST_F(Hoja, SuprimirConVariasFilasQuitaLaActual) {
  g().setRows(4);
  for (int r = 1; r < 4; ++r)
    g().setTextMatrix(r, 0, QString("A%1").arg(r));
  hoja.clicCelda(2, 0);
  hoja.teclaGrilla(vb::KeyDelete);
  EXPECT_EQ(g().Rows(), 3);
  EXPECT_EQ(celda(1, 0), "A1");
  EXPECT_EQ(celda(2, 0), "A3");
}

TEST_F(Hoja, InsertarAgregaUnaFilaVaciaEnLaActual) {
  g().setRows(3);
  g().setTextMatrix(1, 0, "A1");
  g().setTextMatrix(2, 0, "A2");
  hoja.clicCelda(2, 0);
  hoja.teclaGrilla(vb::KeyInsert);
  EXPECT_EQ(g().Rows(), 4);
  EXPECT_EQ(celda(1, 0), "A1");
  EXPECT_EQ(celda(2, 0), "");
  EXPECT_EQ(celda(3, 0), "A2");
  EXPECT_EQ(g().Row(), 2);
}

TEST_F(Hoja, FinEnviaTab) {
  hoja.teclaGrilla(vb::KeyEnd);
  EXPECT_EQ(ui.sendTabCount, 1);
}

TEST_F(Hoja, FlechasDeLaGrillaMuevenLaCeldaSinAbrirElEditor) {
  g().setRows(3);
  hoja.teclaGrilla(vb::KeyRight);
  hoja.teclaGrilla(vb::KeyDown);
  EXPECT_EQ(g().Row(), 2);
  EXPECT_EQ(g().Col(), 1);
  hoja.teclaGrilla(vb::KeyDown);
  EXPECT_EQ(g().Row(), 2);
  EXPECT_FALSE(hoja.txtedit.Visible);
}

TEST_F(Hoja, SeparadorDelTecladoFueraDeLaPrimeraColumna) {
  hoja.clicCelda(1, 3);
  hoja.teclear("1.5.7,2");
  EXPECT_EQ(hoja.txtedit.Text.toStdString(), "1,572");
  hoja.teclaEditor(vb::KeyEscape);
  // In both code columns full stops and commas stay as typed, so a dotted
  // account code can be entered as the new code too (Escape is an exit
  // key, so the text must pass the validation).
  // (a current code that exists, a new code that does not).
  for (const auto &[col, codigo] : {std::pair{0, "1.1.01.002"}, std::pair{2, "1.1.01.099"}}) {
    hoja.clicCelda(1, col);
    hoja.teclear(codigo);
    EXPECT_EQ(hoja.txtedit.Text.toStdString(), codigo) << col;
    hoja.teclaEditor(vb::KeyEscape);
  }
  hoja.clicCelda(1, 2);
  hoja.teclear("3,4");
  EXPECT_EQ(hoja.txtedit.Text.toStdString(), "3,4");
  hoja.teclaEditor(vb::KeyEscape);
}

TEST_F(Hoja, LargoMaximoDelCodigoYSucursalSinLimite) {
  hoja.clicCelda(1, 3);
  hoja.teclear("1234567890ABCDEFGHIJ");
  EXPECT_EQ(hoja.txtedit.Text.size(), 20);
  hoja.teclaEditor(vb::KeyEscape);
  hoja.clicCelda(1, 0);
  hoja.teclear("1234567890ABCDEFGHIJ");
  EXPECT_EQ(hoja.txtedit.Text.toStdString(), "1234567890ABCDE");
}

TEST_F(Hoja, LaCeldaActualSeMantieneALaVista) {
  // Room for the header and three rows.
  g().Height = 4 * g().RowHeight;
  for (int r = 1; r <= 4; ++r) {
    escribir(r, 0, "1.1.01.001");
    hoja.teclear("4099");
    hoja.teclaEditor(vb::KeyReturn);
    EXPECT_EQ(g().TopRow(), r < 3 ? 1 : r - 1) << r;
  }
  EXPECT_EQ(g().Row(), 5);
  EXPECT_LE(g().CellTop() + g().CellHeight(), g().Height);
}

TEST_F(Hoja, TeclaDeSalidaDelServicioDeTeclado) {
  // Letters do not end the editing; Enter does.
  hoja.clicCelda(1, 3);
  hoja.teclear("4");
  hoja.teclaEditor(65);
  EXPECT_TRUE(hoja.txtedit.Visible);
  EXPECT_TRUE(val.llamadas.isEmpty());
  hoja.teclaEditor(vb::KeyReturn);
  EXPECT_EQ(celda(1, 3), "4");
}

} // namespace
