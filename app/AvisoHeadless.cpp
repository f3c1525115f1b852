#include "app/AvisoHeadless.h"

#include "platform/AppError.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace zv::app {

namespace {
QString enUnaLinea(QString texto) {
  texto.replace(QLatin1String("\r\n"), QLatin1String(" "));
  texto.replace(QLatin1Char('\r'), QLatin1Char(' '));
  texto.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return texto;
}
} // namespace

AvisoHeadless::AvisoHeadless(Salida salida)
    : salida_(std::move(salida)), leyenda_(QStringLiteral("&Cancelar")) {}

void AvisoHeadless::escribirError(const QString &linea) {
  const QByteArray bytes = linea.toUtf8() + '\n';
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
  std::fflush(stderr);
}

void AvisoHeadless::escribir(const QString &linea) const {
  if (salida_)
    salida_(linea);
  else
    escribirError(linea);
}

void AvisoHeadless::mostrar() {
  visible_ = true;
  escribir(enUnaLinea(titulo_));
}

void AvisoHeadless::ponerLinea(int indice, const QString &texto) {
  if (indice < 0 || indice > 2)
    throw AppError(err::InvalidArgument, QStringLiteral("Índice de línea fuera de rango"),
                   QStringLiteral("AvisoHeadless"));
  lineas_[indice] = texto;
}

QString AvisoHeadless::linea(int indice) const {
  return indice >= 0 && indice <= 2 ? lineas_[indice] : QString();
}

void AvisoHeadless::repintar() {
  if (!visible_)
    return;
  QStringList partes;
  for (const QString &l : lineas_) {
    if (!l.isEmpty())
      partes << enUnaLinea(l);
  }
  const QString titulo = enUnaLinea(titulo_);
  escribir(partes.isEmpty() ? titulo : titulo + QStringLiteral(": ") + partes.join(QStringLiteral(" / ")));
}

void AvisoHeadless::ceder() {
  if (QCoreApplication::instance())
    QCoreApplication::processEvents();
}

void AvisoHeadless::pulsarCancelar() {
  // A hidden button cannot be pressed.
  if (visible_ && cancelarVisible_)
    leyenda_ = QStringLiteral("Abortado");
}

} // namespace zv::app
