#pragma once
// The import of a code-pair file into the recode sheet: each line gives a
// current and a new code, fed through the same editor, validation and
// navigation as typing them.
#include "app/HojaRecodificacion.h"
#include "platform/Kit.h"

#include <QString>
#include <optional>

namespace zv::app {

struct ParArchivo {
  QString actual;
  QString nuevo;
};

// Splits a line at its first comma, else its first semicolon, else its first
// tab; nothing when it has none of them. The fields are kept as they are.
std::optional<ParArchivo> SepararPar(const QString &linea);

// Puts one pair into the sheet at its current row, as typed with Enter after
// each code. A refused current code leaves the row for the next pair; a
// refused new code is emptied again after its Enter, so that the row is not
// recoded. Failures are thrown to the caller.
void CargarPar(HojaRecodificacion &hoja, const ParArchivo &par);

// The click of "&Cargar Archivo": asks, empties the sheet, lets the operator
// choose the file on the window's dialog and loads every line (ended by CR,
// CR LF or LF; read in the ANSI code page). Failures go to the sheet's error
// report under "CmdBuscar_Click": 4 retries the step, 5 goes on, anything
// else ends the import.
void CmdBuscar_Click(HojaRecodificacion &hoja, kit::DialogoArchivo &dialogo);

} // namespace zv::app
