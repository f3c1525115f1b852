// Values written into the statements the recordset and the table editor send.
#include "platform/Ado.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <cmath>

namespace ado = zv::ado;

namespace {

struct Caso {
  const char *nombre;
  QVariant valor;
  const char *literal;
};

void PrintTo(const Caso &c, std::ostream *os) { *os << c.nombre; }

class Literal : public ::testing::TestWithParam<Caso> {};

TEST_P(Literal, ComoLoEscribeLaSentencia) {
  EXPECT_EQ(ado::sqlLiteral(GetParam().valor).toStdString(), GetParam().literal);
}

INSTANTIATE_TEST_SUITE_P(
    Valores, Literal,
    ::testing::Values(
        Caso{"Nulo", QVariant(), "NULL"}, Caso{"NuloConTipo", QVariant(QMetaType(QMetaType::Int)), "NULL"},
        Caso{"Verdadero", true, "1"}, Caso{"Falso", false, "0"}, Caso{"Entero", -42, "-42"},
        Caso{"Largo", qlonglong(9007199254740993LL), "9007199254740993"},
        Caso{"Corto", QVariant::fromValue<short>(-7), "-7"},
        Caso{"SinSigno", QVariant::fromValue<ushort>(65535), "65535"}, Caso{"DecimalCorto", 0.1, "0.1"},
        Caso{"Decimal", 1234.5, "1234.5"}, Caso{"Negativo", -0.25, "-0.25"},
        Caso{"Fecha", QDate(2024, 3, 9), "'2024-03-09'"},
        Caso{"FechaHora", QDateTime(QDate(2024, 3, 9), QTime(8, 30, 5)), "'2024-03-09 08:30:05'"},
        Caso{"Texto", QStringLiteral("Caja"), "'Caja'"}, Caso{"TextoVacio", QString(""), "''"},
        Caso{"Apostrofes", QStringLiteral("O'Brien''s"), "'O''Brien''''s'"},
        Caso{"Inyeccion", QStringLiteral("x' or '1'='1"), "'x'' or ''1''=''1'"},
        Caso{"Bytes", QByteArray("\x00\xff'A", 4), "0x00FF2741"}, Caso{"BytesVacios", QByteArray(""), "0x"}),
    [](const ::testing::TestParamInfo<Caso> &i) { return std::string(i.param.nombre); });

TEST(Literal, UnDecimalVuelveAlMismoValor) {
  for (const double d : {1.0 / 3, 2.0 / 3 * 1e15, 1e-7, 123456789.123456789})
    EXPECT_EQ(ado::sqlLiteral(d).toDouble(), d) << ado::sqlLiteral(d).toStdString();
}

} // namespace
