// The notice without a display: the lines written for the start-up's
// notice, the cancel state, and the real output on standard error.
#include "app/AvisoHeadless.h"
#include "app/Dll_Display.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

using zv::app::AvisoHeadless;
using zv::app::Dll_Display;

namespace {

class HeadlessTest : public ::testing::Test {
protected:
  QStringList salida;
  AvisoHeadless *vista = nullptr;
  Dll_Display aviso{[this] {
    auto v = std::make_unique<AvisoHeadless>([this](const QString &l) { salida << l; });
    vista = v.get();
    return v;
  }};
};

TEST_F(HeadlessTest, StartUpNoticeIsTheTitleThenTitleAndLines) {
  aviso.CartelInicio("Conectando Base de Datos", false);
  bool cancelado = true;
  aviso.CartelMostrar(cancelado, QVariant("Iniciando Aplicacion"), QVariant("recodificador"),
                      QVariant("Espere por favor"));
  EXPECT_FALSE(cancelado);
  aviso.CartelCerrar();
  EXPECT_EQ(salida, QStringList({"Conectando Base de Datos",
                                 "Conectando Base de Datos: Iniciando Aplicacion / recodificador / "
                                 "Espere por favor"}));
}

TEST_F(HeadlessTest, LinesKeepTheirTextAndEmptyOnesAreLeftOut) {
  aviso.CartelInicio("T", false);
  bool cancelado = false;
  const struct {
    zv::app::LineaAviso l1, l2, l3;
    const char *esperado;
  } pasos[] = {
      {QVariant("a"), std::nullopt, std::nullopt, "T: a"},
      {std::nullopt, std::nullopt, QVariant("c"), "T: a / c"},
      {QVariant(), QVariant("b"), std::nullopt, "T: b / c"},
      {std::nullopt, QVariant(""), QVariant(), "T"},
      {QVariant("x\r\ny"), QVariant("z\nw"), std::nullopt, "T: x y / z w"},
  };
  for (const auto &p : pasos) {
    salida.clear();
    aviso.CartelMostrar(cancelado, p.l1, p.l2, p.l3);
    EXPECT_EQ(salida, QStringList({QString::fromUtf8(p.esperado)}));
  }
}

TEST_F(HeadlessTest, NothingIsWrittenWhileNotShown) {
  bool cancelado = true;
  aviso.CartelMostrar(cancelado, QVariant("oculto"));
  EXPECT_FALSE(cancelado);
  EXPECT_TRUE(salida.isEmpty());
  aviso.CartelCerrar();
  aviso.CartelCerrar();
  EXPECT_TRUE(salida.isEmpty());
}

TEST_F(HeadlessTest, PressingCancelCountsOnlyWithTheButtonShown) {
  aviso.CartelInicio("T", false);
  vista->pulsarCancelar();
  bool cancelado = true;
  aviso.CartelMostrar(cancelado);
  EXPECT_FALSE(cancelado);

  aviso.CartelCerrar();
  aviso.CartelInicio("T", true);
  aviso.CartelMostrar(cancelado);
  EXPECT_FALSE(cancelado);
  vista->pulsarCancelar();
  aviso.CartelMostrar(cancelado);
  EXPECT_TRUE(cancelado);
  aviso.CartelMostrar(cancelado, QVariant("sigue"));
  EXPECT_TRUE(cancelado);

  aviso.CartelCerrar();
  aviso.CartelInicio("T", true);
  aviso.CartelMostrar(cancelado);
  EXPECT_FALSE(cancelado) << "a new notice starts not cancelled";
}

TEST(HeadlessStderr, TheDefaultSinkWritesUtf8LinesToStandardError) {
  QTemporaryFile archivo;
  ASSERT_TRUE(archivo.open());
  std::fflush(stderr);
  const int original = ::dup(STDERR_FILENO);
  ASSERT_GE(original, 0);
  ASSERT_GE(::dup2(archivo.handle(), STDERR_FILENO), 0);
  {
    Dll_Display aviso([] { return std::make_unique<AvisoHeadless>(); });
    aviso.CartelInicio(QStringLiteral("Conectando Base de Datos"), false);
    bool cancelado = false;
    aviso.CartelMostrar(cancelado, QVariant(QStringLiteral("Recodificación")));
    aviso.CartelCerrar();
  }
  std::fflush(stderr);
  ::dup2(original, STDERR_FILENO);
  ::close(original);

  QFile leido(archivo.fileName());
  ASSERT_TRUE(leido.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(leido.readAll()),
            QStringLiteral("Conectando Base de Datos\nConectando Base de Datos: Recodificación\n"));
}

} // namespace
