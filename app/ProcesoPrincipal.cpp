#include "app/ProcesoPrincipal.h"

#include "app/Testigo.h"
#include "platform/ProtocoloError.h"

namespace zv::app {

Lib_ClsRecodificacion::Lib_ClsRecodificacion(HojaRecodificacion &hoja, db::DB_Dll &db,
                                             kit::DialogoArchivo &dialogo)
    : hoja_(hoja), db_(db), dialogo_(dialogo) {
  InformarError = [this](const AppError &e, const QString &rutina) {
    return kit::Utilidades(&hoja_.ui()).InformarError(e, rutina);
  };
}

void Lib_ClsRecodificacion::deshacer() {
  // Each on its own, so that the second runs whatever the first met; the
  // pair's own error is the one reported.
  ado::Connection &cn = db_.Cnn();
  ignorarFalla([&] { cn.execute(kDeshacerTransaccion, nullptr, -1); });
  ignorarFalla([&] { cn.execute(kHabilitarTriggers, nullptr, -1); });
}

bool Lib_ClsRecodificacion::procesarPar(Trampa &t, const ParRecodificacion &datos) {
  ParRecodificacion par = datos;
  t([&] {
    QString consulta = ConsultaExistencia(par.nvo);
    ado::Recordset rs;
    db_.AbrirRecordset(consulta, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
    par.nvoExiste = !rs.bof();
    db_.CierraRecordset(rs);
  });
  if (!t)
    return false;
  t([&] {
    QString tipos;
    par.columnas =
        VerificaCampos(db_.Cnn(), db_.gDBName, QStringLiteral("MA_CUENTAS"), QStringLiteral("CODIGO"),
                       QString(), QStringLiteral("ID"), false, tipos, InformeVerificaCampos);
  });
  if (!t)
    return false;
  QString lote;
  t([&] { lote = LotePar(par); });
  t([&] {
    if (MostrarSQL)
      MostrarSQL(lote);
  });
  if (!t)
    return false;

  bool soloGenerar = false;
  t([&] { soloGenerar = SoloGenerar && SoloGenerar(); });
  if (!t)
    return false;
  if (soloGenerar) {
    ++(ignorada_ ? resumen_.conError : resumen_.procesados);
    return true;
  }

  ado::Connection &cn = db_.Cnn();
  ado::ErrorList errores;
  bool deshecho = false;
  t([&] {
    deshecho = false;
    try {
      cn.execute(lote, nullptr, -1);
      errores = cn.errors();
    } catch (const AppError &) {
      // The list is kept before the clean-up's own executions replace it.
      errores = cn.errors();
      deshacer();
      deshecho = true;
      throw;
    }
  });
  if (!t)
    return false;
  t([&] {
    if (errores.count() == 0)
      return;
    if (!deshecho)
      deshacer();
    hoja_.ui().msgBox(errores.item(0).description, vb::OKOnly, db_.entorno().tituloPorDefecto());
  });
  if (!t)
    return false;
  if (errores.count() > 0 || ignorada_)
    ++resumen_.conError;
  else
    ++resumen_.procesados;
  return true;
}

void Lib_ClsRecodificacion::ProcesoPrincipal() {
  resumen_ = {};
  Trampa t([this](const AppError &e) {
    if (cartel)
      ignorarFalla([&] { cartel->CartelCerrar(); });
    const int r = InformarError ? InformarError(e, QStringLiteral("ProcesoPrincipal")) : vb::Abort;
    if (r == vb::Ignore)
      ignorada_ = true;
    return r;
  });
  auto salir = [&] { resumen_.abandonado = true; };
  Grilla &g = hoja_.MSFlexGrid1;
  UiServices &ui = hoja_.ui();

  for (int fila = 1; fila < g.Rows(); ++fila) {
    ParRecodificacion par;
    QString descripcion;
    t([&] {
      par.act = g.TextMatrix(fila, 0).trimmed();
      descripcion = g.TextMatrix(fila, 1).trimmed();
      par.nvo = g.TextMatrix(fila, 2).trimmed();
      par.suc = g.TextMatrix(fila, 3).trimmed();
    });
    t([&] {
      if (CartelMostrar)
        CartelMostrar(par.act + QLatin1Char(' ') + descripcion);
    });
    if (!t)
      return salir();
    if (par.act.isEmpty() || par.nvo.isEmpty()) {
      // An incomplete row is not a pair; one with something typed in it
      // was still not recoded.
      if (!par.act.isEmpty() || !par.nvo.isEmpty() || !par.suc.isEmpty())
        ++resumen_.rechazados;
      continue;
    }
    if (par.act.compare(par.nvo, Qt::CaseInsensitive) == 0) {
      // Its batch would delete the account that its rows still name.
      t([&] { ui.msgBox(CodigosIguales(), vb::OKOnly + vb::Critical, TituloAviso()); });
      ++resumen_.rechazados;
      if (!t)
        return salir();
      continue;
    }
    ignorada_ = false;
    if (!procesarPar(t, par)) {
      ++resumen_.conError;
      return salir();
    }
  }

  t([&] {
    if (CartelMostrar)
      CartelMostrar(QString());
  });
  int respuesta = vb::No;
  t([&] { respuesta = ui.msgBox(PreguntaTestigo(), vb::YesNo + vb::Question, TituloAviso()); });
  if (!t)
    return salir();
  if (respuesta != vb::Yes)
    return;
  t([&] {
    dialogo_.ExtensionPorDefecto = QStringLiteral(".htm");
    dialogo_.Filtro = FiltroTestigo();
    dialogo_.Opcion = true;
  });
  t([&] { dialogo_.MostrarGuardar(); });
  if (!t)
    return salir();
  if (dialogo_.Cancelado)
    return;
  const QString archivo = dialogo_.NombreArchivo;
  t([&] { GeneraTestigo(hoja_, archivo, carpetaPrograma, tituloVentana); });
  t([&] { AbreDocumento(ui, archivo, true); });
  if (!t)
    salir();
}

} // namespace zv::app
