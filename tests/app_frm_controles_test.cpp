#include "app/FrmDIZavadodare.h"
#include "support/AplicacionQt.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace zv;
using zv::app::FrmDIZavadodare;

namespace {

class Controles : public ::testing::Test {
protected:
  test::ScriptedUi ui;
  test::FakeSistema sistema;
  std::unique_ptr<db::EntornoDB> entorno;
  std::unique_ptr<startup::ModuloGlobal> global;
  std::unique_ptr<FrmDIZavadodare> frm;
  void SetUp() override {
    test::aplicacionQt();
    entorno = std::make_unique<db::EntornoDB>(ui, sistema, ado::ConnectionFactory{});
    global = std::make_unique<startup::ModuloGlobal>(*entorno);
    frm = std::make_unique<FrmDIZavadodare>(*global);
  }
};

struct Posicion {
  const char *nombre;
  int left, top, width, height;
};

TEST_F(Controles, PosicionesEnTwipsA15PorPixel) {
  EXPECT_EQ(frm->windowTitle(), QString::fromUtf8("Recodificación de Cuentas Contables"));
  EXPECT_EQ(frm->size(), QSize(8025 / 15, 7515 / 15));
  for (const Posicion p :
       {Posicion{"UtilKit1", -120, 0, 8055, 975}, Posicion{"Label1", 75, 1035, 7785, 585},
        Posicion{"MSFlexGrid1", 15, 1695, 7920, 3600}, Posicion{"txtedit", 1110, 2085, 855, 285},
        Posicion{"CmdBuscar", 120, 5400, 1935, 255}, Posicion{"LblMuestra", 2250, 5400, 5100, 315},
        Posicion{"TxtSQL", 120, 5760, 7815, 1455}, Posicion{"ChkGeneraSentencia", 120, 7200, 5175, 255}}) {
    auto *w = frm->findChild<QWidget *>(p.nombre);
    ASSERT_NE(w, nullptr) << p.nombre;
    EXPECT_EQ(w->parentWidget(), frm.get()) << p.nombre;
    EXPECT_EQ(w->geometry(), QRect(p.left / 15, p.top / 15, p.width / 15, p.height / 15)) << p.nombre;
  }
}

TEST_F(Controles, TextosIniciales) {
  EXPECT_EQ(frm->Label1->text(),
            "Se recomienda no cambiar el codigo de una cuenta en bases de datos con muchos movimientos,este "
            "proceso puede demorar varios minutos, incluso horas dependiendo de la base.");
  EXPECT_EQ(frm->CmdBuscar->text(), "&Cargar Archivo");
  EXPECT_EQ(frm->LblMuestra->text(), "Label1");
  EXPECT_EQ(frm->TxtSQL->toPlainText(), "sql\n");
  EXPECT_EQ(frm->ChkGeneraSentencia->text(), "Solamente generar sentencia SQL ");
  EXPECT_FALSE(frm->ChkGeneraSentencia->isChecked());
  EXPECT_TRUE(frm->txtedit->isHidden());
  EXPECT_EQ(frm->MSFlexGrid1->columnCount(), 4);
  EXPECT_EQ(frm->MSFlexGrid1->rowCount(), 1);
  EXPECT_EQ(frm->TxtSQL->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(Controles, CartelMostrarEscribeLaLineaDeEstado) {
  frm->CartelMostrar("Procesando 1.1.01.001");
  EXPECT_EQ(frm->LblMuestra->text(), "Procesando 1.1.01.001");
  frm->CartelMostrar("");
  EXPECT_EQ(frm->LblMuestra->text(), "");
}

TEST_F(Controles, LasTeclasPasanPrimeroPorLaBarra) {
  QStringList pulsados;
  frm->UtilKit1->setBotonHabilitado("NUEVO", true);
  frm->UtilKit1->modelo().AlPulsar = [&](QString &b) { pulsados << b; };
  const int f2 = frm->UtilKit1->modelo().Tecla("NUEVO");
  ASSERT_NE(f2, 0);
  int codigo = f2;
  frm->Form_KeyDown(codigo, 0);
  EXPECT_EQ(codigo, 0);
  EXPECT_EQ(pulsados, QStringList{"NUEVO"});
  // A disabled button does not take its key.
  codigo = frm->UtilKit1->modelo().Tecla("GRABAR");
  frm->Form_KeyDown(codigo, 0);
  EXPECT_EQ(codigo, frm->UtilKit1->modelo().Tecla("GRABAR"));
  // A key pressed in a control reaches the window first.
  QKeyEvent tecla(QEvent::KeyPress, Qt::Key_F1 + (f2 - vb::KeyF1), Qt::NoModifier);
  QCoreApplication::sendEvent(frm->TxtSQL, &tecla);
  EXPECT_EQ(pulsados, (QStringList{"NUEVO", "NUEVO"}));
}

TEST_F(Controles, CodigosDeTecla) {
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_F1), 112);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_F12), 123);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_Return), 13);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_Enter), 13);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_Escape), 27);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_Down), 40);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_A), 65);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_9), 57);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_Delete), 46);
  EXPECT_EQ(FrmDIZavadodare::CodigoTeclaVb(Qt::Key_Shift), 0);
}

TEST_F(Controles, DecoraVentanaPoneElEstiloDeLaBarra) {
  global->gBarrasPlanas = 0;
  global->DecoraVentana(frm.get());
  EXPECT_EQ(frm->UtilKit1->StyleBar(), 0);
  global->gBarrasPlanas = 1;
  global->DecoraVentana(frm.get());
  EXPECT_EQ(frm->UtilKit1->StyleBar(), 1);
  // A window without such members is left alone.
  QWidget otra;
  global->DecoraVentana(&otra);
  global->DecoraVentana(nullptr);
  EXPECT_GE(ui.doEventsCount, 2);
}

} // namespace
