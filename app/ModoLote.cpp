#include "app/ModoLote.h"

#include "app/AvisoHeadless.h"
#include "app/CampoValida.h"
#include "app/FrmDIZavadodare.h"
#include "app/ImportacionPares.h"
#include "app/ProcesoPrincipal.h"
#include "db/frmAcceso.h"
#include "lookup/Lib_ClsCons3.h"
#include "platform/Proveedores.h"
#include "platform/SistemaReal.h"
#include "platform/UiHeadless.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace zv::app {

namespace {

void escribir(std::FILE *f, const QByteArray &bytes) {
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
  std::fflush(f);
}

void error(const QString &linea) { escribir(stderr, (linea + QLatin1Char('\n')).toUtf8()); }

// The process as the start-up sees it in a batch run: only the connection
// pairs on its command line, and an end that comes back here so that the
// run can say how it ended.
class SistemaLote : public Sistema {
public:
  SistemaLote(Sistema &real, QStringList conexion) : real_(real), conexion_(std::move(conexion)) {}
  QStringList argumentos() const override { return conexion_; }
  QString nombreEjecutable() const override { return real_.nombreEjecutable(); }
  QString carpetaPrograma() const override { return real_.carpetaPrograma(); }
  QString variableEntorno(const QString &n) const override { return real_.variableEntorno(n); }
  QString carpetaTemporal() const override { return real_.carpetaTemporal(); }
  QString nombreEquipo() const override { return real_.nombreEquipo(); }
  QString usuarioSistema() const override { return real_.usuarioSistema(); }
  long iniciarProceso(const QString &c) override { return real_.iniciarProceso(c); }
  [[noreturn]] void terminar(int codigo) override { throw ProcessExit(codigo); }

private:
  Sistema &real_;
  QStringList conexion_;
};

// The access dialog cannot be answered here: the run ends instead.
class VistaAccesoLote : public db::VistaAcceso {
public:
  explicit VistaAccesoLote(std::function<QString()> motivo) : motivo_(std::move(motivo)) {}
  void mostrarModal() override {
    error(QStringLiteral("recodificador: el modo por lotes no puede pedir los datos de acceso: ") +
          motivo_());
    throw ProcessExit(salidaLote::SinInicio);
  }
  void ocultar() override {}
  void centrar() override {}
  void actualizar() override {}
  void enfocar(const QString &) override {}

private:
  std::function<QString()> motivo_;
};

// The check of the codes, counting the current codes it refuses: such a
// line leaves no pair in the sheet.
class ValidacionContada : public Validador {
public:
  explicit ValidacionContada(Validador &interna) : interna_(interna) {}
  bool CampoValida(HojaRecodificacion &hoja, EditorCelda &e) override {
    const bool rechazo = interna_.CampoValida(hoja, e);
    ultimoFueCodigoActual = e.DataField.trimmed().compare(QLatin1String("Codigo"), Qt::CaseInsensitive) == 0;
    if (rechazo && ultimoFueCodigoActual)
      ++rechazados;
    return rechazo;
  }
  int rechazados = 0;
  bool ultimoFueCodigoActual = false;

private:
  Validador &interna_;
};

bool empieza(const QString &texto, const QString &inicio) {
  return texto.trimmed().startsWith(inicio, Qt::CaseInsensitive);
}

} // namespace

std::optional<OpcionesLote> LeerOpcionesLote(const QStringList &args, QString &motivo) {
  OpcionesLote op;
  if (args.isEmpty() || args.first() != QLatin1String("--lote")) {
    motivo = QStringLiteral("falta --lote.");
    return std::nullopt;
  }
  if (args.size() < 2 || args.at(1).startsWith(QLatin1String("--")) || args.at(1).trimmed().isEmpty()) {
    motivo = QStringLiteral("falta el archivo de pares después de --lote.");
    return std::nullopt;
  }
  op.archivo = args.at(1);
  bool haySolo = false, hayFusion = false, hayTestigo = false;
  for (int i = 2; i < args.size(); ++i) {
    const QString &a = args.at(i);
    auto unaVez = [&](bool &visto) {
      if (visto)
        motivo = QStringLiteral("%1 se indicó más de una vez.").arg(a);
      visto = true;
      return motivo.isEmpty();
    };
    if (a == QLatin1String("--solo-sql")) {
      if (!unaVez(haySolo))
        return std::nullopt;
      op.soloSql = true;
    } else if (a == QLatin1String("--fusionar")) {
      if (!unaVez(hayFusion))
        return std::nullopt;
      op.fusionar = true;
    } else if (a == QLatin1String("--testigo")) {
      if (!unaVez(hayTestigo))
        return std::nullopt;
      if (i + 1 >= args.size() || args.at(i + 1).startsWith(QLatin1String("--")) ||
          args.at(i + 1).trimmed().isEmpty()) {
        motivo = QStringLiteral("falta el archivo del testigo después de --testigo.");
        return std::nullopt;
      }
      op.testigo = args.at(++i);
    } else if (a.startsWith(QLatin1String("--"))) {
      motivo = QStringLiteral("opción desconocida: %1").arg(a);
      return std::nullopt;
    } else {
      op.conexion << a;
    }
  }
  return op;
}

QString ResumenLote(int procesados, int rechazados, int conError) {
  return QStringLiteral("Pares procesados: %1, rechazados: %2, con error: %3")
      .arg(procesados)
      .arg(rechazados)
      .arg(conError);
}

int ModoLote(int argc, char **argv, const QStringList &args) {
  QCoreApplication aplicacion(argc, argv);
  QString motivo;
  const std::optional<OpcionesLote> leidas = LeerOpcionesLote(args, motivo);
  if (!leidas) {
    error(QStringLiteral("recodificador: ") + motivo);
    return salidaLote::SinInicio;
  }
  const OpcionesLote op = *leidas;
  const QFileInfo info(op.archivo);
  if (!info.isFile() || !info.isReadable()) {
    error(QStringLiteral("recodificador: no se puede leer el archivo de pares \"%1\".").arg(op.archivo));
    return salidaLote::SinInicio;
  }

  // The messages' answers.
  QString ultimoMensaje;
  bool huboInforme = false;
  UiHeadless ui([&](const QString &texto, int botones, const QString &titulo) {
    ultimoMensaje = UiHeadless::line(titulo, texto);
    if ((botones & 7) == vb::AbortRetryIgnore) {
      huboInforme = true;
      return vb::Abort;
    }
    if (texto == ValidacionCuentas::PreguntaExistente())
      return op.fusionar ? vb::Yes : vb::No;
    if (texto == Lib_ClsRecodificacion::PreguntaTestigo())
      return op.testigo.isEmpty() ? vb::No : vb::Yes;
    if (empieza(texto, QStringLiteral("El archivo debe tener el Codigo actual")))
      return vb::Yes;
    if (texto.contains(QStringLiteral("Se perdio la conexion con la base de datos")))
      return vb::No;
    return UiHeadless::defaultAnswer(botones);
  });
  ui.setFilePolicy([&](const FileDialogRequest &pedido) {
    const QString archivo = pedido.save ? op.testigo : op.archivo;
    return FileDialogResult{archivo.isEmpty(), archivo};
  });
  // The report is written, not shown.
  ui.setDocumentPolicy([](const QString &, int) { return true; });

  SistemaReal real(argc, argv);
  SistemaLote sistema(real, op.conexion);
  db::EntornoDB entorno(ui, sistema,
                        connectionFactory(providerConfigFromEnvironment(real.carpetaPrograma())));
  entorno.fabricaVistaAcceso = [&](db::frmAcceso &) -> std::unique_ptr<db::VistaAcceso> {
    return std::make_unique<VistaAccesoLote>([&]() -> QString {
      if (!ultimoMensaje.isEmpty())
        return ultimoMensaje;
      return QStringLiteral(
          "la línea de comandos no trae el servidor y el usuario (\"@Server=...;@DbName=...;"
          "@Usuario=...;\").");
    });
  };
  startup::ModuloGlobal global(entorno);
  entorno.reporteCentral = [&](const AppError &e, const QString &rutina) {
    return global.AvisoError(e, std::nullopt, rutina);
  };
  CartelDisplay cartel([]() -> std::unique_ptr<VistaAviso> { return std::make_unique<AvisoHeadless>(); });
  global.cartel = &cartel;
  std::unique_ptr<lookup::Lib_ClsCons3> motorConsultas;
  global.motorConsultas = [&]() -> startup::MotorConsultas & {
    if (!motorConsultas)
      motorConsultas =
          std::make_unique<lookup::Lib_ClsCons3>([&](const QString &clave) { return global.Cfg(clave); });
    return *motorConsultas;
  };

  try {
    global.IniciarAplicacion();
  } catch (const ProcessExit &) {
    if (!ultimoMensaje.isEmpty())
      error(QStringLiteral("recodificador: no se pudo iniciar: ") + ultimoMensaje);
    error(QStringLiteral("recodificador: la conexión o el inicio de sesión fallaron."));
    return salidaLote::SinInicio;
  }

  db::DB_Dll &db = global.principal();
  ValidacionCuentas validacion(db, ui);
  ValidacionContada contada(validacion);
  HojaRecodificacion hoja(ui, contada);
  hoja.gColorFondo = long(global.gColorFondo);
  hoja.gColorLetra = long(global.gColorLetra);
  kit::DialogoArchivo dialogo(ui);
  Lib_ClsRecodificacion motor(hoja, db, dialogo);
  motor.MostrarSQL = [](const QString &lote) {
    escribir(stdout, lote.toUtf8() + QByteArrayLiteral("\r\nGO\r\n"));
  };
  motor.SoloGenerar = [&] { return op.soloSql; };
  motor.cartel = &cartel;
  motor.InformeVerificaCampos = [&](const AppError &e, const QString &rutina) {
    return global.AvisoError(e, std::nullopt, rutina);
  };
  motor.carpetaPrograma = real.carpetaPrograma();
  motor.tituloVentana = FrmDIZavadodare::Titulo();

  int rechazadosImportacion = 0;
  int estado = salidaLote::Completo;
  try {
    hoja.InicializaGrid2();
    CmdBuscar_Click(hoja, dialogo);
    rechazadosImportacion = contada.rechazados;
    // A refused current code on the file's last line stays in its cell,
    // where a next line would have overwritten it; the run counts that row
    // as refused already.
    if (hoja.HayError && contada.ultimoFueCodigoActual && rechazadosImportacion > 0)
      --rechazadosImportacion;
    motor.ProcesoPrincipal();
    hoja.InicializaGrid2();
    global.FinAplicacion();
  } catch (const ProcessExit &) {
    // The connection was lost and not recovered.
    estado = salidaLote::SinInicio;
  }

  const ResumenRecodificacion &r = motor.Resumen();
  const int rechazados = r.rechazados + rechazadosImportacion;
  error(ResumenLote(r.procesados, rechazados, r.conError));
  if (estado != salidaLote::Completo)
    return estado;
  return rechazados == 0 && r.conError == 0 && !r.abandonado && !huboInforme ? salidaLote::Completo
                                                                             : salidaLote::ConRechazos;
}

} // namespace zv::app
