#include "startup/Parametros.h"

#include <cmath>

namespace zv::startup {

QString RecortarBlancos(const QString &texto) {
  qsizetype ini = 0, fin = texto.size();
  while (ini < fin && texto.at(ini) == QLatin1Char(' '))
    ++ini;
  while (fin > ini && texto.at(fin - 1) == QLatin1Char(' '))
    --fin;
  return texto.mid(ini, fin - ini);
}

QString ValorParametro(const QString &linea, const QString &clave, bool *presente) {
  const qsizetype p = linea.indexOf(clave, 0, Qt::CaseInsensitive) + 1; // 1-based
  if (presente)
    *presente = p > 0;
  if (p == 0 || clave.isEmpty())
    return {};
  const qsizetype largo = clave.size();
  const qsizetype puntoYComa = linea.indexOf(QLatin1Char(';'), p - 1) + 1; // 0 when none
  qsizetype n = puntoYComa - largo - p;
  if (n < 0)
    n = largo; // no ";" follows: the key's own length, an old rule callers rely on
  QString valor = linea.mid(p - 1 + largo, n);
  valor.remove(QLatin1Char('='));
  return RecortarBlancos(valor);
}

QString NormalizarServidor(const QString &servidor) {
  QString s = servidor;
  const qsizetype barra = s.indexOf(QLatin1Char('/'));
  if (barra >= 0)
    s = s.mid(barra + 1);
  const qsizetype dosPuntos = s.indexOf(QLatin1Char(':'));
  if (dosPuntos >= 0)
    s = s.left(dosPuntos);
  return s;
}

QString SeccionIni(const QString &equipo, const QString &usuario) {
  QString seccion = equipo.toUpper() + QLatin1Char('|') + usuario.toUpper();
  if (RecortarBlancos(seccion).size() > 50)
    seccion = seccion.left(50);
  return seccion;
}

double ValorNumerico(const QString &texto) {
  qsizetype i = 0;
  const qsizetype n = texto.size();
  while (i < n && (texto.at(i) == QLatin1Char(' ') || texto.at(i) == QLatin1Char('\t')))
    ++i;
  double signo = 1;
  if (i < n && (texto.at(i) == QLatin1Char('-') || texto.at(i) == QLatin1Char('+'))) {
    if (texto.at(i) == QLatin1Char('-'))
      signo = -1;
    ++i;
  }
  double valor = 0;
  while (i < n && texto.at(i).isDigit() && texto.at(i).unicode() < 128)
    valor = valor * 10 + (texto.at(i++).unicode() - '0');
  if (i < n && texto.at(i) == QLatin1Char('.')) {
    ++i;
    double escala = 0.1;
    while (i < n && texto.at(i).isDigit() && texto.at(i).unicode() < 128) {
      valor += (texto.at(i++).unicode() - '0') * escala;
      escala /= 10;
    }
  }
  return signo * valor;
}

long long ValorEntero(const QString &texto) {
  const double v = ValorNumerico(texto);
  if (!std::isfinite(v) || std::fabs(v) > 9.2e18)
    return 0;
  return static_cast<long long>(v);
}

} // namespace zv::startup
