#pragma once
// The SQL batch that recodes one account: copy (or merge) the account under
// its new code, point every referencing column and configuration key to it,
// delete the old account; all in one transaction with the journal table's
// triggers switched off. Also the column list of a table read from the
// schema (VerificaCampos).
#include "platform/Ado.h"
#include "platform/AppError.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace zv::app {

// When a table step applies.
enum class CondicionPaso {
  Siempre,     // every pair
  NvoNoExiste, // only when the new code is not yet an account
  ConSucursal  // only when a branch is given
};

struct PasoTabla {
  QString tabla;
  QString columna;
  CondicionPaso condicion = CondicionPaso::Siempre;
};

// The referencing columns, in the order the batch updates them.
const QVector<PasoTabla> &PasosTablas();
// The TA_CONFIGURACION keys whose VALOR may hold an account code.
const QStringList &ClavesConfiguracion();

// Sent as two executions of their own when a pair's batch fails, so that no
// transaction stays open and the journal triggers fire again.
inline const QString kDeshacerTransaccion = QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
inline const QString kHabilitarTriggers = QStringLiteral(" alter table mv_asientos enable trigger all ");

// Doubles every apostrophe so that the text can go between apostrophes.
QString EntreComillasSeguro(const QString &texto);

// The query that tells whether the new code is already an account.
QString ConsultaExistencia(const QString &nvo);

// One pair's data. The codes are the sheet's values already trimmed; they go
// into the statements with their apostrophes doubled.
struct ParRecodificacion {
  QString act; // current code
  QString nvo; // new code
  QString suc; // branch, may be empty
  bool nvoExiste = false;
  QString columnas; // VerificaCampos("MA_CUENTAS", "CODIGO", "", "ID", false)
};

// The statements of the pair, in the order they are sent.
QStringList SentenciasPar(const ParRecodificacion &par);
// Each statement preceded by CR LF: the batch starts with a line break and
// has none at its end.
QString UnirLote(const QStringList &sentencias);
// SentenciasPar joined.
QString LotePar(const ParRecodificacion &par);

// Error report of the calling module: receives the error and the routine
// name and returns the answer (4 retry, 5 ignore, anything else leave).
using InformeRutina = std::function<int(const AppError &, const QString &rutina)>;

// The comma-separated list of the columns of `tabla` in catalogue order,
// leaving out x1, x2 and x3 (compared without regard to case); with
// `corchetes` each name is written between brackets. `tipos` receives the
// columns' ADO type codes, comma-separated. Failures go to `informe` with
// the routine name "VerificaCampos"; when the routine is left, the list built
// so far is returned.
QString VerificaCampos(ado::Connection &cnn, const QString &gDBName, const QString &tabla, const QString &x1,
                       const QString &x2, const QString &x3, bool corchetes, QString &tipos,
                       const InformeRutina &informe);

} // namespace zv::app
