#pragma once
// The batch mode: the program's own import and save commands run without a
// window, for administrators and scripts. Every notice and message goes to
// standard error as "title: text" and is answered by the options; each batch
// is also written to standard output.
//
//   recodificador --lote ARCHIVO [--solo-sql] [--fusionar] [--testigo SALIDA.htm] "<connection pairs>"
//
// Exit status: 0 when every row with something in it was recoded (or
// generated), 1 when any was refused or failed, 2 for usage, connection or
// login failures.
#include <QString>
#include <QStringList>
#include <optional>

namespace zv::app {

namespace salidaLote {
constexpr int Completo = 0;
constexpr int ConRechazos = 1;
constexpr int SinInicio = 2;
} // namespace salidaLote

struct OpcionesLote {
  QString archivo;       // the pair file
  bool soloSql = false;  // only generate the batches
  bool fusionar = false; // an existing new code is merged into
  QString testigo;       // where the witness report goes; empty: none
  QStringList conexion;  // the connection pairs of the normal command line
};

// Reads the arguments that follow the program (the first is "--lote").
// Without a result, `motivo` says what is wrong.
std::optional<OpcionesLote> LeerOpcionesLote(const QStringList &args, QString &motivo);

// The summary line of a run.
QString ResumenLote(int procesados, int rechazados, int conError);

// The batch run for the program's command line; returns the exit status.
int ModoLote(int argc, char **argv, const QStringList &args);

} // namespace zv::app
