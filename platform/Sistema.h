#pragma once
// Operating-system services passed to the system's code.
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace zv {

// Thrown by test doubles of Sistema::terminar so that tests can see the end
// of the process; the real implementation never throws it.
struct ProcessExit : std::runtime_error {
  explicit ProcessExit(int c) : std::runtime_error("process exit"), code(c) {}
  int code;
};

class Sistema {
public:
  virtual ~Sistema() = default;
  virtual QStringList argumentos() const = 0;     // program arguments, without the program
  virtual QString nombreEjecutable() const = 0;   // executable name without extension
  virtual QString carpetaPrograma() const = 0;    // program folder, no trailing separator
  virtual QString variableEntorno(const QString &nombre) const = 0;
  virtual QString carpetaTemporal() const = 0;
  virtual QString nombreEquipo() const = 0;
  virtual QString usuarioSistema() const = 0;
  // Starts a program; returns its task identifier, 0 when nothing started.
  virtual long iniciarProceso(const QString &comando) = 0;
  // Ends the process at once with the given status.
  [[noreturn]] virtual void terminar(int codigo) = 0;
};

} // namespace zv
