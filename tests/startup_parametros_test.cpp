#include "startup/Parametros.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

using namespace zv::startup;

namespace {

// Readable and unique names for the table cases.
std::string nombreCaso(const std::string &texto) {
  std::string r;
  for (char c : texto)
    r += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return r.empty() ? std::string("vacio") : r;
}

struct CasoParametro {
  const char *linea;
  const char *clave;
  const char *esperado;
  bool presente;
};

void PrintTo(const CasoParametro &c, std::ostream *os) {
  *os << nombreCaso(std::string(c.clave) + "_en_" + c.linea);
}

class ValorParametroTabla : public ::testing::TestWithParam<CasoParametro> {};

TEST_P(ValorParametroTabla, LeeElValor) {
  const auto &c = GetParam();
  bool presente = !c.presente;
  EXPECT_EQ(ValorParametro(QString::fromUtf8(c.linea), QString::fromUtf8(c.clave), &presente),
            QString::fromUtf8(c.esperado))
      << c.linea << " / " << c.clave;
  EXPECT_EQ(presente, c.presente);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ValorParametroTabla,
    ::testing::Values(
        CasoParametro{"@server=SRV01; @dbname= EMPRESA; @usuario= JUAN;", "@DbName", "EMPRESA", true},
        CasoParametro{"@server=SRV01; @dbname= EMPRESA; @usuario= JUAN;", "@Server", "SRV01", true},
        CasoParametro{"@server=SRV01; @dbname= EMPRESA; @usuario= JUAN;", "@Usuario", "JUAN", true},
        // The first "@Usuario" is the one inside "@UsuarioLogeado".
        CasoParametro{"@UsuarioLogeado=ANA;@Usuario=JUAN;", "@Usuario", "LogeadoANA", true},
        CasoParametro{"@UsuarioLogeado=ANA;@Usuario=JUAN;", "@UsuarioLogeado", "ANA", true},
        // Last pair without ";": as many characters as the key is long.
        CasoParametro{"@Server=S;@Caja=12", "@Caja", "12", true},
        CasoParametro{"@DbName=DEMO;@Password=abcdefghijkl", "@Password", "abcdefgh", true},
        CasoParametro{"@Caja=123456789", "@Caja", "1234", true},
        // Blanks around the value and every "=" go; case of the key is ignored.
        CasoParametro{"@SERVER=  SRV 1  ;", "@Server", "SRV 1", true},
        CasoParametro{"@Password=a=b=c;", "@Password", "abc", true},
        CasoParametro{"@Password=;@DbName=X;", "@Password", "", true},
        CasoParametro{"@DbName=X;", "@Caja", "", false}, CasoParametro{"", "@Server", "", false},
        // A key written without its "=" still takes what follows up to ";".
        CasoParametro{"@Caja 7;", "@Caja", "7", true}));

struct CasoServidor {
  const char *entrada;
  const char *esperado;
};

void PrintTo(const CasoServidor &c, std::ostream *os) { *os << nombreCaso(c.entrada); }

class NormalizarServidorTabla : public ::testing::TestWithParam<CasoServidor> {};

TEST_P(NormalizarServidorTabla, QuitaProtocoloYPuerto) {
  EXPECT_EQ(NormalizarServidor(QString::fromUtf8(GetParam().entrada)),
            QString::fromUtf8(GetParam().esperado));
}

INSTANTIATE_TEST_SUITE_P(Casos, NormalizarServidorTabla,
                         ::testing::Values(CasoServidor{"tcp/SRV01:1433", "SRV01"},
                                           CasoServidor{"SRV01", "SRV01"},
                                           CasoServidor{"SRV01\\QUMAKIT", "SRV01\\QUMAKIT"},
                                           CasoServidor{"SRV01:1433", "SRV01"},
                                           CasoServidor{"np/a/b:1:2", "a/b"}, CasoServidor{"tcp/", ""},
                                           CasoServidor{"", ""}, CasoServidor{"#ORCL", "#ORCL"}));

TEST(SeccionIni, MayusculasYCorteA50) {
  EXPECT_EQ(SeccionIni("pc01", "juan"), "PC01|JUAN");
  const QString equipo(40, QLatin1Char('e'));
  const QString usuario(20, QLatin1Char('u'));
  const QString seccion = SeccionIni(equipo, usuario);
  EXPECT_EQ(seccion.size(), 50);
  EXPECT_EQ(seccion, (equipo + "|" + usuario).toUpper().left(50));
  // Exactly 50 characters stay whole.
  EXPECT_EQ(SeccionIni(QString(44, 'a'), "bbbbb").size(), 50);
}

TEST(ValorNumerico, NumeroDelPrincipio) {
  EXPECT_EQ(ValorNumerico("1"), 1);
  EXPECT_EQ(ValorNumerico("texto"), 0);
  EXPECT_EQ(ValorNumerico(""), 0);
  EXPECT_EQ(ValorNumerico("  90 segundos"), 90);
  EXPECT_DOUBLE_EQ(ValorNumerico("-3.5"), -3.5);
  EXPECT_EQ(ValorNumerico("12,5"), 12); // only "." is a decimal point
  EXPECT_EQ(ValorEntero("250.9"), 250);
  EXPECT_EQ(ValorEntero("0"), 0);
}

TEST(RecortarBlancos, SoloBlancos) {
  EXPECT_EQ(RecortarBlancos("  a b  "), "a b");
  EXPECT_EQ(RecortarBlancos("\ta\t"), "\ta\t");
  EXPECT_EQ(RecortarBlancos("   "), "");
}

} // namespace
