#include "platform/PlanillaTabla.h"
#include "support/ScriptedUi.h"

#include "support/AplicacionQt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <deque>

using zv::AppError;
using zv::PlanillaTablaModelo;
namespace ado = zv::ado;

namespace {

// A connection that records what it is asked to run and answers from queues.
class FakeConnection : public ado::Connection {
public:
  QStringList executed;
  std::deque<ado::ResultSet> results; // answers to SELECTs, in order
  std::deque<long> affected;          // records affected by other statements (default 1)
  QString failOn;                     // a statement containing this fails
  int begins = 0, commits = 0, rollbacks = 0;
  bool opened = false;
  QString openedWith;

  void open(const QString &cs, const QString &, const QString &, long) override {
    opened = true;
    openedWith = cs;
  }
  void close() override { opened = false; }
  int state() const override { return opened ? ado::adStateOpen : ado::adStateClosed; }
  QString connectionString() const override { return openedWith; }
  void setDefaultDatabase(const QString &) override {}
  QString defaultDatabase() const override { return {}; }
  void setCommandTimeout(int) override {}
  int commandTimeout() const override { return 30; }
  void setIsolationLevel(long) override {}
  long isolationLevel() const override { return 0; }
  void setCursorLocation(int) override {}
  int cursorLocation() const override { return ado::adUseClient; }
  std::unique_ptr<ado::ResultSet> execute(const QString &text, long *n, long) override {
    executed << text;
    if (!failOn.isEmpty() && text.contains(failOn))
      throw AppError(zv::err::IntegrityViolation, "Violation of PRIMARY KEY constraint", "SQLOLEDB");
    if (text.startsWith("SELECT")) {
      if (results.empty())
        throw AppError(zv::err::InvalidObject, "Invalid object name", "SQLOLEDB");
      auto rs = std::make_unique<ado::ResultSet>(results.front());
      results.pop_front();
      return rs;
    }
    if (n) {
      *n = affected.empty() ? 1 : affected.front();
      if (!affected.empty())
        affected.pop_front();
    }
    return nullptr;
  }
  int beginTrans() override { return ++begins; }
  void commitTrans() override { ++commits; }
  void rollbackTrans() override { ++rollbacks; }
  ado::ErrorList &errors() override { return errors_; }
  std::unique_ptr<ado::ResultSet> openSchema(int, const QVariantList &) override { return nullptr; }

private:
  ado::ErrorList errors_;
};

ado::Column col(const char *name, int type, bool identity = false) {
  ado::Column c;
  c.name = name;
  c.type = type;
  c.autoIncrement = identity;
  return c;
}

// MA_CUENTAS-like rows with no identity and no ID column.
ado::ResultSet cuentas() {
  ado::ResultSet rs;
  rs.columns = {col("Codigo", ado::adVarChar), col("Descripcion", ado::adVarChar),
                col("Saldo", ado::adNumeric), col("Alta", ado::adDBTimeStamp),
                col("Notas", ado::adLongVarChar)};
  rs.rows = {{"1.1.01", "Caja", 10.5, QDateTime(QDate(2024, 3, 9), QTime(8, 30)), "larga"},
             {"1.1.02", "Banco O'Higgins", QVariant(), QVariant(), QVariant()}};
  return rs;
}

ado::ResultSet conIdentidad() {
  ado::ResultSet rs;
  rs.columns = {col("Numero", ado::adInteger, true), col("Nombre", ado::adVarWChar),
                col("Activo", ado::adBoolean)};
  rs.rows = {{7, "Uno", true}, {9, "Dos", false}};
  return rs;
}

TEST(PlanillaTablaModelo, LoadsRowsAndShowsValues) {
  FakeConnection cn;
  cn.results.push_back(cuentas());
  PlanillaTablaModelo m(cn);
  m.Cargar("MA_CUENTAS");
  EXPECT_EQ(cn.executed, QStringList({"SELECT * FROM MA_CUENTAS"}));
  EXPECT_EQ(m.Filas(), 2);
  EXPECT_EQ(m.Columnas(), 5);
  EXPECT_EQ(m.Texto(0, 2), "10.5");
  EXPECT_EQ(m.Texto(0, 3), "2024-03-09 08:30:00");
  EXPECT_EQ(m.Texto(1, 2), "");
  EXPECT_FALSE(m.HayCambios());
  EXPECT_TRUE(m.Sentencias().isEmpty());
}

TEST(PlanillaTablaModelo, RejectsUnsafeTableNames) {
  FakeConnection cn;
  PlanillaTablaModelo m(cn);
  for (const char *t : {"", "MA_CUENTAS; DROP TABLE X", "a b", "x'--", "MA_CUENTAS WHERE 1=1"})
    EXPECT_THROW(m.Cargar(t), AppError) << t;
  EXPECT_TRUE(cn.executed.isEmpty());
  for (const char *t : {"MA_CUENTAS", "dbo.MA_CUENTAS", "[Mi Tabla]", "#tmp"})
    EXPECT_TRUE(PlanillaTablaModelo::NombreTablaValido(t)) << t;
}

TEST(PlanillaTablaModelo, UpdateByAllFormerComparableValues) {
  FakeConnection cn;
  cn.results.push_back(cuentas());
  PlanillaTablaModelo m(cn);
  m.Cargar("MA_CUENTAS");
  m.Editar(1, 1, "Banco D'Elía");
  m.Editar(0, 2, "1234,5");
  EXPECT_EQ(
      m.Sentencias(),
      QStringList(
          {"UPDATE MA_CUENTAS SET [Saldo] = 1234.5 WHERE [Codigo] = '1.1.01' AND [Descripcion] = 'Caja' "
           "AND [Saldo] = 10.5 AND [Alta] = '2024-03-09 08:30:00'",
           QString::fromUtf8("UPDATE MA_CUENTAS SET [Descripcion] = 'Banco D''Elía' WHERE [Codigo] = "
                             "'1.1.02' AND [Descripcion] = 'Banco O''Higgins' AND [Saldo] IS NULL "
                             "AND [Alta] IS NULL")}));
}

TEST(PlanillaTablaModelo, EditingBackToTheFormerValueIsNoChange) {
  FakeConnection cn;
  cn.results.push_back(cuentas());
  PlanillaTablaModelo m(cn);
  m.Cargar("MA_CUENTAS");
  m.Editar(0, 1, "Cajas");
  EXPECT_TRUE(m.HayCambios());
  m.Editar(0, 1, "Caja");
  EXPECT_FALSE(m.HayCambios());
}

TEST(PlanillaTablaModelo, IdentityKeyInsertAndDelete) {
  FakeConnection cn;
  cn.results.push_back(conIdentidad());
  PlanillaTablaModelo m(cn);
  m.Cargar("TA_PRUEBA");
  EXPECT_FALSE(m.Editable(0));
  EXPECT_THROW(m.Editar(0, 0, "8"), AppError);
  m.Editar(0, 2, "no");
  m.BorrarFila(1);
  const int nueva = m.AgregarFila();
  m.Editar(nueva, 1, "Tres");
  m.Editar(nueva, 2, "Sí");
  const int vacia = m.AgregarFila(); // left empty: not inserted
  (void)vacia;
  EXPECT_EQ(m.Filas(), 3);
  EXPECT_EQ(m.Sentencias(), QStringList({"DELETE FROM TA_PRUEBA WHERE [Numero] = 9",
                                         "UPDATE TA_PRUEBA SET [Activo] = 0 WHERE [Numero] = 7",
                                         "INSERT INTO TA_PRUEBA ([Nombre], [Activo]) VALUES ('Tres', 1)"}));
}

TEST(PlanillaTablaModelo, ColumnNamedIdIsTheKey) {
  FakeConnection cn;
  ado::ResultSet rs;
  rs.columns = {col("Nombre", ado::adVarChar), col("Id", ado::adInteger)};
  rs.rows = {{"a", 1}};
  cn.results.push_back(rs);
  PlanillaTablaModelo m(cn);
  m.Cargar("T");
  m.Editar(0, 0, "b");
  EXPECT_EQ(m.Sentencias(), QStringList({"UPDATE T SET [Nombre] = 'b' WHERE [Id] = 1"}));
}

TEST(PlanillaTablaModelo, TypedValuesMustSuitTheirColumns) {
  struct Caso {
    int columna;
    const char *texto;
    const char *valor; // nullptr: refused
  } casos[] = {{2, "12", "12"},
               {2, "-0,5", "-0.5"},
               {2, ",5", "0.5"},
               {2, "", "NULL"},
               {2, "doce", nullptr},
               {2, "1.234,5", nullptr},
               {3, "09/03/2024", "'2024-03-09'"},
               {3, "2024-03-09 10:15", "'2024-03-09 10:15:00'"},
               {3, "ayer", nullptr},
               {1, "", "''"}};
  for (const auto &c : casos) {
    FakeConnection cn;
    cn.results.push_back(cuentas());
    PlanillaTablaModelo m(cn);
    m.Cargar("MA_CUENTAS");
    m.Editar(0, c.columna, c.texto);
    if (!c.valor) {
      EXPECT_THROW(m.Sentencias(), AppError) << c.texto;
      continue;
    }
    const QStringList s = m.Sentencias();
    ASSERT_EQ(s.size(), 1) << c.texto;
    EXPECT_TRUE(s[0].contains(" = " + QString(c.valor) + " WHERE")) << s[0].toStdString();
  }
}

TEST(PlanillaTablaModelo, SaveRunsInATransactionAndReloads) {
  FakeConnection cn;
  cn.results.push_back(conIdentidad());
  ado::ResultSet despues = conIdentidad();
  despues.rows[0][1] = "Uno bis";
  cn.results.push_back(despues);
  PlanillaTablaModelo m(cn);
  m.Cargar("TA_PRUEBA");
  m.Editar(0, 1, "Uno bis");
  m.Grabar();
  EXPECT_EQ(cn.executed, QStringList({"SELECT * FROM TA_PRUEBA",
                                      "UPDATE TA_PRUEBA SET [Nombre] = 'Uno bis' WHERE [Numero] = 7",
                                      "SELECT * FROM TA_PRUEBA"}));
  EXPECT_EQ(cn.begins, 1);
  EXPECT_EQ(cn.commits, 1);
  EXPECT_EQ(cn.rollbacks, 0);
  EXPECT_FALSE(m.HayCambios());
  EXPECT_EQ(m.Texto(0, 1), "Uno bis");
}

TEST(PlanillaTablaModelo, FailedOrAmbiguousSaveIsUndoneAndKeepsEdits) {
  struct Caso {
    long afectadas;
    QString falla;
  } casos[] = {{0, {}}, {2, {}}, {1, "INSERT"}};
  for (const auto &c : casos) {
    FakeConnection cn;
    cn.results.push_back(cuentas());
    cn.affected = {c.afectadas};
    cn.failOn = c.falla;
    PlanillaTablaModelo m(cn);
    m.Cargar("MA_CUENTAS");
    m.Editar(0, 1, "Caja chica");
    const int r = m.AgregarFila();
    m.Editar(r, 0, "1.1.03");
    EXPECT_THROW(m.Grabar(), AppError) << c.afectadas;
    EXPECT_EQ(cn.rollbacks, 1);
    EXPECT_EQ(cn.commits, 0);
    EXPECT_TRUE(m.HayCambios());
    EXPECT_EQ(m.Texto(0, 1), "Caja chica");
  }
}

TEST(PlanillaTablaModelo, BadValueStopsBeforeAnythingRuns) {
  FakeConnection cn;
  cn.results.push_back(cuentas());
  PlanillaTablaModelo m(cn);
  m.Cargar("MA_CUENTAS");
  m.Editar(0, 1, "ok");
  m.Editar(1, 2, "xx");
  EXPECT_THROW(m.Grabar(), AppError);
  EXPECT_EQ(cn.executed.size(), 1);
  EXPECT_EQ(cn.begins, 0);
}

QApplication &app() { return zv::test::aplicacionQt(); }

TEST(PlanillaTablaDialogo, GridEditsGoThroughTheModel) {
  app();
  FakeConnection cn;
  cn.results.push_back(conIdentidad());
  cn.results.push_back(conIdentidad());
  PlanillaTablaModelo m(cn);
  m.Cargar("TA_PRUEBA");
  zv::test::ScriptedUi ui;
  zv::PlanillaTablaDialogo d(m, ui, "Maestro de Prueba");
  EXPECT_EQ(d.windowTitle(), "Maestro de Prueba");
  QTableWidget *g = d.tabla();
  ASSERT_EQ(g->rowCount(), 2);
  ASSERT_EQ(g->columnCount(), 3);
  EXPECT_EQ(g->horizontalHeaderItem(1)->text(), "Nombre");
  EXPECT_EQ(g->item(1, 1)->text(), "Dos");
  EXPECT_FALSE(g->item(0, 0)->flags() & Qt::ItemIsEditable);
  for (const char *b : {"BotonAgregar", "BotonBorrar", "BotonGrabar", "BotonCerrar"})
    EXPECT_NE(d.findChild<QPushButton *>(b), nullptr) << b;

  g->item(1, 1)->setText("Dos bis");
  g->setCurrentCell(0, 1);
  ui.expectMsg(QString::fromUtf8("¿Borra la fila seleccionada?"), 4 + 32 + 256, "Maestro de Prueba",
               zv::vb::Yes);
  d.findChild<QPushButton *>("BotonBorrar")->click();
  EXPECT_EQ(g->rowCount(), 1);
  d.findChild<QPushButton *>("BotonGrabar")->click();
  EXPECT_EQ(cn.executed.mid(1, 2),
            QStringList({"DELETE FROM TA_PRUEBA WHERE [Numero] = 7",
                         "UPDATE TA_PRUEBA SET [Nombre] = 'Dos bis' WHERE [Numero] = 9"}));
  ui.verify();
}

TEST(PlanillaTablaDialogo, ClosingWithChangesAsks) {
  app();
  FakeConnection cn;
  cn.results.push_back(conIdentidad());
  PlanillaTablaModelo m(cn);
  m.Cargar("TA_PRUEBA");
  zv::test::ScriptedUi ui;
  zv::PlanillaTablaDialogo d(m, ui, "T");
  d.show();
  d.tabla()->item(0, 1)->setText("cambio");
  ui.expectMsg(QString::fromUtf8("¿Desea grabar los cambios?"), 3 + 32, "T", zv::vb::Cancel);
  d.Cerrar();
  EXPECT_TRUE(d.isVisible());
  ui.expectMsg(QString::fromUtf8("¿Desea grabar los cambios?"), 3 + 32, "T", zv::vb::No);
  d.Cerrar();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(cn.executed.size(), 1); // nothing written
  ui.verify();
}

TEST(PlanillaTabla, OpensItsOwnConnectionAndReportsFailures) {
  app();
  auto *cn = new FakeConnection;
  cn->results.push_back(conIdentidad());
  zv::test::ScriptedUi ui;
  zv::PlanillaTabla p([cn] { return std::unique_ptr<ado::Connection>(cn); }, ui);
  QTimer::singleShot(0, [] {
    if (QWidget *w = QApplication::activeModalWidget())
      static_cast<QDialog *>(w)->done(0);
  });
  EXPECT_TRUE(p.Abrir("TA_PRUEBA", "Provider=SQLOLEDB;Data Source=SRV", "Maestro de Cuentas"));

  auto *vacia = new FakeConnection; // no such table
  zv::PlanillaTabla q([vacia] { return std::unique_ptr<ado::Connection>(vacia); }, ui);
  ui.expectMsg("Invalid object name", 16, "Maestro de Cuentas", zv::vb::OK);
  EXPECT_FALSE(q.Abrir("MA_CUENTAS", "cs", "Maestro de Cuentas"));
  ui.verify();
}

} // namespace
