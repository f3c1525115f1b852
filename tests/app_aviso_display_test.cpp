// The notice object over a recording view: which steps reach the window,
// which failures are skipped and which reach the caller, and when a window
// is created and dropped. No QApplication exists in this program.
#include "app/AvisoHeadless.h"
#include "app/Dll_Display.h"
#include "platform/AppError.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

using zv::AppError;
using zv::app::Dll_Display;
using zv::app::VistaAviso;

namespace {

struct Registro {
  QStringList llamadas;
  QSet<QString> fallan; // operations that throw
  int creadas = 0;
  int destruidas = 0;
  QString leyenda = QStringLiteral("&Cancelar");
};

class VistaGrabadora : public VistaAviso {
public:
  explicit VistaGrabadora(Registro &r) : r_(r) { ++r_.creadas; }
  ~VistaGrabadora() override { ++r_.destruidas; }

  void ponerTitulo(const QString &t) override { paso(QStringLiteral("titulo=") + t, "titulo"); }
  void ponerCancelarVisible(bool v) override {
    paso(QStringLiteral("cancelar=") + (v ? "si" : "no"), "cancelar");
  }
  void mostrar() override { paso("mostrar", "mostrar"); }
  void ocultar() override { paso("ocultar", "ocultar"); }
  void ponerLinea(int i, const QString &t) override {
    paso(QStringLiteral("linea%1=[%2]").arg(i).arg(t), "linea");
  }
  void repintar() override { paso("repintar", "repintar"); }
  QString leyendaCancelar() const override {
    const_cast<VistaGrabadora *>(this)->paso("leyenda", "leyenda");
    return r_.leyenda;
  }
  void ceder() override { paso("ceder", "ceder"); }
  void ponerSiempreVisible(bool s) override { paso(QStringLiteral("encima=") + (s ? "si" : "no"), "encima"); }

private:
  void paso(const QString &llamada, const char *operacion) {
    r_.llamadas << llamada;
    if (r_.fallan.contains(QLatin1String(operacion)))
      throw AppError(zv::err::InvalidArgument, QStringLiteral("falla ") + operacion);
  }
  Registro &r_;
};

class DisplayTest : public ::testing::Test {
protected:
  Registro reg; // outlives the notice, whose window reports to it
  Dll_Display aviso{[this] { return std::make_unique<VistaGrabadora>(reg); }};
};

TEST_F(DisplayTest, InicioSetsTitleAndButtonThenShows) {
  aviso.CartelInicio("Conectando Base de Datos", false);
  EXPECT_EQ(reg.llamadas, QStringList({"titulo=Conectando Base de Datos", "cancelar=no", "mostrar"}));
  EXPECT_EQ(reg.creadas, 1);
  aviso.CartelInicio("Otra", true);
  EXPECT_EQ(reg.creadas, 1) << "the loaded window is reused";
  EXPECT_EQ(reg.llamadas.mid(3), QStringList({"titulo=Otra", "cancelar=si", "mostrar"}));
}

// Each failing step of CartelInicio is skipped and the later ones still run.
TEST_F(DisplayTest, InicioSkipsEachFailingStep) {
  for (const char *op : {"titulo", "cancelar", "mostrar"}) {
    SCOPED_TRACE(op);
    reg.llamadas.clear();
    reg.fallan = {QLatin1String(op)};
    EXPECT_NO_THROW(aviso.CartelInicio("T", true));
    EXPECT_EQ(reg.llamadas, QStringList({"titulo=T", "cancelar=si", "mostrar"}));
  }
}

TEST_F(DisplayTest, InicioSurvivesAWindowThatCannotBeCreated) {
  Dll_Display roto(
      []() -> std::unique_ptr<VistaAviso> { throw AppError(zv::err::InvalidArgument, "sin ventana"); });
  EXPECT_NO_THROW(roto.CartelInicio("T", false));
  EXPECT_FALSE(roto.cargado());
  bool cancelado = true;
  EXPECT_THROW(roto.CartelMostrar(cancelado, QVariant("x")), AppError);
}

TEST_F(DisplayTest, MostrarWritesOnlyTheGivenLinesInOrder) {
  aviso.CartelInicio("T", false);
  reg.llamadas.clear();
  bool cancelado = true;
  aviso.CartelMostrar(cancelado, QVariant("uno"));
  EXPECT_EQ(reg.llamadas, QStringList({"linea0=[uno]", "repintar", "leyenda", "ceder"}));
  EXPECT_FALSE(cancelado);

  reg.llamadas.clear();
  aviso.CartelMostrar(cancelado, std::nullopt, std::nullopt, QVariant("tres"));
  EXPECT_EQ(reg.llamadas, QStringList({"linea2=[tres]", "repintar", "leyenda", "ceder"}));
}

TEST_F(DisplayTest, MostrarWritesNullAsEmptyAndOtherValuesAsText) {
  bool cancelado = false;
  aviso.CartelMostrar(cancelado, QVariant(), QVariant(42), QVariant(QStringLiteral("Año")));
  EXPECT_EQ(reg.llamadas.mid(0, 3), QStringList({"linea0=[]", "linea1=[42]", "linea2=[Año]"}));
  reg.llamadas.clear();
  aviso.CartelMostrar(cancelado, QVariant(QString()), QVariant(2.5));
  EXPECT_EQ(reg.llamadas.mid(0, 2), QStringList({"linea0=[]", "linea1=[2.5]"}));
}

// Cancelado is the exact caption "Abortado", whatever it held before.
TEST_F(DisplayTest, CanceladoIsTheExactAbortedCaption) {
  struct Caso {
    const char *leyenda;
    bool inicial;
    bool esperado;
  } casos[] = {{"&Cancelar", true, false},
               {"Abortado", false, true},
               {"abortado", false, false},
               {"Abortado ", false, false},
               {"", true, false}};
  for (const auto &c : casos) {
    SCOPED_TRACE(c.leyenda);
    reg.leyenda = QString::fromUtf8(c.leyenda);
    bool cancelado = c.inicial;
    aviso.CartelMostrar(cancelado);
    EXPECT_EQ(cancelado, c.esperado);
  }
}

// CartelMostrar traps nothing: a failing step stops it and reaches the caller.
TEST_F(DisplayTest, MostrarFailuresReachTheCaller) {
  const QStringList todos = {"linea0=[a]", "linea1=[b]", "repintar", "leyenda", "ceder"};
  const struct {
    const char *op;
    int pasos; // calls made up to the failing one
  } casos[] = {{"linea", 1}, {"repintar", 3}, {"leyenda", 4}, {"ceder", 5}};
  for (const auto &c : casos) {
    SCOPED_TRACE(c.op);
    reg.llamadas.clear();
    reg.fallan = {QLatin1String(c.op)};
    reg.leyenda = "Abortado";
    bool cancelado = false;
    try {
      aviso.CartelMostrar(cancelado, QVariant("a"), QVariant("b"));
      ADD_FAILURE() << "no error reached the caller";
    } catch (const AppError &e) {
      EXPECT_EQ(e.description(), QStringLiteral("falla ") + c.op);
    }
    EXPECT_EQ(reg.llamadas, todos.mid(0, c.pasos)) << "steps after the failure ran";
  }
}

TEST_F(DisplayTest, MostrarWhileClosedCreatesAWindowWithoutShowingIt) {
  bool cancelado = true;
  aviso.CartelMostrar(cancelado, QVariant("x"));
  EXPECT_TRUE(aviso.cargado());
  EXPECT_EQ(reg.creadas, 1);
  EXPECT_FALSE(reg.llamadas.contains("mostrar"));
  EXPECT_FALSE(cancelado);
}

TEST_F(DisplayTest, CerrarHidesAndDropsTheWindowSoTheNextOneIsFresh) {
  aviso.CartelInicio("T", true);
  reg.llamadas.clear();
  aviso.CartelCerrar();
  EXPECT_EQ(reg.llamadas, QStringList({"ocultar"}));
  EXPECT_FALSE(aviso.cargado());
  EXPECT_EQ(reg.destruidas, 1);

  bool cancelado = false;
  aviso.CartelMostrar(cancelado, QVariant("x"));
  EXPECT_EQ(reg.creadas, 2);
}

TEST_F(DisplayTest, CerrarWhenClosedIsHarmless) {
  EXPECT_NO_THROW(aviso.CartelCerrar());
  EXPECT_NO_THROW(aviso.CartelCerrar());
  EXPECT_EQ(reg.creadas, 0);
  EXPECT_TRUE(reg.llamadas.isEmpty());
  aviso.CartelInicio("T", false);
  aviso.CartelCerrar();
  EXPECT_NO_THROW(aviso.CartelCerrar());
  EXPECT_EQ(reg.destruidas, 1);
}

TEST_F(DisplayTest, CerrarDropsTheWindowEvenWhenHidingFails) {
  aviso.CartelInicio("T", false);
  reg.fallan = {"ocultar"};
  EXPECT_NO_THROW(aviso.CartelCerrar());
  EXPECT_FALSE(aviso.cargado());
  EXPECT_EQ(reg.destruidas, 1);
}

TEST_F(DisplayTest, SiempreVisibleReachesTheWindowLoadingItWhenNeeded) {
  aviso.Siempre_Visible(false);
  EXPECT_EQ(reg.creadas, 1);
  aviso.Siempre_Visible(true);
  EXPECT_EQ(reg.llamadas, QStringList({"encima=no", "encima=si"}));
}

TEST(DisplayPredeterminado, WithoutAQApplicationTheNoticeIsHeadless) {
  Dll_Display aviso;
  aviso.Siempre_Visible(true); // loads the window without writing anything
  ASSERT_TRUE(aviso.cargado());
  EXPECT_NE(dynamic_cast<zv::app::AvisoHeadless *>(aviso.vista()), nullptr);
}

} // namespace
