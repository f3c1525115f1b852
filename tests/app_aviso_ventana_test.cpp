// The notice's Qt window, offscreen: layout, animation, cancel state, window
// order and opacity, and the notice object driving it.
#include "app/Dll_Display.h"
#include "app/Lbf_CtrlDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QWindow>

using zv::app::Dll_Display;
using zv::app::Lbf_CtrlDisplay;

namespace {

// Kept until the process ends: Qt Test's input devices are released at exit
// and need the application still there.
QApplication &aplicacion() {
  static int argc = 1;
  static char nombre[] = "app_aviso_ventana_test";
  static char *argv[] = {nombre, nullptr};
  static QApplication *app = new QApplication(argc, argv);
  return *app;
}

class VentanaTest : public ::testing::Test {
protected:
  void SetUp() override { aplicacion(); }

  static Lbf_CtrlDisplay &ventanaDe(Dll_Display &aviso) {
    auto *v = dynamic_cast<Lbf_CtrlDisplay *>(aviso.vista());
    EXPECT_NE(v, nullptr) << "with a QApplication the notice is the Qt window";
    return *v;
  }
  static bool mismaImagen(const QImage &a, const QImage &b) {
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
  }
  static QString lineas(const Lbf_CtrlDisplay &v) {
    return v.LblCtrol(0)->text() + "|" + v.LblCtrol(1)->text() + "|" + v.LblCtrol(2)->text();
  }
};

TEST_F(VentanaTest, LayoutFollowsTheDesignAt15TwipsPerPixel) {
  Lbf_CtrlDisplay v;
  EXPECT_EQ(v.size(), QSize(523, 186));
  EXPECT_EQ(v.windowTitle(), QStringLiteral("Procesando Datos"));
  EXPECT_EQ(v.palette().color(QPalette::Window), QColor(Qt::white));
  const int arribas[] = {8, 32, 56};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    QLabel *l = v.LblCtrol(i);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l, v.findChild<QLabel *>(QStringLiteral("LblCtrol%1").arg(i)));
    EXPECT_EQ(l->property("Index").toInt(), i);
    EXPECT_EQ(l->geometry(), QRect(0, arribas[i], 521, 19));
    EXPECT_TRUE(l->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(l->font().bold());
    EXPECT_EQ(l->font().pointSize(), 12);
    EXPECT_EQ(l->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(l->text().isEmpty());
  }
  EXPECT_EQ(v.LblCtrol(3), nullptr);
  EXPECT_EQ(v.LblCtrol(-1), nullptr);
  EXPECT_EQ(v.Image1()->geometry(), QRect(232, 88, 73, 65));
  EXPECT_EQ(v.CmdDisplayCancelar()->geometry(), QRect(208, 160, 113, 25));
  EXPECT_EQ(v.Timer1()->interval(), 100);
  EXPECT_TRUE(v.Timer1()->isActive());
}

TEST_F(VentanaTest, LoadCentresResetsTheCaptionShowsFrameOneAndSetsOpacity) {
  Lbf_CtrlDisplay v;
  const QRect pantalla = v.screen()->geometry();
  EXPECT_EQ(v.frameGeometry().left(), pantalla.left() + (pantalla.width() - v.frameGeometry().width()) / 2);
  EXPECT_EQ(v.frameGeometry().top(), pantalla.top() + (pantalla.height() - v.frameGeometry().height()) / 2);
  EXPECT_EQ(v.CmdDisplayCancelar()->text(), QStringLiteral("&Cancelar"));
  EXPECT_EQ(v.cuadroMostrado(), 1);
  EXPECT_EQ(v.contador(), 0);
  EXPECT_TRUE(mismaImagen(v.Image1()->pixmap().toImage(), v.ImageList1().at(0)));
  EXPECT_EQ(qRound(v.windowOpacity() * 255), 200);
  EXPECT_TRUE(v.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(v.windowFlags() & Qt::Tool);
  EXPECT_FALSE(v.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(VentanaTest, TwelveDistinctFramesOfTheImageSize) {
  Lbf_CtrlDisplay v;
  const QList<QImage> &cuadros = v.ImageList1();
  ASSERT_EQ(cuadros.size(), 12);
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(cuadros[i].size(), v.Image1()->size());
    // Something is drawn on the white background.
    bool dibujado = false;
    for (int y = 0; y < cuadros[i].height() && !dibujado; ++y)
      for (int x = 0; x < cuadros[i].width() && !dibujado; ++x)
        dibujado = cuadros[i].pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(dibujado);
    for (int k = 0; k < i; ++k)
      EXPECT_FALSE(mismaImagen(cuadros[i], cuadros[k])) << "same as frame " << k + 1;
  }
}

// Ticks show frames 1..12 in turn and wrap: the first tick after the load
// shows frame 1 again, the counter goes back to 0 on reaching 12.
TEST_F(VentanaTest, TimerTicksCycleThroughTheTwelveFrames) {
  Lbf_CtrlDisplay v;
  v.Timer1()->stop(); // driven by hand
  for (int tic = 1; tic <= 30; ++tic) {
    v.Timer1_Timer();
    const int esperado = (tic - 1) % 12 + 1;
    ASSERT_EQ(v.cuadroMostrado(), esperado) << "tick " << tic;
    ASSERT_EQ(v.contador(), esperado % 12) << "tick " << tic;
    ASSERT_TRUE(mismaImagen(v.Image1()->pixmap().toImage(), v.ImageList1().at(esperado - 1)))
        << "tick " << tic;
  }
}

TEST_F(VentanaTest, TheRunningTimerIsWiredToTheTick) {
  Lbf_CtrlDisplay v;
  // Due at once: the next pass of the event loop fires it.
  v.Timer1()->setInterval(0);
  v.Timer1()->start();
  for (int i = 0; i < 100 && v.contador() == 0; ++i)
    QCoreApplication::processEvents();
  EXPECT_GE(v.contador(), 1);
}

TEST_F(VentanaTest, InicioShowsTitleAndButtonModeless) {
  Dll_Display aviso;
  aviso.CartelInicio("Conectando Base de Datos", true);
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  EXPECT_TRUE(v.isVisible());
  EXPECT_FALSE(v.isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(v.windowTitle(), QStringLiteral("Conectando Base de Datos"));
  EXPECT_TRUE(v.CmdDisplayCancelar()->isVisible());
  aviso.CartelCerrar();
}

TEST_F(VentanaTest, MostrarWithOnlyL1ChangesLineZero) {
  Dll_Display aviso;
  aviso.CartelInicio("T", false);
  bool cancelado = true;
  aviso.CartelMostrar(cancelado, QVariant("Iniciando Aplicacion"), QVariant("recodificador"),
                      QVariant("Espere por favor"));
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  EXPECT_EQ(lineas(v), QStringLiteral("Iniciando Aplicacion|recodificador|Espere por favor"));
  EXPECT_FALSE(cancelado);
  aviso.CartelMostrar(cancelado, QVariant("Otra"));
  EXPECT_EQ(lineas(v), QStringLiteral("Otra|recodificador|Espere por favor"));
  aviso.CartelMostrar(cancelado, std::nullopt, QVariant());
  EXPECT_EQ(lineas(v), QStringLiteral("Otra||Espere por favor"));
  aviso.CartelCerrar();
}

TEST_F(VentanaTest, WithoutCancelTheButtonIsHiddenAndNeverCancels) {
  Dll_Display aviso;
  aviso.CartelInicio("T", false);
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  EXPECT_FALSE(v.CmdDisplayCancelar()->isVisible());
  v.CmdDisplayCancelar()->click(); // a stray programmatic click
  QTest::keyClick(&v, Qt::Key_C, Qt::AltModifier);
  bool cancelado = true;
  aviso.CartelMostrar(cancelado);
  EXPECT_FALSE(cancelado);
  EXPECT_EQ(v.CmdDisplayCancelar()->text(), QStringLiteral("&Cancelar"));
  aviso.CartelCerrar();
}

TEST_F(VentanaTest, AClickCancelsUntilTheNoticeIsClosed) {
  Dll_Display aviso;
  aviso.CartelInicio("T", true);
  bool cancelado = true;
  aviso.CartelMostrar(cancelado, QVariant("antes"));
  EXPECT_FALSE(cancelado);
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  QTest::mouseClick(v.CmdDisplayCancelar(), Qt::LeftButton);
  EXPECT_EQ(v.CmdDisplayCancelar()->text(), QStringLiteral("Abortado"));
  for (int i = 0; i < 3; ++i) {
    cancelado = false;
    aviso.CartelMostrar(cancelado, QVariant(i));
    EXPECT_TRUE(cancelado) << i;
  }
  // Opening again while open keeps the same window, so still cancelled.
  aviso.CartelInicio("T", true);
  aviso.CartelMostrar(cancelado);
  EXPECT_TRUE(cancelado);

  aviso.CartelCerrar();
  EXPECT_FALSE(aviso.cargado());
  aviso.CartelInicio("T", true);
  aviso.CartelMostrar(cancelado);
  EXPECT_FALSE(cancelado) << "a fresh notice starts not cancelled";
  EXPECT_TRUE(lineas(ventanaDe(aviso)) == "||");
  aviso.CartelCerrar();
}

// A click waiting in the event queue is seen by the yield of CartelMostrar
// on the following call.
TEST_F(VentanaTest, APendingClickIsHandledByTheYield) {
  Dll_Display aviso;
  aviso.CartelInicio("T", true);
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  QMetaObject::invokeMethod(v.CmdDisplayCancelar(), "click", Qt::QueuedConnection);
  bool cancelado = true;
  aviso.CartelMostrar(cancelado);
  EXPECT_FALSE(cancelado) << "read before the yield";
  aviso.CartelMostrar(cancelado);
  EXPECT_TRUE(cancelado);
  aviso.CartelCerrar();
}

TEST_F(VentanaTest, CerrarHidesAndDestroysTheWindow) {
  Dll_Display aviso;
  aviso.CartelInicio("T", false);
  QPointer<QWidget> w = &ventanaDe(aviso);
  aviso.CartelCerrar();
  EXPECT_TRUE(w.isNull());
  EXPECT_NO_THROW(aviso.CartelCerrar());
  for (QWidget *t : QApplication::topLevelWidgets())
    EXPECT_EQ(qobject_cast<Lbf_CtrlDisplay *>(t), nullptr) << "a notice window was left behind";
}

TEST_F(VentanaTest, SiempreVisibleTogglesTopmostWithoutMovingOrHiding) {
  Dll_Display aviso;
  aviso.CartelInicio("T", false);
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  const QRect antes = v.geometry();
  aviso.Siempre_Visible(false);
  EXPECT_FALSE(v.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(v.isVisible());
  EXPECT_EQ(v.geometry(), antes);
  aviso.Siempre_Visible(true);
  EXPECT_TRUE(v.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(v.isVisible());
  EXPECT_EQ(v.geometry(), antes);
  EXPECT_EQ(qRound(v.windowOpacity() * 255), 200);
  aviso.CartelCerrar();
}

TEST_F(VentanaTest, SiempreVisibleOnAClosedNoticeLoadsItHidden) {
  Dll_Display aviso;
  aviso.Siempre_Visible(false);
  ASSERT_TRUE(aviso.cargado());
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  EXPECT_FALSE(v.isVisible());
  EXPECT_FALSE(v.windowFlags() & Qt::WindowStaysOnTopHint);
  aviso.CartelInicio("T", false);
  EXPECT_TRUE(v.isVisible());
  EXPECT_FALSE(v.windowFlags() & Qt::WindowStaysOnTopHint) << "the order chosen is kept";
  aviso.CartelCerrar();
}

TEST_F(VentanaTest, TheWindowSystemCannotCloseTheNotice) {
  Dll_Display aviso;
  aviso.CartelInicio("T", false);
  Lbf_CtrlDisplay &v = ventanaDe(aviso);
  ASSERT_NE(v.windowHandle(), nullptr);
  v.windowHandle()->close(); // as the window manager's close
  QCoreApplication::processEvents();
  EXPECT_TRUE(v.isVisible());
  EXPECT_TRUE(aviso.cargado());
  aviso.CartelCerrar();
}

} // namespace
