#include "platform/Kit.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

using zv::kit::AyudaTeclado;
using zv::kit::Utilidades;

namespace {

TEST(Cifrar, RoundTripAndSafeAlphabet) {
  const QString largo = QString::fromUtf8("Contraseña, \"larga\"\r\n").repeated(200);
  const QStringList textos = {QString(),
                              QStringLiteral("a"),
                              QStringLiteral("EMPRESA"),
                              QStringLiteral("empresa"),
                              QString::fromUtf8("Ñandú ácido €uro"),
                              QStringLiteral("a,b,c"),
                              QStringLiteral("dice \"hola\""),
                              QStringLiteral("l1\r\nl2\nl3\r"),
                              QStringLiteral("o'brien"),
                              QStringLiteral("   "),
                              QString::fromUtf8("\xF0\x9F\x98\x80 emoji"),
                              QStringLiteral("00FF"),
                              largo};
  for (const QString &t : textos) {
    const QString c = Utilidades::Cifrar(t);
    EXPECT_EQ(Utilidades::Descifrar(c), t) << t.left(40).toStdString();
    for (QChar bad : {u',', u'"', u'\r', u'\n', u'\''})
      EXPECT_FALSE(c.contains(bad)) << c.toStdString();
    if (!t.isEmpty()) {
      EXPECT_NE(c, t);
    }
    // Stored passwords are compared, so the cipher must be deterministic.
    EXPECT_EQ(Utilidades::Cifrar(t), c);
  }
}

TEST(Cifrar, DiffersForDifferentTexts) {
  EXPECT_NE(Utilidades::Cifrar("EMPRESA"), Utilidades::Cifrar("EMPRESB"));
  EXPECT_NE(Utilidades::Cifrar("aa"), Utilidades::Cifrar("a"));
  // Repeated characters do not show as repeated output.
  const QString c = Utilidades::Cifrar("aaaa");
  EXPECT_NE(c.mid(0, 2), c.mid(2, 2));
}

TEST(Cifrar, ForeignTextComesBackAsItIs) {
  EXPECT_EQ(Utilidades::Descifrar("clave plana"), "clave plana");
  EXPECT_EQ(Utilidades::Descifrar("ABC"), "ABC"); // odd length
  // Lower-case hexadecimal is read like upper case.
  const QString c = Utilidades::Cifrar("Dato");
  EXPECT_EQ(Utilidades::Descifrar(c.toLower()), "Dato");
}

TEST(Utilidades, SinNulo) {
  EXPECT_EQ(Utilidades::SinNulo(QVariant()), "");
  EXPECT_EQ(Utilidades::SinNulo(QVariant(QMetaType(QMetaType::QString))), "");
  EXPECT_EQ(Utilidades::SinNulo(QVariant(QMetaType(QMetaType::Int))), "");
  EXPECT_EQ(Utilidades::SinNulo(QStringLiteral(" x ")), " x ");
  EXPECT_EQ(Utilidades::SinNulo(42), "42");
  EXPECT_EQ(Utilidades::SinNulo(qlonglong(-7)), "-7");
  EXPECT_EQ(Utilidades::SinNulo(1234.5), "1234.5");
  EXPECT_EQ(Utilidades::SinNulo(0.1), "0.1");
  EXPECT_EQ(Utilidades::SinNulo(QDate(2024, 3, 9)), "09/03/2024");
}

TEST(Utilidades, Recortar) {
  EXPECT_EQ(Utilidades::Recortar("abcdef", 3), "abc");
  EXPECT_EQ(Utilidades::Recortar("ab", 3), "ab");
  EXPECT_EQ(Utilidades::Recortar("ab", 0), "");
  EXPECT_EQ(Utilidades::Recortar("ab", -1), "");
}

TEST(Utilidades, CodigoFijo) {
  struct Caso {
    const char *texto;
    int ancho;
    const char *esperado;
  } casos[] = {
      {"1", 4, "   1"}, {"12", 4, "  12"}, {"1234", 4, "1234"}, {"12345", 4, "12345"},
      {"", 4, "    "},  {"7", 1, "7"},     {"ab", 0, "ab"},     {"x", 25, "                        x"}};
  for (const auto &c : casos)
    EXPECT_EQ(Utilidades::CodigoFijo(c.texto, c.ancho), c.esperado) << c.texto << "/" << c.ancho;
  EXPECT_EQ(Utilidades::CodigoFijo("1"), "   1");
}

TEST(Utilidades, ANumeroTable) {
  struct Caso {
    const char *texto;
    double esperado;
  } casos[] = {{"1234,5", 1234.5},
               {"1234.5", 1234.5},
               {"  42 ", 42},
               {"-3,25", -3.25},
               {"+7", 7},
               {"1.234,56", 1234.56},
               {"1,234.56", 1234.56},
               {"1.234.567", 1234567},
               {"0,12345", 0.1235},
               {"2,00004", 2.0},
               {",5", 0.5},
               {"12abc", 12},
               {"abc", 0},
               {"", 0},
               {" ", 0},
               {"-", 0},
               {"&HFFFF00", 16776960},
               {"1e3", 1}};
  for (const auto &c : casos)
    EXPECT_DOUBLE_EQ(Utilidades::ANumero(c.texto), c.esperado) << c.texto;
}

TEST(Utilidades, ANumeroLocaleFormat) {
  // Whatever the locale, its own formatting of a number reads back.
  const QString local = QLocale::system().toString(1234.5, 'f', 2);
  EXPECT_DOUBLE_EQ(Utilidades::ANumero(local), 1234.5) << local.toStdString();
}

TEST(Utilidades, AEntero) {
  EXPECT_EQ(Utilidades::AEntero("15"), 15);
  EXPECT_EQ(Utilidades::AEntero(" 30 segundos"), 30);
  EXPECT_EQ(Utilidades::AEntero("2,6"), 3);
  EXPECT_EQ(Utilidades::AEntero("-2.5"), -3);
  EXPECT_EQ(Utilidades::AEntero("texto"), 0);
  EXPECT_EQ(Utilidades::AEntero(" "), 0);
  EXPECT_EQ(Utilidades::AEntero("99999999999999999999999"), std::numeric_limits<long long>::max());
}

TEST(Utilidades, ContarPalabras) {
  EXPECT_EQ(Utilidades::ContarPalabras(""), 0);
  EXPECT_EQ(Utilidades::ContarPalabras("   "), 0);
  EXPECT_EQ(Utilidades::ContarPalabras("LEN"), 1);
  EXPECT_EQ(Utilidades::ContarPalabras("  select top 10  * from t "), 6);
  EXPECT_EQ(Utilidades::ContarPalabras("a\tb\r\nc"), 3);
}

TEST(Utilidades, QuitarCaracteres) {
  EXPECT_EQ(Utilidades::QuitarCaracteres("= EMPRESA=", "="), " EMPRESA");
  EXPECT_EQ(Utilidades::QuitarCaracteres("a-b_c.d", "-", "_", "."), "abcd");
  const QString conCeros = QString("MA_") + QChar(0) + "CUENTAS" + QChar(255) + QChar(0);
  EXPECT_EQ(Utilidades::QuitarCaracteres(conCeros, QString(QChar(0)), QString(QChar(255))), "MA_CUENTAS");
  EXPECT_EQ(Utilidades::QuitarCaracteres("texto", ""), "texto");
  EXPECT_EQ(Utilidades::QuitarCaracteres("AaA", "a"), "AA");
}

TEST(Utilidades, Reemplazar) {
  EXPECT_EQ(Utilidades::Reemplazar("1.234,50", ",", "."), "1.234.50");
  EXPECT_EQ(Utilidades::Reemplazar("a|b|c|", "|", ","), "a,b,c,");
  EXPECT_EQ(Utilidades::Reemplazar("ab*c*", "*", "%"), "ab%c%");
  EXPECT_EQ(Utilidades::Reemplazar("Aa", "a", "x"), "Ax");
  EXPECT_EQ(Utilidades::Reemplazar("sin cambio", "", "x"), "sin cambio");
  EXPECT_EQ(Utilidades::ReemplazarTexto("from v_ma_articulos join V_MA_ARTICULOS", "V_MA_ARTICULOS",
                                        "VT_MA_ARTICULOS"),
            "from VT_MA_ARTICULOS join VT_MA_ARTICULOS");
  EXPECT_EQ(Utilidades::ReemplazarTexto("abc", "", "x"), "abc");
  // The new text may contain the old one without looping.
  EXPECT_EQ(Utilidades::Reemplazar("aa", "a", "aa"), "aaaa");
}

TEST(Utilidades, ConBarra) {
  EXPECT_EQ(Utilidades::ConBarra("/opt/app"), "/opt/app/");
  EXPECT_EQ(Utilidades::ConBarra("/opt/app/"), "/opt/app/");
  EXPECT_EQ(Utilidades::ConBarra("/"), "/");
  EXPECT_EQ(Utilidades::ConBarra(""), "./");
}

TEST(Utilidades, InformarErrorAsksAndReturnsAnswer) {
  zv::test::ScriptedUi ui;
  Utilidades u(&ui);
  const zv::AppError e(3265, "No se encontró el elemento", "ADODB.Fields");
  const QString texto =
      "Error 3265: No se encontró el elemento\r\nRutina: UtilKit1_click\r\nOrigen: ADODB.Fields";
  EXPECT_EQ(Utilidades::TextoInformeError(e, "UtilKit1_click"), texto);
  for (int answer : {zv::vb::Abort, zv::vb::Retry, zv::vb::Ignore}) {
    ui.expectMsg(texto, 18, "Error en UtilKit1_click", answer);
    EXPECT_EQ(u.InformarError(e, "UtilKit1_click"), answer);
  }
  ui.verify();
  EXPECT_EQ(Utilidades().InformarError(e, "x"), zv::vb::Abort);
}

TEST(AyudaTeclado, EsTeclaDeSalida) {
  for (int k : {9, 13, 27, 38, 40})
    EXPECT_TRUE(AyudaTeclado::EsTeclaDeSalida(k)) << k;
  for (int k : {0, 8, 32, 37, 39, 46, int('A'), int('z'), int('0'), 113})
    EXPECT_FALSE(AyudaTeclado::EsTeclaDeSalida(k)) << k;
}

TEST(AyudaTeclado, SeparadorDecimal) {
  EXPECT_EQ(AyudaTeclado::SeparadorDecimal(), QLocale::system().decimalPoint());
  EXPECT_EQ(AyudaTeclado::SeparadorDecimal().size(), 1);
}

} // namespace
