#pragma once
// One record of the lookup-definition file "consultas.zvq": fixed 1202 bytes,
// text fields in the ANSI code page padded with blanks, ending in CR LF.
#include <QByteArray>
#include <QString>

namespace zv::lookup {

struct RegistroConsulta {
  static constexpr int Largo = 1202;
  static constexpr int LargoNombre = 100;
  static constexpr int LargoTabla = 100;
  static constexpr int LargoCampos = 500;
  static constexpr int LargoCondicion = 500;
  static constexpr int PosNombre = 0;
  static constexpr int PosTabla = 100;
  static constexpr int PosCampos = 200;
  static constexpr int PosCondicion = 700;
  static constexpr int PosFin = 1200;

  QString Nombre;    // the catalogue's name of the lookup, such as "CUENTAS"
  QString Tabla;     // table or view, the key a lookup is searched by
  QString Campos;    // "|COL1|COL2|": the first column is searched and ordered by
  QString Condicion; // SQL condition without WHERE, blank for none

  // The record's 1202 bytes: each text cut or padded with blanks to its field.
  QByteArray aBytes() const;
  // Reads the four fields as stored (padding included). A short buffer reads
  // as if padded with blanks.
  static RegistroConsulta desdeBytes(const QByteArray &bytes);
  // A stored table or condition field as the lookup compares it: without the
  // characters of code 0 and 255, blanks trimmed.
  static QString Limpiar(const QString &campo);

  // Number of complete records in a file of that many bytes.
  static qint64 RegistrosCompletos(qint64 largoArchivo) { return largoArchivo / Largo; }
};

} // namespace zv::lookup
