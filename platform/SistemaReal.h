#pragma once
// The operating system as the system's code sees it: the process's own
// command line, its executable and folder, the environment, and starting or
// ending processes.
#include "platform/Sistema.h"

namespace zv {

class SistemaReal : public Sistema {
public:
  // Takes the command line from the running QCoreApplication.
  SistemaReal();
  // Takes the command line given (argv[0] is the program).
  SistemaReal(int argc, char **argv);
  explicit SistemaReal(const QStringList &lineaConPrograma);

  QStringList argumentos() const override;
  QString nombreEjecutable() const override;
  QString carpetaPrograma() const override;
  // Names are looked up exactly first, then without regard to letter case
  // ("temp" finds TEMP), as the system's code was written for Windows.
  QString variableEntorno(const QString &nombre) const override;
  QString carpetaTemporal() const override;
  QString nombreEquipo() const override;
  QString usuarioSistema() const override;
  // The command is split like a shell would (quotes group words).
  long iniciarProceso(const QString &comando) override;
  [[noreturn]] void terminar(int codigo) override;

private:
  QString programa() const;
  bool propia_ = false; // command line given, not the application's
  QStringList linea_;
};

} // namespace zv
