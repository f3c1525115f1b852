#pragma once
// A Sistema for tests: fixed answers, recorded starts, and terminar() throws
// ProcessExit so a test can see the end of the process.
#include "platform/Sistema.h"

#include <QMap>

namespace zv::test {

class FakeSistema : public Sistema {
public:
  QStringList args;
  QString exeName = QStringLiteral("recodificador");
  QString programFolder;
  QMap<QString, QString> env;
  QString tempFolder = QStringLiteral("/tmp");
  QString computer = QStringLiteral("EQUIPO1");
  QString user = QStringLiteral("operador");
  QStringList started;
  long nextTaskId = 1234;

  QStringList argumentos() const override { return args; }
  QString nombreEjecutable() const override { return exeName; }
  QString carpetaPrograma() const override { return programFolder; }
  QString variableEntorno(const QString &n) const override { return env.value(n); }
  QString carpetaTemporal() const override { return tempFolder; }
  QString nombreEquipo() const override { return computer; }
  QString usuarioSistema() const override { return user; }
  long iniciarProceso(const QString &cmd) override {
    started << cmd;
    return nextTaskId;
  }
  [[noreturn]] void terminar(int code) override { throw ProcessExit(code); }
};

} // namespace zv::test
