#pragma once
// Small text rules of the data-access layer: searches and replacements that
// ignore letter case, 1-based positions, blank trimming and the leading-number
// reading of keys.
#include <QString>

namespace zv::db::texto {

bool contiene(const QString &texto, const QString &buscado);
// 1-based position of buscado at or after desde (1-based), 0 when absent.
int posicion(const QString &texto, const QString &buscado, int desde = 1);
// Every occurrence replaced, ignoring case.
QString reemplazar(const QString &texto, const QString &viejo, const QString &nuevo);
// Blanks only (not tabs or line breaks).
QString recortarBlancos(const QString &texto);
// The number at the start of a text: blanks skipped, an optional sign, digits
// and one decimal point; reading stops at any other character; 0 when nothing
// can be read.
double valorNumerico(const QString &texto);
// A number as the shortest text that reads back alike.
QString numeroTexto(double valor);

} // namespace zv::db::texto
