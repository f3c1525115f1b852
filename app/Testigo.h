#pragma once
// The witness report of a recode run: the sheet as an HTML table, written in
// the ANSI code page with CR LF line ends, and opened with the application
// associated with the file.
#include "app/HojaRecodificacion.h"
#include "platform/Ui.h"

#include <QString>

namespace zv::app {

// "&nbsp" for one, otherwise "&nbsp;" repeated (nothing for zero or less).
QString EspaciosHTML(int cantidad);

// Writes the page for the sheet's current content, replacing the file. The
// background image is "stone.jpg" in the program folder; the title is the
// main window's caption. Walks the current cell through every data cell.
// Failures of the file are thrown (AppError 75).
void GeneraTestigo(HojaRecodificacion &hoja, const QString &archivo, const QString &carpetaPrograma,
                   const QString &tituloVentana);

// Opens the file with its associated application: a name with blanks and no
// double quote goes enclosed in double quotes; shown hidden (0) with the
// flag, normally (6) without. The result is not looked at.
void AbreDocumento(UiServices &ui, const QString &archivo, bool oculto = false);

} // namespace zv::app
