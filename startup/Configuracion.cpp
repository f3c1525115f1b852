// Configuration store of the company and statistics databases, the command
// time-out taken from the statistics store, the working settings and the
// server's date.
#include "platform/ProtocoloError.h"
#include "startup/ModuloGlobal.h"
#include "startup/Parametros.h"

#include <cmath>

namespace zv::startup {

namespace {
const QString kEstadisticas = QStringLiteral("ZI_RODUVARUDUVU");

quint32 colorDe(const QString &valor) {
  const double v = std::round(kit::Utilidades::ANumero(valor));
  if (!std::isfinite(v) || v < 0 || v > 4294967295.0)
    throw AppError(6, QStringLiteral("Desbordamiento"), QStringLiteral("CargaConfiguracion"));
  return quint32(v);
}
} // namespace

bool ModuloGlobal::abierta(db::DB_Dll &db) const { return db.gCnn && db.gCnn->state() == ado::adStateOpen; }

QString ModuloGlobal::leerCfg(db::DB_Dll &db, const QString &tabla, const QString &Clave, QString &ValorAux,
                              const QString &rutina) {
  // Never retried: ignoring goes on with the next step, anything else leaves.
  Trampa paso([&](const AppError &e) {
    const int r = AvisoError(e, std::nullopt, rutina);
    return r == vb::Ignore ? vb::Ignore : vb::Abort;
  });
  ado::Recordset rs;
  QString resultado;
  const QString clave = RecortarBlancos(Clave);
  QString consulta = QStringLiteral("SELECT VALOR, valoraux FROM ") + tabla +
                     QStringLiteral(" with(nolock)  WHERE CLAVE = '") + Comillas(clave) + QLatin1Char('\'');
  if (clave.toUpper() == QLatin1String("[FECHA HASTA]") || clave.toUpper() == QLatin1String("[FECHA DESDE]"))
    consulta = consulta.toUpper();
  paso([&] { db.AbrirRecordset(consulta, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly); });
  paso([&] {
    if (rs.eof()) {
      resultado = QStringLiteral(" ");
      ValorAux.clear();
    } else {
      resultado = kit::Utilidades::SinNulo(rs.value(QStringLiteral("VALOR")));
      ValorAux = kit::Utilidades::SinNulo(rs.value(QStringLiteral("valoraux")));
    }
  });
  if (!paso) {
    ignorarFalla([&] { db.CierraRecordset(rs); });
    return {};
  }
  paso([&] { db.CierraRecordset(rs); });
  if (!paso)
    return {};
  if (clave.compare(QLatin1String("THEME"), Qt::CaseInsensitive) == 0 && RecortarBlancos(resultado).isEmpty())
    resultado = QStringLiteral("1");
  return resultado;
}

QString ModuloGlobal::Cfg(const QString &Clave, QString &ValorAux) {
  if (!abierta(principal()))
    return {};
  if (RecortarBlancos(gTablaConfiguracion).isEmpty())
    gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
  return leerCfg(principal(), gTablaConfiguracion, Clave, ValorAux, QStringLiteral("Cfg"));
}

QString ModuloGlobal::Cfg(const QString &Clave) {
  QString aux;
  return Cfg(Clave, aux);
}

QString ModuloGlobal::CfgZV(const QString &Clave, QString &ValorAux) {
  return leerCfg(Estadisticas(), QStringLiteral("TA_CONFIGURACION"), Clave, ValorAux,
                 QStringLiteral("CfgZV"));
}

QString ModuloGlobal::CfgZV(const QString &Clave) {
  QString aux;
  return CfgZV(Clave, aux);
}

void ModuloGlobal::GrabaCfgZV(const QString &Clave, const QString &Valor, const QString &ValorAux,
                              bool PoliticaNegocio, const QString &Grupo, bool RecortarValor) {
  db::DB_Dll &db = Estadisticas();
  ado::Recordset rs;
  QString consulta = QStringLiteral("SELECT * FROM ") + QStringLiteral("TA_CONFIGURACION") +
                     QStringLiteral(" with(nolock)  WHERE CLAVE = '") + Comillas(Clave) + QLatin1Char('\'');
  ignorarFalla([&] { db.AbrirRecordset(consulta, rs, nullptr, ado::adOpenDynamic, ado::adLockOptimistic); });
  ignorarFalla([&] {
    if (rs.eof())
      rs.addNew();
    else
      rs.moveFirst();
  });
  ignorarFalla([&] { rs.setValue(QStringLiteral("Grupo"), Grupo); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("Clave"), RecortarBlancos(Clave).toUpper()); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("Valor"), RecortarValor ? RecortarBlancos(Valor) : Valor); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("PoliticaNegocio"), PoliticaNegocio); });
  ignorarFalla([&] {
    if (!ValorAux.isEmpty())
      rs.setValue(QStringLiteral("ValorAux"), RecortarBlancos(ValorAux));
  });
  ignorarFalla([&] { rs.update(); });
  ignorarFalla([&] { db.CierraRecordset(rs); });
}

void ModuloGlobal::ConfiguraEstadisticas() {
  gTiempoEspera = 90;
  db::DB_Dll &zv = Estadisticas();
  ignorarFalla([&] {
    if (abierta(zv))
      zv.Cnn().close();
  });
  ignorarFalla([&] {
    zv.gProveedor = principal().pSQLOLEDB();
    zv.gServidor = principal().gServidor;
    zv.gDBName = kEstadisticas;
    zv.gUsuario = kEstadisticas;
    zv.gUserPassWord = kEstadisticas;
    zv.OpenServerADODB(false, ado::adUseClient, QString(), true, false);
  });
  ignorarFalla([&] {
    if (!zv.gOpenFlag || !abierta(zv))
      return;
    zv.Cnn().setDefaultDatabase(kEstadisticas);
    const long long segundos = ValorEntero(CfgZV(QStringLiteral("TimeOut")));
    if (segundos < -32768 || segundos > 32767)
      throw AppError(6, QStringLiteral("Desbordamiento"), QStringLiteral("ConfiguraEstadisticas"));
    gTiempoEspera = qint16(segundos);
    if (gTiempoEspera == 0)
      GrabaCfgZV(QStringLiteral("TimeOut"), QStringLiteral("0"), QString(), false,
                 QStringLiteral("BaseDeDatos"), true);
  });
  if (gTiempoEspera == 0)
    gTiempoEspera = 90;
}

void ModuloGlobal::CargaConfiguracion(const QString &appPath) {
  Q_UNUSED(appPath);
  gTablaConfiguracion = QStringLiteral("ta_configuracion");
  const auto leer = [&](const char *clave) {
    QString v;
    ignorarFalla([&] { v = Cfg(QString::fromLatin1(clave)); });
    return v;
  };
  const auto esSi = [](const QString &v) { return v.compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0; };
  // Shared settings of the suite; this program consults only a few of them.
  for (const char *clave : {"MostrarStockenConsultas", "TituloClientes", "TituloProveedores",
                            "EXIGECLAVECONSULTALIKEARTICULOS", "UsaConsultaLike", "CantidadDecimales"})
    leer(clave);
  ignorarFalla([&] { gConfidencialidad() = esSi(leer("SS_CONFIDENCIALIDAD")); });
  for (const char *clave : {"CantidadDecimalesVentas", "UsaMultilesMonedas", "UsaFacturaProforma",
                            "USACCOSTO", "USA_STK_STOCK_UDKG"})
    leer(clave);
  QString unidad = QStringLiteral("   1");
  ignorarFalla([&] {
    db::DB_Dll &db = principal();
    ado::Recordset rs;
    QString consulta = QStringLiteral("Select * from ta_usuarios  with(nolock)  where Nombre = '") +
                       Comillas(gUsuarioLogeado()) + QLatin1Char('\'');
    db.AbrirRecordset(consulta, rs);
    if (!rs.eof()) {
      ignorarFalla([&] {
        const QString u = kit::Utilidades::SinNulo(rs.value(QStringLiteral("UNegocio")));
        if (!RecortarBlancos(u).isEmpty())
          unidad = kit::Utilidades::CodigoFijo(RecortarBlancos(u), 4);
      });
      ignorarFalla([&] { rs.value(QStringLiteral("verproforma")); });
      ignorarFalla([&] { rs.value(QStringLiteral("clasepusa")); });
    }
    db.CierraRecordset(rs);
  });
  for (const char *clave : {"UNIDADDEMEDIDA_M3", "UNIDADDEMEDIDA_BL", "UNIDADDEMEDIDA_KG", "PERIODO",
                            "RazonSocialPorUneg", "VALIDACODIGOBARRA"})
    leer(clave);
  ignorarFalla([&] {
    const quint32 fondo = colorDe(leer("CFondo"));
    gColorFondo = fondo == 0 ? 0xFFFF00 : fondo;
  });
  ignorarFalla([&] { gColorLetra = colorDe(leer("CLetra")); });
  for (const char *clave : {"ModuloOrdenDeTrabajo", "V_ModificaCPrecio", "C_ModificaCPrecio", "MADERERA",
                            "MAD_TIRAS", "MAD_P2", "MAD_ML", "MAD_M2", "MAD_HOJAS", "MAD_ML_P2", "MAD_M2_P2",
                            "MAD_ML_M2", "CuentaCtroDist", "MaxDto", "MaxDtoProforma", "PideClave_StockNeg",
                            "PideClave_MarkUpBase", "PideClave_LimiteCredito", "SS_BloqueoActivo"})
    leer(clave);
  ignorarFalla([&] { gUsarFechaDia = esSi(leer("UTILIZARFECHADIA")); });
  leer("AsignacionAutomaticaDeLoteING");
  leer("AsignacionAutomaticaDeLoteINGOP");
  if (ValorNumerico(leer("CONDIVAEMPRESA")) == 0)
    leer("CONDIVA");
  ignorarFalla([&] {
    db::DB_Dll &db = principal();
    if (!db.ExisteTablaDB(QStringLiteral("v_ta_unidadNegocio")))
      return;
    ado::Recordset rs;
    QString consulta = QStringLiteral("Select * from v_ta_unidadNegocio  with(nolock)  where Codigo = '") +
                       Comillas(RecortarBlancos(unidad)) + QLatin1Char('\'');
    db.AbrirRecordset(consulta, rs);
    db.CierraRecordset(rs);
  });
  leer("Top_Default");
}

QDateTime ModuloGlobal::FechaServidor() {
  QDateTime resultado = ahora();
  db::DB_Dll &db = principal();
  ado::Recordset rs;
  bool conFila = false;
  ignorarFalla([&] {
    QString consulta = QStringLiteral("select  getDate() as fecha");
    db.AbrirRecordset(consulta, rs);
  });
  ignorarFalla([&] {
    if (rs.state() != ado::adStateOpen || rs.eof())
      return;
    const QVariant v = rs.value(QStringLiteral("Fecha"));
    QDateTime d = v.typeId() == QMetaType::QDateTime ? v.toDateTime() : QDateTime();
    if (!d.isValid()) {
      const QString t = v.toString().trimmed();
      for (const char *formato : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss",
                                  "dd/MM/yyyy HH:mm:ss", "yyyy-MM-dd"})
        if (!d.isValid())
          d = QDateTime::fromString(t, QString::fromLatin1(formato));
    }
    if (d.isValid()) {
      // Seconds are the precision the date is read back with.
      d = QDateTime::fromString(d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                                QStringLiteral("dd/MM/yyyy HH:mm:ss"));
      resultado = d;
      conFila = true;
    }
  });
  if (!conFila && gUsarFechaDia) {
    ignorarFalla([&] {
      const QString t = RecortarBlancos(Cfg(QStringLiteral("FECHAOPERHASTA")));
      for (const char *formato : {"dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd"}) {
        const QDateTime d = QDateTime::fromString(t, QString::fromLatin1(formato));
        if (d.isValid()) {
          resultado = d;
          return;
        }
      }
    });
  }
  ignorarFalla([&] { db.CierraRecordset(rs); });
  return resultado;
}

} // namespace zv::startup
