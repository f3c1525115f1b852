// SQL literals, type classifiers, object names, user-scoped views and the
// Oracle dialect translation of DB_Dll: text in, text out.
#include "db/DB_Dll.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace zv;
using zv::db::DB_Dll;

namespace {

struct Texto : ::testing::Test {
  test::FakeSistema sistema;
  test::ScriptedUi ui;
  db::EntornoDB entorno{ui, sistema, {}};
  DB_Dll &bd = entorno.principal();

  QString oracle(const QString &sql) {
    bd.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=X;Password=X;");
    return bd.ORACLE_Dicc(sql);
  }
};

std::string s(const QVariant &v) { return v.toString().toStdString(); }

} // namespace

TEST_F(Texto, SQLValueEscribeLiterales) {
  EXPECT_EQ(s(DB_Dll::SQLValue(QStringLiteral("O'Brien"), QStringLiteral("'"))), "'O'Brien'");
  EXPECT_EQ(s(DB_Dll::SQLValue(QVariant(), QStringLiteral("'"))), "NULL");
  EXPECT_EQ(s(DB_Dll::SQLValue(QVariant(), QStringLiteral("@"))), "0");
  EXPECT_EQ(s(DB_Dll::SQLValue(QStringLiteral("1234,5"), QStringLiteral("@"))), "1234.5");
  EXPECT_EQ(s(DB_Dll::SQLValue(1234.5, QStringLiteral("@"))), "1234.5");
  EXPECT_EQ(s(DB_Dll::SQLValue(QStringLiteral("GETDATE()"), QStringLiteral("x"))), "GETDATE()");
  EXPECT_EQ(s(DB_Dll::SQLValue(QVariant(), QStringLiteral("x"))), "NULL");
  EXPECT_EQ(s(DB_Dll::SQLValue2(QStringLiteral("abc"), QStringLiteral("'"))), "'abc'");
}

TEST_F(Texto, ClasificadoresDeTipos) {
  struct Caso {
    int codigo;
    bool fecha, texto, numero, moneda, logico;
  };
  const Caso casos[] = {{7, 1, 0, 0, 0, 0},   {135, 1, 0, 0, 0, 0}, {64, 1, 0, 0, 0, 0}, {8, 0, 1, 0, 0, 0},
                        {202, 0, 1, 0, 0, 0}, {129, 0, 1, 0, 0, 0}, {3, 0, 0, 1, 0, 0},  {131, 0, 0, 1, 0, 0},
                        {17, 0, 0, 1, 0, 0},  {6, 0, 0, 0, 1, 0},   {11, 0, 0, 0, 0, 1}, {128, 0, 0, 0, 0, 0},
                        {0, 0, 0, 0, 0, 0}};
  for (const Caso &c : casos) {
    EXPECT_EQ(DB_Dll::adodate(c.codigo), c.fecha) << c.codigo;
    EXPECT_EQ(DB_Dll::ADOText(c.codigo), c.texto) << c.codigo;
    EXPECT_EQ(DB_Dll::ADONumeric(c.codigo), c.numero) << c.codigo;
    EXPECT_EQ(DB_Dll::ADOCurrency(c.codigo), c.moneda) << c.codigo;
    EXPECT_EQ(DB_Dll::ADOBoolean(c.codigo), c.logico) << c.codigo;
    EXPECT_EQ(DB_Dll::ADOComilla(c.codigo).toStdString(), (c.fecha || c.texto) ? "'" : "") << c.codigo;
  }
  EXPECT_FALSE(DB_Dll::ADOText(QStringLiteral("texto")));
}

TEST_F(Texto, OperacionesDeNombres) {
  QString n = QStringLiteral("dbo.MA_CUENTAS");
  EXPECT_EQ(DB_Dll::StripOwner(n).toStdString(), "MA_CUENTAS");
  EXPECT_EQ(n.toStdString(), "MA_CUENTAS"); // the argument is rewritten
  QString m = QStringLiteral("MA_CUENTAS");
  EXPECT_EQ(DB_Dll::StripOwner(m).toStdString(), "MA_CUENTAS");
  EXPECT_EQ(DB_Dll::AddBrackets(QStringLiteral("MIS CUENTAS")).toStdString(), "[MIS CUENTAS]");
  EXPECT_EQ(DB_Dll::AddBrackets(QStringLiteral("[MIS CUENTAS]")).toStdString(), "[MIS CUENTAS]");
  EXPECT_EQ(DB_Dll::AddBrackets(QStringLiteral("CUENTAS")).toStdString(), "CUENTAS");
  EXPECT_EQ(DB_Dll::StripBrackets(QStringLiteral("[MIS CUENTAS]")).toStdString(), "MIS CUENTAS");
  EXPECT_EQ(DB_Dll::StripBrackets(QStringLiteral("CUENTAS")).toStdString(), "CUENTAS");
  EXPECT_EQ(DB_Dll::StripConnect(QStringLiteral("CUENTAS -> DEMO")).toStdString(), "CUENTAS");
  EXPECT_EQ(DB_Dll::StripConnect(QStringLiteral("CUENTAS")).toStdString(), "CUENTAS");
  EXPECT_EQ(DB_Dll::StripFileName(QStringLiteral("C:\\datos\\demo.mdb")).toStdString(), "C:\\datos");
  EXPECT_EQ(DB_Dll::StripFileName(QStringLiteral("demo.mdb")).toStdString(), "");
  QString uno = QStringLiteral("dbo.T");
  EXPECT_EQ(DB_Dll::stSTF(uno, true).toStdString(), "T");
  EXPECT_EQ(DB_Dll::stSTF(uno, false).toStdString(), "dbo");
  QString dos = QStringLiteral("base.dbo.T");
  EXPECT_EQ(DB_Dll::stSTF(dos, true).toStdString(), "dbo.T");
  EXPECT_EQ(dos.toStdString(), "dbo.T");
  QString sin = QStringLiteral("T");
  EXPECT_EQ(DB_Dll::stSTF(sin, false).toStdString(), "T");
}

// ------------------------------------------------------------ SS_TSinonimos

TEST_F(Texto, SinonimosParaQuienNoEsAdministrador) {
  bd.gEsAdmin = false;
  struct Caso {
    const char *entrada, *salida;
  };
  const Caso casos[] = {
      {"SELECT * FROM MA_CUENTAS WHERE X = 1", "SELECT * FROM SS_MA_CUENTAS WHERE X = 1"},
      {"SELECT * FROM @Admin_MA_CUENTAS WHERE X = 1", "SELECT * FROM MA_CUENTAS WHERE X = 1"},
      {"SELECT * FROM ma_cuentas WHERE X = 1", "SELECT * FROM SS_MA_CUENTAS WHERE X = 1"},
      {"SELECT (MA_CUENTAS .X", "SELECT (SS_MA_CUENTAS .X"},
      {"SELECT MA_CUENTAS.CODIGO,MA_CUENTAS.NOMBRE FROM (MA_CUENTAS.X {MA_CUENTAS.Y",
       "SELECT SS_MA_CUENTAS.CODIGO,SS_MA_CUENTAS.NOMBRE FROM (SS_MA_CUENTAS.X {SS_MA_CUENTAS.Y"},
      {"SELECT {V_TA_CAJAS.X FROM V_TA_CAJAS ", "SELECT {V_TA_CAJAS.X FROM SS_V_TA_CAJAS "},
      {"MA_CUENTAS", "MA_CUENTAS"},
      {"SELECT * FROM MA_CUENTAS", "SELECT * FROM MA_CUENTAS"},
      {"SELECT * FROM MA_CUENTAS\r\nWHERE X=1", "SELECT * FROM MA_CUENTAS\r\nWHERE X=1"},
      {"SELECT * FROM AC_CUENTASDIARIO_CCOSTO WHERE 1=1",
       "SELECT * FROM SS_AC_CUENTAS_DIARIO_CCOSTO WHERE 1=1"},
      {"SELECT * FROM AC_CUENTASDIARIO WHERE 1=1", "SELECT * FROM SS_AC_CUENTASDIARIO WHERE 1=1"},
      {"SELECT * FROM V_TA_DEPOSITO D, V_TA_FAMILIAS F WHERE 1=1",
       "SELECT * FROM SS_V_TA_DEPOSITO D, SS_V_TA_FAMILIAS F WHERE 1=1"},
      // any marker keeps the chart of accounts shared, the rest is restricted
      {"SELECT * FROM MA_CUENTAS M, @Admin_V_TA_CAJAS C, V_TA_CAJAS D WHERE 1=1",
       "SELECT * FROM MA_CUENTAS M, V_TA_CAJAS C, SS_V_TA_CAJAS D WHERE 1=1"},
      // journal entries with confidentiality off: nothing is substituted
      {"SELECT * FROM MV_ASIENTOS A, MA_CUENTAS C WHERE @Admin_X=1",
       "SELECT * FROM MV_ASIENTOS A, MA_CUENTAS C WHERE X=1"},
  };
  for (const Caso &c : casos)
    EXPECT_EQ(bd.SS_TSinonimos(QString::fromLatin1(c.entrada)).toStdString(), c.salida) << c.entrada;
}

TEST_F(Texto, SinonimosConConfidencialidadYParaElAdministrador) {
  const QString sql = QStringLiteral("SELECT * FROM MV_ASIENTOS A, MA_CUENTAS C WHERE 1=1");
  entorno.valores.gConfidencialidad = true;
  EXPECT_EQ(bd.SS_TSinonimos(sql).toStdString(), "SELECT * FROM SS_MV_ASIENTOS A, SS_MA_CUENTAS C WHERE 1=1");
  bd.gEsAdmin = true;
  EXPECT_EQ(bd.SS_TSinonimos(sql).toStdString(), sql.toStdString());
  EXPECT_EQ(bd.SS_TSinonimos(QStringLiteral("UPDATE @ADMIN_MA_CUENTAS SET X=1")).toStdString(),
            "UPDATE MA_CUENTAS SET X=1");
}

TEST_F(Texto, SinonimosExcluyenALosProgramasHermanos) {
  const QString sql = QStringLiteral("SELECT * FROM V_TA_DEPOSITO D, V_TA_FAMILIAS F WHERE 1=1");
  sistema.exeName = QStringLiteral("da_zidad");
  EXPECT_EQ(bd.SS_TSinonimos(sql).toStdString(),
            "SELECT * FROM V_TA_DEPOSITO D, SS_V_TA_FAMILIAS F WHERE 1=1");
  sistema.exeName = QStringLiteral("VIZ");
  EXPECT_EQ(bd.SS_TSinonimos(sql).toStdString(),
            "SELECT * FROM SS_V_TA_DEPOSITO D, V_TA_FAMILIAS F WHERE 1=1");
}

TEST_F(Texto, SinonimosSobreSuPropioResultado) {
  const QString sql = QStringLiteral("SELECT * FROM MA_CUENTAS M, V_TA_CAJAS C WHERE 1=1");
  const QString una = bd.SS_TSinonimos(sql);
  EXPECT_EQ(bd.SS_TSinonimos(una).toStdString(), una.toStdString());
  const QString marcada = bd.SS_TSinonimos(QStringLiteral("SELECT * FROM @Admin_MA_CUENTAS WHERE 1=1"));
  EXPECT_EQ(marcada.toStdString(), "SELECT * FROM MA_CUENTAS WHERE 1=1");
  EXPECT_EQ(bd.SS_TSinonimos(marcada).toStdString(), "SELECT * FROM SS_MA_CUENTAS WHERE 1=1");
}

// -------------------------------------------------------------- ORACLE_Dicc

TEST_F(Texto, SinOracleElTextoNoCambia) {
  const QString sql = QStringLiteral("SELECT TOP 1 LEN(X), ISNULL(Y,'') FROM [T] WHERE F = '01/03/2024'");
  bd.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV;Database =DEMO;UId=DEMO;Pwd=DEMO;");
  EXPECT_EQ(bd.ORACLE_Dicc(sql).toStdString(), sql.toStdString());
  EXPECT_EQ(bd.ORACLE_Dicc(QStringLiteral("LEN")).toStdString(), "LEN");
  // an Oracle connection given without the word: no translation either
  bd.gConnString = QStringLiteral("Provider=MSDAORA;Data Source=ORCL;");
  EXPECT_EQ(bd.ORACLE_Dicc(sql).toStdString(), sql.toStdString());
  // the word anywhere switches it on, even in a database name
  bd.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV;Database =PruebaOracle;");
  EXPECT_NE(bd.ORACLE_Dicc(sql).toStdString(), sql.toStdString());
}

TEST_F(Texto, OracleEjemplosDeLasReglas) {
  struct Caso {
    const char *entrada, *salida;
  };
  const Caso casos[] = {
      {"SELECT TOP 10 CODIGO, NOMBRE FROM MA_CUENTAS ORDER BY CODIGO",
       "SELECT  CODIGO, NOMBRE FROM MA_CUENTAS    WHERE ROWNUM <= 10  ORDER BY CODIGO"},
      {"SELECT TOP 1 * FROM MA_CUENTAS WHERE CODIGO = '1.1' ORDER BY CODIGO",
       "SELECT  * FROM MA_CUENTAS WHERE CODIGO = '1.1'    AND ROWNUM <= 1  ORDER BY CODIGO"},
      {"SELECT TOP 5 CODIGO, COUNT(*) FROM T GROUP BY CODIGO ORDER BY CODIGO",
       "SELECT  CODIGO, COUNT(*) FROM T    WHERE ROWNUM <= 5  GROUP BY CODIGO ORDER BY CODIGO "},
      {"SELECT CONVERT(NVARCHAR, FECHA, 103) AS F FROM MV_ASIENTOS WHERE ISNULL(DETALLE,'') = ''",
       "SELECT TO_CHAR( FECHA, 'DD/MM/YYYY') AS F FROM MV_ASIENTOS WHERE NVL(DETALLE,'')  IS NULL "},
      {"SELECT LEN(X), LEN (Y), LEN    (Z) FROM T", "SELECT LENGTH(X), LENGTH(Y), LENGTH(Z) FROM T"},
      {"SELECT (LEN(X)) FROM T", "SELECT (LEN(X)) FROM T"},
      {"SELECT [CODIGO] FROM [MA_CUENTAS]", "SELECT \"CODIGO\" FROM \"MA_CUENTAS\""},
      {"SELECT * FROM T WHERE F >= '1/3/2024' AND G <= '01/03/2024' AND H = '01/03/2024'",
       "SELECT * FROM T WHERE F >= TO_DATE('01/03/2024','DD/MM/YYYY') AND G <= "
       "TO_DATE('01/03/2024','DD/MM/YYYY') AND H = TO_DATE('01/03/2024','DD/MM/YYYY')"},
      {"SELECT * FROM T WHERE F = TO_DATE('15/07/2024','DD/MM/YYYY')",
       "SELECT * FROM T WHERE F = TO_DATE('15/07/2024','DD/MM/YYYY')"},
      {"SELECT * FROM T WHERE F = '31/02/2024'", "SELECT * FROM T WHERE F = '31/02/2024'"},
      {"SELECT Charindex('.', X), CONVERT(INT, Y), SUBSTRING(Z,1,2) FROM T",
       "SELECT InStr('.', X), TO_NUMBER( Y), SUBSTR(Z,1,2) FROM T"},
      {"SELECT CONVERT(NVARCHAR(20), X) FROM T", "SELECT CONVERT(NVARCHAR(20), X) FROM T"},
      {"SELECT X FROM T WHERE A='' AND B = ''", "SELECT X FROM T WHERE A IS NULL  AND B  IS NULL "},
      {"SELECT X FROM T WHERE A = 103", "SELECT X FROM T WHERE A = 103"},
  };
  for (const Caso &c : casos)
    EXPECT_EQ(oracle(QString::fromLatin1(c.entrada)).toStdString(), c.salida) << c.entrada;
}

TEST_F(Texto, OraclePalabraSola) {
  EXPECT_EQ(oracle(QStringLiteral("LEN")).toStdString(), "LENGTH");
  EXPECT_EQ(oracle(QStringLiteral("len")).toStdString(), "LENGTH");
  EXPECT_EQ(oracle(QStringLiteral("LEN(")).toStdString(), "LEN(");
  EXPECT_EQ(oracle(QStringLiteral(" LEN")).toStdString(), " LEN");
  EXPECT_EQ(oracle(QStringLiteral("[X]")).toStdString(), "[X]");
  EXPECT_EQ(oracle(QString()).toStdString(), "");
}

TEST_F(Texto, OracleUnaPalabraTerminadaEnTopTambienLimita) {
  const QString r = oracle(QStringLiteral("SELECT DESKTOP FROM T"));
  EXPECT_EQ(r.toStdString(), "SELECT DESK T  WHERE ROWNUM <= FROM  ");
}

TEST_F(Texto, OracleArgumentosInvalidosSonUnErrorClaro) {
  for (const char *sql : {"SELECT * FROM T WHERE A = 'abc", "SELECT TOP 10"}) {
    try {
      oracle(QString::fromLatin1(sql));
      ADD_FAILURE() << "no error for " << sql;
    } catch (const AppError &e) {
      EXPECT_EQ(e.number(), err::InvalidArgument) << sql;
      EXPECT_FALSE(e.description().isEmpty());
    }
  }
}
