#pragma once
// The check of every code typed into the recode sheet against the chart of
// accounts: a current code must be an account (its description is shown
// beside it), a new code must be given, and a new code that already is an
// account is taken only once the operator agreed to merge into it.
#include "app/HojaRecodificacion.h"
#include "db/DB_Dll.h"
#include "platform/Ui.h"

#include <QString>

namespace zv::app {

class ValidacionCuentas : public Validador {
public:
  ValidacionCuentas(db::DB_Dll &db, UiServices &ui) : db_(db), ui_(ui) {}

  // Returns HayError: true when the editor's value is refused.
  bool CampoValida(HojaRecodificacion &hoja, EditorCelda &Texto) override;

  static QString TituloAviso() { return QStringLiteral("Aviso al operador"); }
  static QString NoExiste() { return QStringLiteral("El Codigo Informado no existe"); }
  static QString FaltaNuevo() { return QStringLiteral("Debe Informar el Codigo de Cuenta Nuevo"); }
  static QString PreguntaExistente() {
    return QStringLiteral("Atención, el codigo nuevo ya existe..., esta seguro de utilizar esta cuenta? ");
  }
  static QString NuevoExistente() { return QStringLiteral("El Código de Cuenta Nuevo ya Existe"); }

private:
  // Whether the code is an account; with a recordset, it is left on the row.
  bool existe(const QString &codigo, ado::Recordset &rs);

  db::DB_Dll &db_;
  UiServices &ui_;
};

} // namespace zv::app
