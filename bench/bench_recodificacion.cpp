// How much the recoder's own path costs over the bare SQLite work of a recode.
//
// Builds the demo company database with N journal lines, chooses P account
// pairs, and recodes them twice on two copies of that database:
//  - "motor": the recoder's own engine (Lib_ClsRecodificacion's
//    ProcesoPrincipal) over a sheet holding the P pairs, on the main
//    database object opened on the demo, with no display: per row the
//    existence query, the column list of MA_CUENTAS, the pair's batch and
//    one execute of it; the closing witness question is answered No. Only
//    that call is timed; each batch it runs must be the one worked out
//    beforehand from the untouched demo;
//  - "crudo": the same batches, translated to SQLite beforehand with the
//    engine's own translator, run straight through the sqlite3 library
//    (prepare + step of each statement; the journal triggers dropped and
//    created again, as the engine does when it switches them off and on).
// Both copies must end with the same data, or the program fails.
//
// Build and run (Release):
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_recodificacion -j2
//   build-bench/bench/bench_recodificacion [--asientos N] [--pares P]
//        [--repeticiones R] [--curva] [--carpeta DIR]
//
//   --asientos N      journal lines of the demo (default 1000000)
//   --pares P         pairs recoded (default 20); every tenth pair is a merge
//                     into an existing account
//   --repeticiones R  runs per measurement on fresh copies, best time of
//                     each side kept; the side that runs first alternates
//                     (default 1)
//   --curva           also time P = 5, 10, 20, 50 at N, and N = 100000 and
//                     1000000 at P
//   --carpeta DIR     work folder (default: a temporary folder, removed at
//                     the end). Demos built there (DIR/base-N) are kept and
//                     reused by later runs; they are never modified.
//
// Times are wall clock (steady_clock) of all P pairs, the demo build and the
// copies left out; processor time is shown beside them, as a busy machine
// moves wall time a lot. A run needs about three times the demo's file on
// disk (some 170 MB for 1000000 lines).
//
// Exit code 0 when every run ended with identical data in both copies, 1 on
// a mismatch or any failure, 2 for bad arguments.
#include "app/CampoValida.h"
#include "app/HojaRecodificacion.h"
#include "app/LoteRecodificacion.h"
#include "app/ProcesoPrincipal.h"
#include "db/DB_Dll.h"
#include "db/EntornoDB.h"
#include "db/demo/CrearDemo.h"
#include "platform/Ado.h"
#include "platform/AppError.h"
#include "platform/Kit.h"
#include "platform/Proveedores.h"
#include "platform/SistemaReal.h"
#include "platform/UiHeadless.h"
#include "platform/sqlite/TsqlTraductor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;
using zv::demo::CrearDemo;
namespace ado = zv::ado;
namespace app = zv::app;
namespace sq = zv::sqlite;

[[noreturn]] void fallar(const QString &texto) { throw std::runtime_error(texto.toStdString()); }

double segundos(Reloj::duration d) { return std::chrono::duration<double>(d).count(); }

// Processor time of the process (user and system), in seconds: on a busy
// machine it shows what each side costs apart from waiting for a processor.
double cpu() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// ---------------------------------------------------------------------------
// Plain sqlite3 helpers (the raw side and the checks).

class Base {
public:
  // Read-write even for the checks: a WAL database needs its shared-memory
  // file, which a read-only handle may not create.
  explicit Base(const QString &archivo) {
    if (sqlite3_open_v2(QFile::encodeName(archivo).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
      const QString m = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("sin memoria");
      sqlite3_close_v2(db_);
      db_ = nullptr;
      fallar(QStringLiteral("No se pudo abrir %1: %2").arg(archivo, m));
    }
    // The engine's connection settings, so that both sides do the same work.
    char *msg = nullptr;
    if (sqlite3_exec(db_, "PRAGMA foreign_keys=ON; SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                     &msg) != SQLITE_OK) {
      const QString m = QString::fromUtf8(msg ? msg : "");
      sqlite3_free(msg);
      sqlite3_close_v2(db_);
      db_ = nullptr;
      fallar(QStringLiteral("No se pudo abrir %1: %2").arg(archivo, m));
    }
    sqlite3_busy_timeout(db_, 30000);
  }
  ~Base() { sqlite3_close_v2(db_); }
  Base(const Base &) = delete;
  Base &operator=(const Base &) = delete;

  sqlite3 *handle() const { return db_; }

  [[noreturn]] void error(const QByteArray &sql) const {
    fallar(QStringLiteral("SQLite: %1\n  en: %2")
               .arg(QString::fromUtf8(sqlite3_errmsg(db_)), QString::fromUtf8(sql.left(300))));
  }

  sqlite3_stmt *preparar(const QByteArray &sql) const {
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db_, sql.constData(), int(sql.size()), &s, nullptr) != SQLITE_OK) {
      sqlite3_finalize(s);
      error(sql);
    }
    return s;
  }

  void exec(const QByteArray &sql) const {
    char *msg = nullptr;
    if (sqlite3_exec(db_, sql.constData(), nullptr, nullptr, &msg) != SQLITE_OK) {
      const QString m = QString::fromUtf8(msg ? msg : "");
      sqlite3_free(msg);
      fallar(QStringLiteral("SQLite: %1\n  en: %2").arg(m, QString::fromUtf8(sql.left(300))));
    }
  }

  // Rows of a query as texts (NULL as a null QString).
  QVector<QStringList> filas(const QByteArray &sql, const QStringList &valores = {}) const {
    sqlite3_stmt *s = preparar(sql);
    for (int i = 0; i < valores.size(); ++i) {
      const QByteArray v = valores[i].toUtf8();
      sqlite3_bind_text(s, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
    }
    QVector<QStringList> out;
    const int n = sqlite3_column_count(s);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
      QStringList f;
      for (int c = 0; c < n; ++c) {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(s, c));
        f << (p ? QString::fromUtf8(p, sqlite3_column_bytes(s, c)) : QString());
      }
      out << f;
    }
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE)
      error(sql);
    return out;
  }

  qint64 entero(const QByteArray &sql, const QStringList &valores = {}) const {
    const auto f = filas(sql, valores);
    return f.isEmpty() ? 0 : f[0][0].toLongLong();
  }

private:
  sqlite3 *db_ = nullptr;
};

// ---------------------------------------------------------------------------
// Folders and copies.

QString archivoDemo(const QString &carpeta) { return CrearDemo::archivo(carpeta, CrearDemo::BaseEmpresa); }

void copiarDemo(const QString &origen, const QString &destino) {
  QDir(destino).removeRecursively();
  if (!QDir().mkpath(destino))
    fallar(QStringLiteral("No se pudo crear la carpeta %1").arg(destino));
  const QString a = archivoDemo(origen);
  const QString b = archivoDemo(destino);
  if (!QFile::copy(a, b))
    fallar(QStringLiteral("No se pudo copiar %1 a %2").arg(a, b));
  // A journal left beside the file belongs to it.
  if (QFile::exists(a + QStringLiteral("-wal")) &&
      !QFile::copy(a + QStringLiteral("-wal"), b + QStringLiteral("-wal")))
    fallar(QStringLiteral("No se pudo copiar el diario de %1").arg(a));
}

// The demo with n journal lines in `carpeta`/base-n, built once.
QString baseDemo(const QString &carpeta, int n) {
  const QString dir = QDir(carpeta).filePath(QStringLiteral("base-%1").arg(n));
  if (QFile::exists(archivoDemo(dir))) {
    Base b(archivoDemo(dir));
    const qint64 hay = b.entero("SELECT count(*) FROM MV_ASIENTOS");
    if (hay != n)
      fallar(QStringLiteral("%1 tiene %2 renglones, no %3: bórrelo o use otra carpeta")
                 .arg(archivoDemo(dir))
                 .arg(hay)
                 .arg(n));
    std::printf("Demo de %d renglones: ya estaba en %s\n", n, qPrintable(dir));
    return dir;
  }
  std::printf("Creando la demo de %d renglones en %s ...\n", n, qPrintable(dir));
  std::fflush(stdout);
  const auto t0 = Reloj::now();
  CrearDemo(dir, n).crear();
  std::printf("  hecha en %.1f s (%.0f MB)\n", segundos(Reloj::now() - t0),
              double(QFileInfo(archivoDemo(dir)).size()) / 1e6);
  return dir;
}

// ---------------------------------------------------------------------------
// The pairs and their batches, worked out on the untouched demo.

struct Par {
  app::ParRecodificacion datos;
  bool fusion = false;
  QString lote;            // the batch the recoder sends
  qint64 renglonesAct = 0; // journal lines of the current code before the run
  qint64 renglonesNvo = 0; // and of the new code (merges only)
};

std::unique_ptr<ado::Connection> conectar(const QString &carpeta) {
  zv::ProviderConfig cfg;
  cfg.dataFolder = carpeta;
  auto cnn = zv::createSqliteConnection(cfg);
  cnn->open(CrearDemo::cadenaConexion(CrearDemo::BaseEmpresa));
  return cnn;
}

const app::InformeRutina &informeQueFalla() {
  static const app::InformeRutina f = [](const zv::AppError &e, const QString &rutina) -> int {
    fallar(QStringLiteral("%1: error %2: %3").arg(rutina).arg(e.number()).arg(e.description()));
  };
  return f;
}

bool existe(ado::Connection &cnn, const QString &nvo) {
  ado::Recordset rs;
  rs.open(app::ConsultaExistencia(nvo), cnn, ado::adOpenForwardOnly, ado::adLockReadOnly, -1);
  const bool hay = !rs.bof();
  rs.close();
  return hay;
}

// Current codes: the first P leaf accounts, in code order, that have journal
// lines. New codes: 9.9.99.001 onwards; every tenth pair instead merges into
// one of the last such accounts, which no other pair touches.
std::vector<Par> elegirPares(const QString &carpetaBase, int p) {
  Base b(archivoDemo(carpetaBase));
  const auto hojas =
      b.filas("SELECT c.CODIGO FROM MA_CUENTAS c "
              "WHERE EXISTS (SELECT 1 FROM MV_ASIENTOS a WHERE a.CUENTA = c.CODIGO) "
              "AND NOT EXISTS (SELECT 1 FROM MA_CUENTAS h WHERE h.CODIGO LIKE c.CODIGO || '.%') "
              "ORDER BY c.CODIGO");
  const int fusiones = p / 10;
  if (p < 1 || p + fusiones > int(hojas.size()))
    fallar(QStringLiteral("La demo tiene %1 cuentas con renglones: no alcanzan para %2 pares")
               .arg(hojas.size())
               .arg(p));
  std::vector<Par> pares;
  int destino = int(hojas.size()) - 1;
  for (int i = 0; i < p; ++i) {
    Par par;
    par.datos.act = hojas[i][0];
    par.fusion = (i + 1) % 10 == 0;
    par.datos.nvo =
        par.fusion ? hojas[destino--][0] : QStringLiteral("9.9.99.%1").arg(i + 1, 3, 10, QLatin1Char('0'));
    par.renglonesAct = b.entero("SELECT count(*) FROM MV_ASIENTOS WHERE CUENTA = ?1", {par.datos.act});
    par.renglonesNvo = b.entero("SELECT count(*) FROM MV_ASIENTOS WHERE CUENTA = ?1", {par.datos.nvo});
    pares.push_back(par);
  }

  // The batches as the recoder builds them, from the same queries.
  auto cnn = conectar(carpetaBase);
  for (Par &par : pares) {
    par.datos.nvoExiste = existe(*cnn, par.datos.nvo);
    if (par.datos.nvoExiste != par.fusion)
      fallar(QStringLiteral("El código nuevo %1 %2 en la demo")
                 .arg(par.datos.nvo, par.fusion ? "no existe" : "ya existe"));
    QString tipos;
    par.datos.columnas = app::VerificaCampos(*cnn, CrearDemo::BaseEmpresa, "MA_CUENTAS", "CODIGO", "", "ID",
                                             false, tipos, informeQueFalla());
    if (par.datos.columnas.isEmpty())
      fallar(QStringLiteral("MA_CUENTAS sin columnas"));
    par.lote = app::LotePar(par.datos);
  }
  cnn->close();
  return pares;
}

// ---------------------------------------------------------------------------
// The recoder's own engine: the sheet filled with the pairs and the run of
// the save command over it, on the main database object.

struct TiemposMotor {
  double total = 0, cpu = 0;
  // From each row's status line to its batch being shown (existence query,
  // column list, batch), and from there to the next row (the execute).
  double preparacion = 0, ejecucion = 0;
};

TiemposMotor correrMotor(const QString &carpeta, const std::vector<Par> &pares) {
  // The only message the run may show is the closing witness question; it
  // is answered No. Anything else is an error reported to the operator.
  QStringList inesperados;
  zv::UiHeadless ui([&](const QString &texto, int botones, const QString &titulo) {
    if (texto == app::Lib_ClsRecodificacion::PreguntaTestigo())
      return zv::vb::No;
    inesperados << zv::UiHeadless::line(titulo, texto);
    return (botones & 7) == zv::vb::AbortRetryIgnore ? zv::vb::Abort : zv::UiHeadless::defaultAnswer(botones);
  });
  zv::SistemaReal sistema(QStringList{QCoreApplication::applicationFilePath()});
  zv::ProviderConfig cfg;
  cfg.dataFolder = carpeta;
  zv::db::EntornoDB entorno(ui, sistema, zv::connectionFactory(cfg));
  zv::db::DB_Dll &bd = entorno.principal();
  bd.gServidor = QStringLiteral("SQLITE");
  bd.gDBName = bd.gUsuario = bd.gUserPassWord = CrearDemo::BaseEmpresa;
  entorno.valores.gUsuarioLogeado = QStringLiteral("ADMIN");
  bd.OpenServerADODB(false, 3, QString(), true, true);
  if (!bd.gOpenFlag)
    fallar(QStringLiteral("No se pudo abrir la demo de %1: %2")
               .arg(carpeta, inesperados.join(QLatin1String("; "))));

  app::ValidacionCuentas validacion(bd, ui);
  app::HojaRecodificacion hoja(ui, validacion);
  hoja.InicializaGrid2();
  app::Grilla &g = hoja.MSFlexGrid1;
  for (const Par &par : pares) {
    const int r = g.Rows() - 1;
    g.setTextMatrix(r, 0, par.datos.act);
    g.setTextMatrix(r, 2, par.datos.nvo);
    g.AddRow();
  }

  zv::kit::DialogoArchivo dialogo(ui);
  app::Lib_ClsRecodificacion motor(hoja, bd, dialogo);
  QStringList lotes, informes;
  std::vector<Reloj::time_point> filas, mostrados;
  lotes.reserve(int(pares.size()));
  filas.reserve(pares.size() + 2);
  mostrados.reserve(pares.size());
  motor.CartelMostrar = [&](const QString &) { filas.push_back(Reloj::now()); };
  motor.MostrarSQL = [&](const QString &lote) {
    mostrados.push_back(Reloj::now());
    lotes << lote;
  };
  motor.SoloGenerar = [] { return false; };
  motor.InformarError = [&](const zv::AppError &e, const QString &rutina) {
    informes << QStringLiteral("%1: error %2: %3").arg(rutina).arg(e.number()).arg(e.description());
    return zv::vb::Abort;
  };
  motor.InformeVerificaCampos = motor.InformarError;

  TiemposMotor t;
  const double c0 = cpu();
  const auto t0 = Reloj::now();
  motor.ProcesoPrincipal();
  const auto t1 = Reloj::now();
  t.cpu = cpu() - c0;
  t.total = segundos(t1 - t0);
  bd.Cnn().close();

  const app::ResumenRecodificacion &r = motor.Resumen();
  if (!informes.isEmpty() || !inesperados.isEmpty() || r.abandonado || r.conError != 0 ||
      r.procesados != int(pares.size()))
    fallar(QStringLiteral("La corrida del motor recodificó %1 de %2 pares (%3 con error%4): %5")
               .arg(r.procesados)
               .arg(pares.size())
               .arg(r.conError)
               .arg(r.abandonado ? QStringLiteral(", abandonada") : QString())
               .arg((informes + inesperados).join(QLatin1String("; "))));
  if (lotes.size() != int(pares.size()))
    fallar(QStringLiteral("El motor mostró %1 lotes para %2 pares").arg(lotes.size()).arg(pares.size()));
  for (std::size_t i = 0; i < pares.size(); ++i)
    if (lotes[int(i)] != pares[i].lote)
      fallar(QStringLiteral("El lote de %1 no es el previsto").arg(pares[i].datos.act));
  // One status line per row, the sheet's last empty row and the closing
  // blank one.
  if (filas.size() != pares.size() + 2)
    fallar(QStringLiteral("El motor mostró %1 líneas de estado para %2 pares")
               .arg(filas.size())
               .arg(pares.size()));
  Reloj::duration preparacion{}, ejecucion{};
  for (std::size_t i = 0; i < pares.size(); ++i) {
    preparacion += mostrados[i] - filas[i];
    ejecucion += filas[i + 1] - mostrados[i];
  }
  t.preparacion = segundos(preparacion);
  t.ejecucion = segundos(ejecucion);
  return t;
}

// ---------------------------------------------------------------------------
// The same statements straight through sqlite3.

struct Paso {
  enum Tipo { Sql, Si, Iniciar, Confirmar, Deshacer, ApagarDisparadores, EncenderDisparadores } tipo = Sql;
  QByteArray sql; // Sql: the text; Si: the condition
  bool usaTranCount = false;
  QString tabla;            // triggers
  std::vector<Paso> cuerpo; // Si: what runs when the condition holds
};

// " (a, b ...)": the columns an INSERT without a list fills when the table
// has an identity column, as the engine completes such an INSERT.
QString columnasSinIdentidad(const Base &b, const QString &tabla) {
  const auto sql =
      b.filas("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE", {tabla});
  if (sql.isEmpty() || !sql[0][0].contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive))
    return {};
  QStringList nombres;
  bool identidad = false;
  for (const QStringList &c : b.filas("SELECT name, pk, type, hidden FROM pragma_table_xinfo(?1)", {tabla})) {
    if (c[3] != QLatin1String("0"))
      continue;
    if (c[1] == QLatin1String("1") && c[2].compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0) {
      identidad = true;
      continue;
    }
    QString n = c[0];
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    nombres << QLatin1Char('"') + n + QLatin1Char('"');
  }
  if (!identidad || nombres.isEmpty())
    return {};
  return QStringLiteral(" (") + nombres.join(QStringLiteral(", ")) + QLatin1Char(')');
}

void traducir(const Base &b, const std::vector<sq::Statement> &lista, std::vector<Paso> &out) {
  for (const sq::Statement &st : lista) {
    auto piezas = [&](std::vector<Paso> &destino) {
      for (const sq::SqlPiece &p : st.sql) {
        Paso paso;
        QString texto = p.text;
        if (p.insertColumnsAt >= 0)
          texto.insert(p.insertColumnsAt, columnasSinIdentidad(b, st.table));
        paso.sql = texto.toUtf8();
        paso.usaTranCount = p.usesTranCount;
        destino.push_back(paso);
      }
    };
    switch (st.kind) {
    case sq::Kind::Query:
    case sq::Kind::Insert:
    case sq::Kind::Update:
    case sq::Kind::Delete:
      piezas(out);
      break;
    case sq::Kind::BeginTran:
      out.push_back({Paso::Iniciar, {}, false, {}, {}});
      break;
    case sq::Kind::CommitTran:
      out.push_back({Paso::Confirmar, {}, false, {}, {}});
      break;
    case sq::Kind::RollbackTran:
      out.push_back({Paso::Deshacer, {}, false, {}, {}});
      break;
    case sq::Kind::DisableTriggers:
    case sq::Kind::EnableTriggers: {
      if (!st.names.isEmpty())
        fallar(QStringLiteral("Disparadores con nombre: no previsto en el banco"));
      Paso p;
      p.tipo = st.kind == sq::Kind::DisableTriggers ? Paso::ApagarDisparadores : Paso::EncenderDisparadores;
      p.tabla = st.table;
      out.push_back(p);
      break;
    }
    case sq::Kind::If: {
      if (st.body.size() > 1)
        fallar(QStringLiteral("IF con ELSE: no previsto en el banco"));
      Paso p;
      p.tipo = Paso::Si;
      p.sql = st.sql[0].text.toUtf8();
      p.usaTranCount = st.sql[0].usesTranCount;
      traducir(b, {st.body[0]}, p.cuerpo);
      out.push_back(std::move(p));
      break;
    }
    case sq::Kind::Block:
      traducir(b, st.body, out);
      break;
    case sq::Kind::SetOption:
    case sq::Kind::NoOp:
      break;
    default:
      fallar(QStringLiteral("Sentencia no prevista en el banco: %1").arg(st.source.left(120)));
    }
  }
}

std::vector<Paso> traducirTexto(const Base &b, const QString &texto) {
  const sq::TsqlTraductor traductor;
  std::vector<Paso> pasos;
  for (const sq::Batch &lote : traductor.analizar(texto)) {
    if (lote.failed)
      fallar(QStringLiteral("El traductor rechaza el lote: %1").arg(lote.message));
    traducir(b, lote.statements, pasos);
  }
  return pasos;
}

class Crudo {
public:
  explicit Crudo(const Base &b) : b_(b) {}

  void correr(const std::vector<Paso> &pasos) {
    for (const Paso &p : pasos) {
      switch (p.tipo) {
      case Paso::Sql:
        paso(p);
        break;
      case Paso::Si:
        if (paso(p))
          correr(p.cuerpo);
        break;
      case Paso::Iniciar:
        if (nivel_++ == 0)
          b_.exec("BEGIN");
        break;
      case Paso::Confirmar:
        if (nivel_ == 0)
          fallar(QStringLiteral("COMMIT sin BEGIN"));
        if (--nivel_ == 0)
          b_.exec("COMMIT");
        break;
      case Paso::Deshacer:
        if (nivel_ > 0)
          b_.exec("ROLLBACK");
        nivel_ = 0;
        break;
      case Paso::ApagarDisparadores: {
        // Kept aside and dropped, as one step.
        b_.exec("SAVEPOINT banco_trg");
        auto &guardados = apagados_[p.tabla.toUpper()];
        for (const QStringList &t :
             b_.filas("SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 COLLATE "
                      "NOCASE",
                      {p.tabla})) {
          guardados.push_back(t[1].toUtf8());
          QString n = t[0];
          n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
          b_.exec("DROP TRIGGER \"" + n.toUtf8() + '"');
        }
        b_.exec("RELEASE banco_trg");
        break;
      }
      case Paso::EncenderDisparadores: {
        b_.exec("SAVEPOINT banco_trg");
        auto &guardados = apagados_[p.tabla.toUpper()];
        for (const QByteArray &sql : guardados)
          b_.exec(sql);
        guardados.clear();
        b_.exec("RELEASE banco_trg");
        break;
      }
      }
    }
  }

private:
  // Prepares, runs and finalizes one statement; the first column of its
  // last row, for a condition.
  bool paso(const Paso &p) {
    sqlite3_stmt *s = b_.preparar(p.sql);
    if (p.usaTranCount)
      sqlite3_bind_int(s, sqlite3_bind_parameter_index(s, "$zv_trancount"), nivel_);
    qint64 v = 0;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
      v = sqlite3_column_int64(s, 0);
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE)
      b_.error(p.sql);
    return v != 0;
  }

  const Base &b_;
  int nivel_ = 0;
  std::map<QString, std::vector<QByteArray>> apagados_;
};

struct TiemposCrudo {
  double total = 0, cpu = 0, consulta = 0, lote = 0;
  double traduccion = 0; // analysing the batches, untimed above
};

TiemposCrudo correrCrudo(const QString &carpeta, const std::vector<Par> &pares) {
  Base b(archivoDemo(carpeta));
  // Translated before the clock starts.
  std::vector<std::vector<Paso>> consultas, lotes;
  for (const Par &par : pares) {
    consultas.push_back(traducirTexto(b, app::ConsultaExistencia(par.datos.nvo)));
    lotes.push_back(traducirTexto(b, par.lote));
  }
  const auto t1 = Reloj::now();
  for (const Par &par : pares)
    (void)sq::TsqlTraductor().analizar(par.lote);
  const double traduccion = segundos(Reloj::now() - t1);
  Crudo crudo(b);
  Reloj::duration consulta{}, lote{};
  const double c0 = cpu();
  const auto t0 = Reloj::now();
  for (std::size_t i = 0; i < pares.size(); ++i) {
    const auto a = Reloj::now();
    crudo.correr(consultas[i]);
    const auto c = Reloj::now();
    crudo.correr(lotes[i]);
    const auto d = Reloj::now();
    consulta += c - a;
    lote += d - c;
  }
  TiemposCrudo t;
  t.cpu = cpu() - c0;
  t.total = segundos(Reloj::now() - t0);
  t.consulta = segundos(consulta);
  t.lote = segundos(lote);
  t.traduccion = traduccion;
  return t;
}

// ---------------------------------------------------------------------------
// The two copies must hold the same data, and the recode must have happened.

quint64 mezclar(quint64 h, const void *datos, int n) {
  const auto *p = static_cast<const unsigned char *>(datos);
  for (int i = 0; i < n; ++i) {
    h ^= p[i];
    h *= 1099511628211ull;
  }
  return h;
}

// Row count and a digest of every value of a table, in rowid order.
QPair<qint64, quint64> huella(const Base &b, const QString &tabla) {
  QString n = tabla;
  n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  sqlite3_stmt *s = b.preparar("SELECT * FROM \"" + n.toUtf8() + "\" ORDER BY rowid");
  const int columnas = sqlite3_column_count(s);
  quint64 h = 14695981039346656037ull;
  qint64 filas = 0;
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    ++filas;
    for (int c = 0; c < columnas; ++c) {
      const unsigned char tipo = static_cast<unsigned char>(sqlite3_column_type(s, c));
      h = mezclar(h, &tipo, 1);
      if (tipo == SQLITE_NULL)
        continue;
      const void *v = sqlite3_column_blob(s, c);
      const int largo = sqlite3_column_bytes(s, c);
      h = mezclar(h, &largo, int(sizeof largo));
      if (largo > 0)
        h = mezclar(h, v, largo);
    }
  }
  sqlite3_finalize(s);
  if (rc != SQLITE_DONE)
    b.error("SELECT * FROM " + n.toUtf8());
  return {filas, h};
}

void comparar(const QString &motor, const QString &crudo, const std::vector<Par> &pares,
              qint64 disparadoresBase) {
  Base a(archivoDemo(motor));
  Base b(archivoDemo(crudo));
  const QByteArray objetos = "SELECT type, name, tbl_name, sql FROM sqlite_master "
                             "WHERE name NOT LIKE 'sqlite_autoindex%' ORDER BY type, name";
  QStringList diferencias;
  if (a.filas(objetos) != b.filas(objetos))
    diferencias << QStringLiteral("los objetos del esquema");
  for (const QStringList &t : a.filas("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")) {
    const auto x = huella(a, t[0]);
    const auto y = huella(b, t[0]);
    if (x != y)
      diferencias << QStringLiteral("%1 (%2 filas contra %3, contenido distinto)")
                         .arg(t[0])
                         .arg(x.first)
                         .arg(y.first);
  }
  // The recode itself, checked on the engine's copy.
  for (const Par &par : pares) {
    const QString &act = par.datos.act, &nvo = par.datos.nvo;
    if (a.entero("SELECT count(*) FROM MA_CUENTAS WHERE CODIGO = ?1", {act}) != 0 ||
        a.entero("SELECT count(*) FROM MV_ASIENTOS WHERE CUENTA = ?1 OR CABCUENTA = ?1", {act}) != 0)
      diferencias << QStringLiteral("el código %1 sigue en MA_CUENTAS o MV_ASIENTOS").arg(act);
    if (a.entero("SELECT count(*) FROM MA_CUENTAS WHERE CODIGO = ?1", {nvo}) != 1)
      diferencias << QStringLiteral("el código %1 no quedó una vez en MA_CUENTAS").arg(nvo);
    const qint64 esperados = par.renglonesAct + (par.fusion ? par.renglonesNvo : 0);
    const qint64 hay = a.entero("SELECT count(*) FROM MV_ASIENTOS WHERE CUENTA = ?1", {nvo});
    if (hay != esperados)
      diferencias
          << QStringLiteral("%1 tiene %2 renglones, se esperaban %3").arg(nvo).arg(hay).arg(esperados);
  }
  for (const Base *x : {&a, &b})
    if (x->entero("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = 'MV_ASIENTOS' "
                  "COLLATE NOCASE") != disparadoresBase)
      diferencias << QStringLiteral("los disparadores de MV_ASIENTOS no volvieron en %1")
                         .arg(x == &a ? "la copia del motor" : "la copia cruda");
  if (!diferencias.isEmpty())
    fallar(QStringLiteral("LAS COPIAS DIFIEREN: ") + diferencias.join(QStringLiteral("; ")));
}

// ---------------------------------------------------------------------------

struct Medida {
  int renglones = 0;
  int pares = 0;
  qint64 movidos = 0; // journal lines whose account changes
  TiemposMotor motor;
  TiemposCrudo crudo;
  double razon() const { return crudo.total > 0 ? motor.total / crudo.total : 0; }
  double razonCpu() const { return crudo.cpu > 0 ? motor.cpu / crudo.cpu : 0; }
};

Medida medir(const QString &carpeta, const QString &base, int renglones, int p, int repeticiones) {
  const std::vector<Par> pares = elegirPares(base, p);
  qint64 disparadores = 0;
  {
    Base b(archivoDemo(base));
    disparadores = b.entero("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = "
                            "'MV_ASIENTOS' COLLATE NOCASE");
  }
  Medida m;
  m.renglones = renglones;
  m.pares = p;
  for (const Par &par : pares)
    m.movidos += par.renglonesAct;
  m.motor.total = m.crudo.total = std::numeric_limits<double>::max();
  m.motor.cpu = m.crudo.cpu = std::numeric_limits<double>::max();
  const QString dirMotor = QDir(carpeta).filePath(QStringLiteral("motor"));
  const QString dirCrudo = QDir(carpeta).filePath(QStringLiteral("crudo"));
  for (int r = 0; r < repeticiones; ++r) {
    copiarDemo(base, dirMotor);
    copiarDemo(base, dirCrudo);
    // Neither side pays for writing back what came before it, and the order
    // alternates so that neither always finds the caches as the other left
    // them.
    ::sync();
    TiemposMotor tm;
    TiemposCrudo tc;
    const bool motorPrimero = r % 2 == 0;
    if (motorPrimero)
      tm = correrMotor(dirMotor, pares);
    else
      tc = correrCrudo(dirCrudo, pares);
    ::sync();
    if (motorPrimero)
      tc = correrCrudo(dirCrudo, pares);
    else
      tm = correrMotor(dirMotor, pares);
    comparar(dirMotor, dirCrudo, pares, disparadores);
    // Best wall time and best processor time, each on its own.
    const double cpuMotor = std::min(m.motor.cpu, tm.cpu);
    const double cpuCrudo = std::min(m.crudo.cpu, tc.cpu);
    if (tm.total < m.motor.total)
      m.motor = tm;
    if (tc.total < m.crudo.total)
      m.crudo = tc;
    m.motor.cpu = cpuMotor;
    m.crudo.cpu = cpuCrudo;
    std::printf(
        "  N=%d P=%d corrida %d (%s primero): motor %.3f s (cpu %.3f), crudo %.3f s (cpu %.3f), razón %.3f "
        "(cpu %.3f); datos idénticos\n",
        renglones, p, r + 1, motorPrimero ? "motor" : "crudo", tm.total, tm.cpu, tc.total, tc.cpu,
        tc.total > 0 ? tm.total / tc.total : 0.0, tc.cpu > 0 ? tm.cpu / tc.cpu : 0.0);
    std::fflush(stdout);
  }
  QDir(dirMotor).removeRecursively();
  QDir(dirCrudo).removeRecursively();
  return m;
}

void informar(const Medida &m) {
  const double p = m.pares;
  std::printf("\nN = %d renglones, P = %d pares (%d fusiones), %lld renglones cambian de cuenta\n",
              m.renglones, m.pares, m.pares / 10, static_cast<long long>(m.movidos));
  std::printf("  motor  %9.3f s  (%.1f ms/par)  consulta, columnas y lote %.3f  ejecución %.3f  cpu %.3f\n",
              m.motor.total, 1000 * m.motor.total / p, m.motor.preparacion, m.motor.ejecucion, m.motor.cpu);
  std::printf("  crudo  %9.3f s  (%.1f ms/par)  consulta %.3f  lote %.3f  cpu %.3f\n", m.crudo.total,
              1000 * m.crudo.total / p, m.crudo.consulta, m.crudo.lote, m.crudo.cpu);
  std::printf("  traducir los %d lotes (lo que el motor hace en cada execute): %.3f s\n", m.pares,
              m.crudo.traduccion);
  std::printf("  razón motor/crudo %.3f (meta <= 1.10: %s); sólo el lote: %.3f; procesador: %.3f\n",
              m.razon(), m.razon() <= 1.10 ? "cumple" : "NO cumple",
              m.crudo.lote > 0 ? m.motor.ejecucion / m.crudo.lote : 0.0, m.razonCpu());
}

void tabla(const char *titulo, const std::vector<Medida> &medidas) {
  std::printf("\n%s\n", titulo);
  // The pairs' accounts differ in size, so the time per journal line moved
  // tells better than the time per pair whether the cost grows.
  std::printf("  %9s %4s %9s %10s %10s %13s %13s %12s %7s %9s\n", "N", "P", "movidos", "motor s", "crudo s",
              "motor ms/par", "crudo ms/par", "motor us/mov", "razón", "razón cpu");
  for (const Medida &m : medidas)
    std::printf("  %9d %4d %9lld %10.3f %10.3f %13.1f %13.1f %12.1f %7.3f %9.3f\n", m.renglones, m.pares,
                static_cast<long long>(m.movidos), m.motor.total, m.crudo.total,
                1000 * m.motor.total / m.pares, 1000 * m.crudo.total / m.pares,
                m.movidos > 0 ? 1e6 * m.motor.total / double(m.movidos) : 0.0, m.razon(), m.razonCpu());
}

struct Opciones {
  int asientos = 1000000;
  int pares = 20;
  int repeticiones = 1;
  bool curva = false;
  QString carpeta;
};

std::optional<Opciones> leerOpciones(const QStringList &args) {
  Opciones o;
  auto numero = [&](int &i, int &destino, int minimo) {
    if (i + 1 >= args.size())
      return false;
    bool ok = false;
    const int v = args[++i].toInt(&ok);
    if (!ok || v < minimo)
      return false;
    destino = v;
    return true;
  };
  for (int i = 1; i < args.size(); ++i) {
    const QString &a = args[i];
    if (a == QLatin1String("--asientos")) {
      if (!numero(i, o.asientos, 2))
        return std::nullopt;
    } else if (a == QLatin1String("--pares")) {
      if (!numero(i, o.pares, 1))
        return std::nullopt;
    } else if (a == QLatin1String("--repeticiones")) {
      if (!numero(i, o.repeticiones, 1))
        return std::nullopt;
    } else if (a == QLatin1String("--curva")) {
      o.curva = true;
    } else if (a == QLatin1String("--carpeta")) {
      if (i + 1 >= args.size() || args[i + 1].isEmpty())
        return std::nullopt;
      o.carpeta = QDir(args[++i]).absolutePath();
    } else {
      return std::nullopt;
    }
  }
  return o;
}

} // namespace

int main(int argc, char **argv) {
  QCoreApplication qapp(argc, argv);
  const auto opciones = leerOpciones(qapp.arguments());
  if (!opciones) {
    std::fprintf(stderr, "uso: %s [--asientos N] [--pares P] [--repeticiones R] [--curva] [--carpeta DIR]\n",
                 argv[0]);
    return 2;
  }
  const Opciones &o = *opciones;
  try {
    std::optional<QTemporaryDir> temporal;
    QString carpeta = o.carpeta;
    if (carpeta.isEmpty()) {
      temporal.emplace();
      if (!temporal->isValid())
        fallar(QStringLiteral("No se pudo crear una carpeta temporal"));
      carpeta = temporal->path();
    } else if (!QDir().mkpath(carpeta)) {
      fallar(QStringLiteral("No se pudo crear la carpeta %1").arg(carpeta));
    }
    std::printf("Carpeta de trabajo: %s\n", qPrintable(carpeta));

    const QString base = baseDemo(carpeta, o.asientos);
    const Medida principal = medir(carpeta, base, o.asientos, o.pares, o.repeticiones);
    informar(principal);

    if (o.curva) {
      std::vector<Medida> porPares;
      for (int p : {5, 10, 20, 50})
        porPares.push_back(p == o.pares ? principal : medir(carpeta, base, o.asientos, p, o.repeticiones));
      std::vector<Medida> porRenglones;
      for (int n : {100000, 1000000}) {
        if (n == o.asientos) {
          porRenglones.push_back(principal);
          continue;
        }
        const QString otra = baseDemo(carpeta, n);
        porRenglones.push_back(medir(carpeta, otra, n, o.pares, o.repeticiones));
      }
      tabla("Tiempo por par según P (N fijo)", porPares);
      tabla("Tiempo por par según N (P fijo)", porRenglones);
    }
    return 0;
  } catch (const zv::AppError &e) {
    std::fprintf(stderr, "ERROR %ld: %s\n", e.number(), qPrintable(e.description()));
  } catch (const std::exception &e) {
    std::fprintf(stderr, "ERROR: %s\n", e.what());
  }
  return 1;
}
