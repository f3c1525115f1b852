#include "app/Principal.h"

#include "app/FrmDIZavadodare.h"
#include "app/ModoLote.h"

#include "db/demo/CrearDemo.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace zv::app {

namespace {

const char *const Uso = "uso: recodificador --crear-demo CARPETA [--asientos N]\n"
                        "     recodificador --lote ARCHIVO [--solo-sql] [--fusionar] [--testigo SALIDA.htm] "
                        "\"@Server=...;@DbName=...;@Usuario=...;@UsuarioLogeado=...;@Password=...;\"\n"
                        "     recodificador \"@Server=...;@DbName=...;@Usuario=...;@UsuarioLogeado=...;"
                        "@Password=...;\"\n";

void escribir(std::FILE *f, const QString &texto) {
  const QByteArray b = texto.toUtf8();
  std::fwrite(b.constData(), 1, size_t(b.size()), f);
  std::fflush(f);
}

int usoIncorrecto(const QString &motivo) {
  if (!motivo.isEmpty())
    escribir(stderr, QStringLiteral("recodificador: %1\n").arg(motivo));
  std::fputs(Uso, stderr);
  return 2;
}

// --crear-demo CARPETA [--asientos N]
int crearDemo(const QStringList &args) {
  QString carpeta;
  int renglones = demo::RenglonesPorDefecto;
  bool hayCantidad = false;
  for (int i = 1; i < args.size(); ++i) {
    const QString &a = args.at(i);
    if (a == QLatin1String("--asientos")) {
      if (hayCantidad)
        return usoIncorrecto(QStringLiteral("--asientos se indicó más de una vez."));
      if (i + 1 >= args.size())
        return usoIncorrecto(QStringLiteral("falta la cantidad después de --asientos."));
      bool ok = false;
      const QString n = args.at(++i);
      renglones = n.toInt(&ok);
      if (!ok || renglones < 0)
        return usoIncorrecto(
            QStringLiteral("la cantidad de --asientos debe ser un número entero no negativo: \"%1\".")
                .arg(n));
      hayCantidad = true;
    } else if (a.startsWith(QLatin1String("--"))) {
      return usoIncorrecto(QStringLiteral("opción desconocida: %1").arg(a));
    } else if (carpeta.isEmpty()) {
      if (a.trimmed().isEmpty())
        return usoIncorrecto(QStringLiteral("la carpeta no puede estar en blanco."));
      carpeta = a;
    } else {
      return usoIncorrecto(QStringLiteral("sobra el argumento \"%1\".").arg(a));
    }
  }
  if (carpeta.isEmpty())
    return usoIncorrecto(QStringLiteral("falta la carpeta de --crear-demo."));

  try {
    const demo::ResumenDemo r = demo::CrearDemo(carpeta, renglones).crear();
    escribir(stdout,
             QStringLiteral("Bases de demostración creadas en %1: DEMO.sqlite (%2 cuentas, %3 renglones "
                            "de asientos) y ZI_RODUVARUDUVU.sqlite.\n")
                 .arg(r.carpeta)
                 .arg(r.cuentas)
                 .arg(r.renglones));
    return 0;
  } catch (const AppError &e) {
    escribir(stderr, QStringLiteral("recodificador: %1\n").arg(e.description()));
    // A refusal or an unusable folder is the caller's to mend; anything else
    // is a failure of the creation itself.
    const bool delOperador = e.number() == demo::errdemo::ArchivoExistente ||
                             e.number() == demo::errdemo::CarpetaInvalida ||
                             e.number() == demo::errdemo::CantidadInvalida;
    return delOperador ? 2 : 1;
  } catch (const std::exception &e) {
    escribir(stderr, QStringLiteral("recodificador: %1\n").arg(QString::fromLocal8Bit(e.what())));
    return 1;
  }
}

// The normal run: the main window on the connection the command line names
// (without one, the start-up asks for it in the access dialog).
int arranqueNormal(int argc, char **argv) { return EjecutarPrograma(argc, argv); }

} // namespace

int principal(int argc, char **argv) {
  QCoreApplication::setApplicationName(QStringLiteral("recodificador"));
  QStringList args;
  for (int i = 1; i < argc; ++i)
    args << QString::fromLocal8Bit(argv[i]);

  if (!args.isEmpty() && args.first() == QLatin1String("--crear-demo")) {
    QCoreApplication app(argc, argv);
    return crearDemo(args);
  }
  if (!args.isEmpty() && args.first() == QLatin1String("--lote")) {
    QString motivo;
    if (!LeerOpcionesLote(args, motivo))
      return usoIncorrecto(motivo);
    return ModoLote(argc, argv, args);
  }
  if (args.isEmpty())
    return usoIncorrecto(QString());
  for (const QString &a : args)
    if (a.startsWith(QLatin1String("--")))
      return usoIncorrecto(QStringLiteral("opción desconocida: %1").arg(a));
  return arranqueNormal(argc, argv);
}

} // namespace zv::app
