// The batch of one pair, byte for byte against a text assembled here from the
// statement tables written out independently of the builder.
#include "app/LoteRecodificacion.h"
#include "support/CatalogoRecodificacion.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace zv::app;
namespace catalogo = zv::test::catalogo;

namespace {

const QString kColumnas = "DESCRIPCION,IMPUTABLE,NIVEL,RUBRO";

struct Caso {
  QString nombre;
  QString act, nvo, suc; // as typed
  bool existe;
  int sentencias; // the table's count plus "SET XACT_ABORT ON "
};

// The expected statements, assembled from the catalogue. `a`, `n`, `s`
// are already quoted.
QStringList esperadas(const QString &a, const QString &n, const QString &s, bool existe) {
  // The steps in the documentation's numbering (their count and the keys'
  // are checked where the catalogue is written).
  for (int i = 0; i < int(std::size(catalogo::kPasos)); ++i)
    EXPECT_EQ(catalogo::kPasos[i].numero, i + 1);
  return QStringList{"SET XACT_ABORT ON "} + catalogo::sentenciasPar(a, n, s, existe, kColumnas);
}

QString unir(const QStringList &l) {
  QString t;
  for (const QString &s : l)
    t += QStringLiteral("\r\n") + s;
  return t;
}

QString doblar(QString t) { return t.replace("'", "''"); }

void PrintTo(const Caso &c, std::ostream *os) { *os << c.nombre.toStdString(); }

class LotePorCaso : public ::testing::TestWithParam<Caso> {};

TEST_P(LotePorCaso, IgualAlTextoDeLasTablas) {
  const Caso &c = GetParam();
  ParRecodificacion par{c.act, c.nvo, c.suc, c.existe, kColumnas};
  const QStringList esperado = esperadas(doblar(c.act), doblar(c.nvo), doblar(c.suc), c.existe);
  const QStringList obtenido = SentenciasPar(par);
  ASSERT_EQ(obtenido.size(), c.sentencias);
  ASSERT_EQ(esperado.size(), c.sentencias);
  for (int i = 0; i < esperado.size(); ++i)
    ASSERT_EQ(zv::test::visible(obtenido[i]).toStdString(), zv::test::visible(esperado[i]).toStdString())
        << "statement " << i;
  const QByteArray lote = LotePar(par).toUtf8();
  EXPECT_EQ(lote, unir(esperado).toUtf8());
  EXPECT_TRUE(lote.startsWith("\r\nSET XACT_ABORT ON \r\nalter table"));
  EXPECT_FALSE(lote.endsWith("\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Pares, LotePorCaso,
    ::testing::Values(Caso{"CodigoNuevo", "1.1.01.001", "1.1.01.099", "", false, 113},
                      Caso{"CodigoExistente", "1.1.01.001", "1.1.01.002", "", true, 110},
                      Caso{"SucursalCodigoNuevo", "1.1.01.001", "1.1.01.099", "3", false, 124},
                      Caso{"SucursalCodigoExistente", "1.1.01.001", "1.1.01.002", "3", true, 119},
                      Caso{"Apostrofes", "1.1'01", "O'Brien''s", "Su'c", false, 124}),
    [](const ::testing::TestParamInfo<Caso> &i) { return i.param.nombre.toStdString(); });

TEST(Lote, SinApostrofesLosCodigosVanTalCual) {
  const QString lote = LotePar({"1.1.01", "1.1.09", "", false, kColumnas});
  EXPECT_TRUE(lote.contains("\r\nUPDATE MV_SALDOS SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'\r\n"));
  EXPECT_FALSE(lote.contains("''"));
}

TEST(Lote, CadaApostrofeSeDuplica) {
  const QString lote = LotePar({"A'1", "B'2", "S'3", false, kColumnas});
  // No lone apostrophe inside a value: removing the doubled ones and the
  // enclosing ones must leave no apostrophe next to a letter of the codes.
  EXPECT_FALSE(lote.contains("A'1"));
  EXPECT_FALSE(lote.contains("B'2"));
  EXPECT_FALSE(lote.contains("S'3"));
  EXPECT_TRUE(lote.contains("WHERE CODIGO = 'A''1'"));
  EXPECT_TRUE(lote.contains("SET CUENTA = 'B''2' WHERE CUENTA = 'A''1'"));
  EXPECT_TRUE(lote.contains("set Sucursal = 'S''3'"));
}

TEST(Lote, ConsultaDeExistencia) {
  EXPECT_EQ(ConsultaExistencia("1.1.01").toStdString(), "select * from ma_cuentas where codigo = '1.1.01'");
  EXPECT_EQ(ConsultaExistencia("x' or '1'='1").toStdString(),
            "select * from ma_cuentas where codigo = 'x'' or ''1''=''1'");
}

TEST(Lote, TextosDeRecuperacion) {
  EXPECT_EQ(kDeshacerTransaccion.toStdString(), "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
  EXPECT_EQ(kHabilitarTriggers.toStdString(), " alter table mv_asientos enable trigger all ");
}

} // namespace
