#pragma once
// The maker's table editor: a grid over every row of one table, where cells
// are edited, rows added and rows deleted, and the changes are written back
// through the connection when the operator saves.
//
// PlanillaTablaModelo is the editor without a display: it loads the table,
// keeps the pending edits and turns them into statements. A row is found
// again by its identity column, else by a column named ID, else by all of its
// former (comparable) values; a statement that would touch no row or more
// than one undoes the whole save.
#include "platform/Ado.h"
#include "platform/Ui.h"

#include <QDialog>
#include <QString>
#include <QVector>

class QTableWidget;

namespace zv {

class PlanillaTablaModelo {
public:
  explicit PlanillaTablaModelo(ado::Connection &conexion) : cn_(conexion) {}

  // Reads every row of the table ("SELECT * FROM table"); pending edits are
  // dropped. Throws AppError.
  void Cargar(const QString &tabla);
  const QString &Tabla() const { return tabla_; }

  int Filas() const { return int(filas_.size()); } // rows shown (deleted rows are gone)
  int Columnas() const { return int(columnas_.size()); }
  QString NombreColumna(int columna) const { return columnas_.at(columna).name; }
  bool Editable(int columna) const;
  QString Texto(int fila, int columna) const;

  // Throws AppError 3219 for a column that cannot be edited.
  void Editar(int fila, int columna, const QString &texto);
  int AgregarFila(); // returns the new row's index
  void BorrarFila(int fila);
  bool HayCambios() const;

  // The statements a save would run, in order: deletions, changes, new rows.
  // Throws AppError 13 when a typed value does not suit its column.
  QStringList Sentencias() const;
  // Runs them in one transaction and reloads the table. On any failure the
  // transaction is undone, the edits stay pending and the error is thrown.
  void Grabar();

  // Helpers of the statements, public for the window and for checks.
  static QString Literal(const QVariant &valor);
  static QString NombreSql(const QString &nombre);
  static bool NombreTablaValido(const QString &tabla);

private:
  struct Fila {
    QVector<QVariant> original;
    QVector<QString> texto;
    QVector<bool> editado;
    bool nueva = false;
  };
  QString condicion(const Fila &f) const;
  QString valorEscrito(int fila, int columna) const;
  int columnaClave() const;

  ado::Connection &cn_;
  QString tabla_;
  QVector<ado::Column> columnas_;
  QVector<Fila> filas_;
  QVector<Fila> borradas_;
};

// The editor window on a model.
class PlanillaTablaDialogo : public QDialog {
  Q_OBJECT
public:
  PlanillaTablaDialogo(PlanillaTablaModelo &modelo, UiServices &ui, const QString &titulo,
                       QWidget *parent = nullptr);
  QTableWidget *tabla() const { return grilla_; }
  void Agregar();
  void Borrar();
  bool Grabar(); // true when saved
  void Cerrar(); // asks to save pending changes first

protected:
  void reject() override; // Esc and the window's close go through Cerrar

private:
  void mostrar();
  PlanillaTablaModelo &modelo_;
  UiServices &ui_;
  QTableWidget *grilla_ = nullptr;
  bool llenando_ = false;
};

// Opens the editor on a table of a database.
class PlanillaTabla {
public:
  PlanillaTabla(ado::ConnectionFactory fabrica, UiServices &ui) : fabrica_(std::move(fabrica)), ui_(ui) {}
  // Opens its own connection with the connection string; failures are shown
  // to the operator. Returns false when the editor could not be shown.
  bool Abrir(const QString &tabla, const QString &cadenaConexion, const QString &titulo);
  // On a connection already open.
  bool Abrir(const QString &tabla, ado::Connection &conexion, const QString &titulo);

  static QString TituloError() { return QStringLiteral("Planilla"); }

private:
  ado::ConnectionFactory fabrica_;
  UiServices &ui_;
};

} // namespace zv
