#include "platform/SistemaReal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSysInfo>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace zv {

SistemaReal::SistemaReal() = default;

SistemaReal::SistemaReal(int argc, char **argv) : propia_(true) {
  for (int i = 0; i < argc && argv && argv[i]; ++i)
    linea_ << QString::fromLocal8Bit(argv[i]);
}

SistemaReal::SistemaReal(const QStringList &lineaConPrograma) : propia_(true), linea_(lineaConPrograma) {}

QString SistemaReal::programa() const {
  if (!propia_ && QCoreApplication::instance())
    return QCoreApplication::applicationFilePath();
  return linea_.isEmpty() ? QString() : linea_.constFirst();
}

QStringList SistemaReal::argumentos() const {
  if (!propia_ && QCoreApplication::instance())
    return QCoreApplication::arguments().mid(1);
  return linea_.mid(1);
}

QString SistemaReal::nombreEjecutable() const {
  const QFileInfo f(programa());
  // "recodificador.exe" and "recodificador" alike give "recodificador".
  return f.suffix().compare(QStringLiteral("exe"), Qt::CaseInsensitive) == 0 ? f.completeBaseName()
                                                                             : f.fileName();
}

QString SistemaReal::carpetaPrograma() const {
  if (!propia_ && QCoreApplication::instance())
    return QDir::cleanPath(QCoreApplication::applicationDirPath());
  const QString p = programa();
  if (p.isEmpty())
    return QDir::cleanPath(QDir::currentPath());
  return QDir::cleanPath(QFileInfo(p).absolutePath());
}

QString SistemaReal::variableEntorno(const QString &nombre) const {
  if (nombre.isEmpty())
    return {};
  if (qEnvironmentVariableIsSet(nombre.toLocal8Bit().constData()))
    return qEnvironmentVariable(nombre.toLocal8Bit().constData());
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString &k : env.keys())
    if (k.compare(nombre, Qt::CaseInsensitive) == 0)
      return env.value(k);
  return {};
}

QString SistemaReal::carpetaTemporal() const { return QDir::cleanPath(QDir::tempPath()); }

QString SistemaReal::nombreEquipo() const { return QSysInfo::machineHostName(); }

QString SistemaReal::usuarioSistema() const {
  for (const char *v : {"USER", "LOGNAME", "USERNAME"}) {
    const QString u = qEnvironmentVariable(v);
    if (!u.isEmpty())
      return u;
  }
#ifdef Q_OS_UNIX
  if (const passwd *pw = getpwuid(geteuid()))
    return QString::fromLocal8Bit(pw->pw_name);
#endif
  return {};
}

long SistemaReal::iniciarProceso(const QString &comando) {
  QStringList partes = QProcess::splitCommand(comando);
  if (partes.isEmpty())
    return 0;
  const QString prog = partes.takeFirst();
  qint64 pid = 0;
  if (!QProcess::startDetached(prog, partes, QString(), &pid))
    return 0;
  return long(pid);
}

void SistemaReal::terminar(int codigo) {
  std::fflush(nullptr);
  std::exit(codigo);
}

} // namespace zv
