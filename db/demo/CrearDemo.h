#pragma once
// Demo databases for the embedded engine: the company database DEMO (a Spanish
// chart of accounts, a generated journal, and every table, view and setting
// the program reads or rewrites) and the statistics database ZI_RODUVARUDUVU.
// Both are created through the engine, in a folder of their own, and never
// over existing files.
#include "platform/Ado.h"
#include "platform/AppError.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace zv::demo {

inline constexpr int RenglonesPorDefecto = 2000;

// Error numbers of a refused or failed creation (the runtime's own numbers).
namespace errdemo {
constexpr long ArchivoExistente = 58; // file already exists
constexpr long CarpetaInvalida = 76;  // path not found / cannot be made
constexpr long CantidadInvalida = 5;  // invalid procedure call or argument
} // namespace errdemo

struct ResumenDemo {
  QString carpeta;             // absolute
  QString archivoEmpresa;      // CARPETA/DEMO.sqlite
  QString archivoEstadisticas; // CARPETA/ZI_RODUVARUDUVU.sqlite
  int cuentas = 0;
  int renglones = 0;
};

// One journal line as the generator makes it.
struct RenglonAsiento {
  int nroAsiento = 0;
  int renglon = 0;
  QString fecha; // yyyy-MM-dd HH:mm:ss
  QString cuenta;
  QString cabCuenta; // account of the entry's first line
  QString detalle;
  qint64 debeCentavos = 0;
  qint64 haberCentavos = 0;
  QString tc;
  QString idComprobante;
};

class CrearDemo {
public:
  static inline const QString BaseEmpresa = QStringLiteral("DEMO");
  static inline const QString BaseEstadisticas = QStringLiteral("ZI_RODUVARUDUVU");

  explicit CrearDemo(const QString &carpeta, int renglones = RenglonesPorDefecto);

  // Creates both databases. Throws AppError: ArchivoExistente when either file
  // is already there (nothing written), CarpetaInvalida when the folder cannot
  // be made, CantidadInvalida for a negative count, and the engine's own error
  // when a statement fails (the files made so far are removed).
  ResumenDemo crear();

  static QString archivo(const QString &carpeta, const QString &base);
  // "PROVIDER=SQLOLEDB;Server=SQLITE;Database =B;UId=B;Pwd=B;"
  static QString cadenaConexion(const QString &base);

  // The journal: n lines, the same n always giving the same lines. Entries
  // have two lines (three for the last one when n is odd) and balance; a
  // journal of one line is the only one that cannot.
  static QVector<RenglonAsiento> generarAsientos(int n);

  // The codes of the chart, in order, and those that take journal lines.
  static QStringList codigosPlan();
  static QStringList codigosImputables();

private:
  void crearEmpresa(ado::Connection &cn, ResumenDemo &resumen);
  void crearEstadisticas(ado::Connection &cn);
  QString carpeta_;
  int renglones_;
};

} // namespace zv::demo
