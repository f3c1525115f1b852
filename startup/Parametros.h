#pragma once
// Reading of the command line pairs "@Clave=valor;" and the small text rules
// of the start-up: server-name normalisation, INI section, leading-number parse.
#include <QString>

namespace zv::startup {

// Value of one key of the command line. The key is searched case-insensitively
// at its first occurrence; the value runs to the next ";" (when none follows,
// only as many characters as the key is long are taken). Every "=" is removed
// and blanks are trimmed. An absent key gives "" and, when asked, presente=false.
QString ValorParametro(const QString &linea, const QString &clave, bool *presente = nullptr);

// "tcp/SRV01:1433" -> "SRV01": what follows the first "/", then what precedes
// the first ":".
QString NormalizarServidor(const QString &servidor);

// INI section of a workstation and system user: upper-cased "EQUIPO|USUARIO",
// cut to 50 characters when longer.
QString SeccionIni(const QString &equipo, const QString &usuario);

// Leading-number parse: blanks skipped, an optional sign, digits and one
// decimal point; anything else ends the number. "12abc" -> 12, "abc" -> 0.
double ValorNumerico(const QString &texto);
// The same, as a whole number (fraction dropped).
long long ValorEntero(const QString &texto);

// Trims blanks only (not tabs or line breaks), as the system's texts expect.
QString RecortarBlancos(const QString &texto);

} // namespace zv::startup
