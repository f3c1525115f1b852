#pragma once
// Text files in the Windows "ANSI" code page (Windows-1252), read and written
// by lines. A line ends in CR, CR LF or LF when read; writing uses the line
// end the caller gives. Characters outside the code page are written as "?".
// Failures throw AppError with the numbers of the file statements: 53 (file
// not found), 75 (path or file access error).
#include "platform/AppError.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace zv::texto1252 {

constexpr long ErrArchivoNoEncontrado = 53;
constexpr long ErrAccesoArchivo = 75;

QString decodificar(const QByteArray &bytes);
QByteArray codificar(const QString &texto);

// Splits a text at CR, CR LF and LF. A final line end adds no empty line;
// an empty text has no lines.
QStringList dividirLineas(const QString &texto);

// Whole-file helpers.
QStringList leerLineas(const QString &ruta);
QString leerTexto(const QString &ruta);
// Writes each line followed by finDeLinea; agregar appends to the file.
void escribirLineas(const QString &ruta, const QStringList &lineas,
                    const QString &finDeLinea = QStringLiteral("\r\n"), bool agregar = false);
void escribirTexto(const QString &ruta, const QString &texto, bool agregar = false);

// Reads a file line by line (the whole file is loaded when opened).
class Lector {
public:
  Lector() = default;
  explicit Lector(const QString &ruta) { abrir(ruta); }
  void abrir(const QString &ruta);
  bool abierto() const { return abierto_; }
  bool fin() const { return !abierto_ || pos_ >= lineas_.size(); }
  QString leerLinea(); // throws 62 (input past end of file) after the last line
  void cerrar();

private:
  QStringList lineas_;
  qsizetype pos_ = 0;
  bool abierto_ = false;
};

// Writes a file line by line; the file is created (or appended to) when opened.
class Escritor {
public:
  Escritor() = default;
  Escritor(const Escritor &) = delete;
  Escritor &operator=(const Escritor &) = delete;
  // Closes without reporting; call cerrar() to learn of a failed write.
  ~Escritor() {
    try {
      cerrar();
    } catch (...) {
    }
  }
  void abrir(const QString &ruta, bool agregar = false, const QString &finDeLinea = QStringLiteral("\r\n"));
  bool abierto() const { return archivo_ != nullptr; }
  void escribir(const QString &texto);      // no line end
  void escribirLinea(const QString &texto); // text and the line end
  void cerrar();

private:
  std::unique_ptr<QFile> archivo_;
  QString fin_;
};

} // namespace zv::texto1252
