#pragma once
// Reads the constraints of a table back from its CREATE TABLE text, so that a
// failure SQLite reports by columns can be told by the constraint's name.
#include <QString>
#include <QStringList>
#include <QVector>

namespace zv::sqlite {

struct Restriccion {
  enum Tipo { PrimaryKey, Unique, Check, ForeignKey };
  Tipo tipo = Check;
  QString nombre;        // as declared; empty when the table did not name it
  QStringList columnas;  // key columns, FK columns; the column of a column-level CHECK
  QString tablaReferida; // FOREIGN KEY
  QStringList columnasReferidas;
};

// Constraints of one "CREATE TABLE" text in declaration order. A UNIQUE
// constraint written for a primary key that had to give way to an identity
// column counts as the primary key.
QVector<Restriccion> restriccionesDeTabla(const QString &createSql);

// Columns of a "CREATE [UNIQUE] INDEX ... ON t (cols)" text.
QStringList columnasDeIndice(const QString &createSql);

} // namespace zv::sqlite
