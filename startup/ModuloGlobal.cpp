#include "startup/ModuloGlobal.h"

#include "platform/ProtocoloError.h"
#include "platform/Texto1252.h"
#include "startup/Parametros.h"

namespace zv::startup {

ModuloGlobal::ModuloGlobal(db::EntornoDB &e) : entorno(e) {}

ModuloGlobal::~ModuloGlobal() = default;

db::DB_Dll &ModuloGlobal::Estadisticas() {
  if (!estadisticas_)
    estadisticas_ = std::make_unique<db::DB_Dll>(entorno);
  return *estadisticas_;
}

kit::Utilidades &ModuloGlobal::Utilidades() {
  if (!utilidades_)
    utilidades_ = std::make_unique<kit::Utilidades>(&entorno.ui);
  return *utilidades_;
}

kit::InfoSistema &ModuloGlobal::InfoSistema() {
  if (!infoSistema_)
    infoSistema_ = std::make_unique<kit::InfoSistema>(entorno.sistema, entorno.ui);
  return *infoSistema_;
}

kit::LectorIni &ModuloGlobal::LectorIni() {
  if (!lectorIni_)
    lectorIni_ = std::make_unique<kit::LectorIni>(entorno.sistema.carpetaPrograma());
  return *lectorIni_;
}

kit::ReceptorRuta &ModuloGlobal::ReceptorRuta() {
  if (!receptorRuta_)
    receptorRuta_ = std::make_unique<kit::ReceptorRuta>();
  return *receptorRuta_;
}

QString ModuloGlobal::FormatoFechaHora(const QDateTime &d) {
  return FormatoFecha(d) + QLatin1Char(' ') + FormatoHora(d);
}

QString ModuloGlobal::FormatoFecha(const QDateTime &d) { return d.toString(QStringLiteral("dd/MM/yy")); }

QString ModuloGlobal::FormatoHora(const QDateTime &d) { return d.toString(QStringLiteral("HH:mm")); }

QString ModuloGlobal::Comillas(const QString &texto) {
  QString t = texto;
  t.replace(QLatin1Char('\''), QLatin1String("''"));
  return t;
}

void ModuloGlobal::cerrarCartel() {
  if (cartel)
    ignorarFalla([&] { cartel->CartelCerrar(); });
}

// ------------------------------------------------------------------ AvisoError

QString ModuloGlobal::carpetaLog() {
  // Windows does not tell "temp" from "TEMP"; this platform does.
  const auto variable = [&](const QString &nombre) {
    QString v = entorno.sistema.variableEntorno(nombre);
    if (v.isEmpty())
      v = entorno.sistema.variableEntorno(nombre.toUpper());
    return v;
  };
  QString carpeta;
  if (!variable(QStringLiteral("temp")).isEmpty())
    carpeta = RecortarBlancos(variable(QStringLiteral("tmp")));
  if (carpeta.isEmpty())
    carpeta = InfoSistema().CarpetaTemporal();
  carpeta = kit::Utilidades::ConBarra(carpeta);
  if (!carpeta.endsWith(QLatin1Char('/')) && !carpeta.endsWith(QLatin1Char('\\')))
    carpeta += QLatin1Char('/');
  return carpeta;
}

int ModuloGlobal::AvisoError(const AppError &Falla, std::optional<long> Botones,
                             const std::optional<QString> &Rutina) {
  texto1252::Escritor log;
  QString carpeta;
  ignorarFalla([&] { carpeta = carpetaLog(); });
  ignorarFalla([&] { log.abrir(carpeta + QStringLiteral("ZVERR.LOG"), true); });

  const QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") +
                          RecortarBlancos(QString::number(Falla.number())) + QStringLiteral(") ") +
                          RecortarBlancos(Falla.description());
  const QString parteRutina = Rutina ? QStringLiteral(" - ") + *Rutina : QString();
  const QString titulo = Falla.source() + parteRutina + QStringLiteral(" Aviso al operador!!! - 2 ");
  const int botones = int(Botones.value_or(18));
  if (Falla.number() == 0) {
    ignorarFalla([&] { log.cerrar(); });
    return 0;
  }
  const int respuesta = entorno.ui.msgBox(mensaje, botones, titulo);
  QString textoRespuesta;
  switch (respuesta) {
  case 4:
    textoRespuesta = QStringLiteral("Reintentar");
    break;
  case 5:
    textoRespuesta = QStringLiteral("Ignorar");
    break;
  case 3:
    textoRespuesta = QStringLiteral("Abortar");
    break;
  case 2:
    textoRespuesta = QStringLiteral("Cancelar");
    break;
  case 6:
    textoRespuesta = QStringLiteral("Sí");
    break;
  case 7:
    textoRespuesta = QStringLiteral("No");
    break;
  default:
    break;
  }
  const QDateTime momento = ahora();
  const QString linea = momento.toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char(' ') +
                        momento.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" Rutina: ") +
                        RecortarBlancos(parteRutina) + QStringLiteral(" Mensaje ") +
                        RecortarBlancos(mensaje) + QStringLiteral(" Respondió : ") + textoRespuesta;
  ignorarFalla([&] {
    if (log.abierto())
      log.escribirLinea(linea);
  });
  ignorarFalla([&] { log.cerrar(); });
  return respuesta;
}

} // namespace zv::startup
