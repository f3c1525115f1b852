#include "platform/Kit.h"

#include "platform/Texto1252.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QScreen>
#include <QStringDecoder>
#include <QWidget>

#include <cmath>
#include <limits>

namespace zv::kit {

// ---------------------------------------------------------------- Utilidades

QString Utilidades::SinNulo(const QVariant &valor) {
  if (!valor.isValid() || valor.isNull())
    return {};
  switch (valor.typeId()) {
  case QMetaType::Double:
  case QMetaType::Float:
    // Shortest exact form with "." as separator, so numbers read back alike.
    return QString::number(valor.toDouble(), 'g', 15);
  case QMetaType::Bool:
    return valor.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  case QMetaType::QDate:
    return valor.toDate().toString(QStringLiteral("dd/MM/yyyy"));
  case QMetaType::QDateTime:
    return valor.toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
  case QMetaType::QByteArray:
    return QStringLiteral("0x") + QString::fromLatin1(valor.toByteArray().toHex().toUpper());
  default:
    return valor.toString();
  }
}

QString Utilidades::Recortar(const QString &texto, int n) { return n <= 0 ? QString() : texto.left(n); }

QString Utilidades::CodigoFijo(const QString &texto, int ancho) {
  // Right-aligned with blanks; a longer code is kept whole, never cut.
  if (ancho <= 0 || texto.size() >= ancho)
    return texto;
  return texto.rightJustified(ancho, u' ');
}

namespace {

// Leading number of a text: sign, digits and separators; "." and "," are both
// accepted as decimal separators, as is the locale's. When both appear, the
// last one is the decimal separator and the other groups thousands; one kind
// appearing more than once groups thousands.
double numeroInicial(const QString &texto) {
  const QString t = texto.trimmed();
  qsizetype i = 0;
  const qsizetype n = t.size();
  if (n >= 2 && t.at(0) == u'&' && (t.at(1) == u'H' || t.at(1) == u'h')) {
    double v = 0;
    for (i = 2; i < n; ++i) {
      const char16_t c = t.at(i).toLower().unicode();
      if (c >= u'0' && c <= u'9')
        v = v * 16 + (c - u'0');
      else if (c >= u'a' && c <= u'f')
        v = v * 16 + (c - u'a' + 10);
      else
        break;
    }
    return v;
  }
  bool negativo = false;
  if (i < n && (t.at(i) == u'-' || t.at(i) == u'+')) {
    negativo = t.at(i) == u'-';
    ++i;
  }
  const QLocale loc = QLocale::system();
  const QString locDec = loc.decimalPoint();
  const QString locGrp = loc.groupSeparator();
  QString cuerpo; // digits and separators, separators as '.' or ','
  for (; i < n; ++i) {
    const QChar c = t.at(i);
    if (c >= u'0' && c <= u'9')
      cuerpo += c;
    else if (c == u'.' || c == u',')
      cuerpo += c;
    else if (locDec.size() == 1 && c == locDec.at(0))
      cuerpo += u',';
    else if (locGrp.size() == 1 && c == locGrp.at(0) && !c.isSpace())
      cuerpo += u'.';
    else
      break;
  }
  const qsizetype puntos = cuerpo.count(u'.');
  const qsizetype comas = cuerpo.count(u',');
  QChar decimal;
  if (puntos && comas)
    decimal = cuerpo.lastIndexOf(u'.') > cuerpo.lastIndexOf(u',') ? u'.' : u',';
  else if (puntos == 1)
    decimal = u'.';
  else if (comas == 1)
    decimal = u',';
  QString limpio;
  bool vistoDecimal = false;
  for (qsizetype k = 0; k < cuerpo.size(); ++k) {
    const QChar c = cuerpo.at(k);
    if (c.isDigit()) {
      limpio += c;
    } else if (c == decimal && !vistoDecimal) {
      // With both kinds present only the last decimal mark counts; a
      // separator after it ends the number.
      if (cuerpo.indexOf(c, k + 1) >= 0 && puntos && comas)
        break;
      vistoDecimal = true;
      limpio += u'.';
    } else if (c == decimal) {
      break;
    }
    // other separators group thousands and are dropped
  }
  if (limpio.isEmpty() || limpio == QStringLiteral("."))
    return 0;
  bool ok = false;
  const double v = limpio.toDouble(&ok);
  if (!ok || !std::isfinite(v))
    return 0;
  return negativo ? -v : v;
}

} // namespace

double Utilidades::ANumero(const QString &texto) {
  const double v = numeroInicial(texto);
  const double r = std::round(v * 10000.0) / 10000.0;
  return std::isfinite(r) ? r : v;
}

long long Utilidades::AEntero(const QString &texto) {
  const double v = std::round(numeroInicial(texto));
  constexpr double maximo = double(std::numeric_limits<long long>::max());
  if (v >= maximo)
    return std::numeric_limits<long long>::max();
  if (v <= -maximo)
    return std::numeric_limits<long long>::min();
  return static_cast<long long>(v);
}

int Utilidades::ContarPalabras(const QString &texto) {
  int palabras = 0;
  bool enPalabra = false;
  for (QChar c : texto) {
    if (c.isSpace()) {
      enPalabra = false;
    } else if (!enPalabra) {
      enPalabra = true;
      ++palabras;
    }
  }
  return palabras;
}

QString Utilidades::QuitarCaracteres(const QString &texto, const QString &c1, const QString &c2,
                                     const QString &c3) {
  QString out = texto;
  for (const QString *c : {&c1, &c2, &c3})
    if (!c->isEmpty())
      out.remove(*c, Qt::CaseSensitive);
  return out;
}

QString Utilidades::Reemplazar(const QString &texto, const QString &viejo, const QString &nuevo) {
  if (viejo.isEmpty())
    return texto;
  QString out = texto;
  return out.replace(viejo, nuevo, Qt::CaseSensitive);
}

QString Utilidades::ReemplazarTexto(const QString &texto, const QString &viejo, const QString &nuevo) {
  if (viejo.isEmpty())
    return texto;
  QString out = texto;
  return out.replace(viejo, nuevo, Qt::CaseInsensitive);
}

QString Utilidades::ConBarra(const QString &carpeta) {
  if (carpeta.isEmpty())
    return QStringLiteral("./");
  return carpeta.endsWith(u'/') ? carpeta : carpeta + u'/';
}

namespace {

// Key of the password cipher. The enciphered form is upper-case hexadecimal,
// so it never holds a comma, a quote, an apostrophe or a line break.
constexpr unsigned char kClave[] = {0x5A, 0x56, 0x51, 0x75, 0x6D, 0x61, 0x4B, 0x32,
                                    0x9E, 0x17, 0xC3, 0x48, 0x2D, 0xB1, 0x74, 0xE6};
constexpr int kLargoClave = int(sizeof(kClave));

unsigned char mezcla(int i) { return static_cast<unsigned char>(kClave[i % kLargoClave] + 31 * i); }

} // namespace

QString Utilidades::Cifrar(const QString &texto) {
  const QByteArray plano = texto.toUtf8();
  QByteArray cifrado(plano.size(), '\0');
  unsigned char previo = 0xA5;
  for (int i = 0; i < plano.size(); ++i) {
    const unsigned char c =
        static_cast<unsigned char>((static_cast<unsigned char>(plano[i]) ^ mezcla(i)) + previo);
    cifrado[i] = static_cast<char>(c);
    previo = c;
  }
  return QString::fromLatin1(cifrado.toHex().toUpper());
}

QString Utilidades::Descifrar(const QString &texto) {
  // Text that is not of the enciphered form comes back as it is.
  if (texto.size() % 2 != 0)
    return texto;
  for (QChar c : texto) {
    const char16_t u = c.toLower().unicode();
    if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f')))
      return texto;
  }
  const QByteArray cifrado = QByteArray::fromHex(texto.toLatin1());
  QByteArray plano(cifrado.size(), '\0');
  unsigned char previo = 0xA5;
  for (int i = 0; i < cifrado.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(cifrado[i]);
    plano[i] = static_cast<char>(static_cast<unsigned char>(c - previo) ^ mezcla(i));
    previo = c;
  }
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString resultado = utf8.decode(plano);
  if (utf8.hasError())
    return texto;
  return resultado;
}

QString Utilidades::TextoInformeError(const AppError &error, const QString &rutina) {
  QString texto =
      QStringLiteral("Error %1: %2\r\nRutina: %3").arg(error.number()).arg(error.description(), rutina);
  if (!error.source().isEmpty() && error.source().compare(rutina, Qt::CaseInsensitive) != 0)
    texto += QStringLiteral("\r\nOrigen: ") + error.source();
  return texto;
}

QString Utilidades::TituloInformeError(const QString &rutina) { return QStringLiteral("Error en ") + rutina; }

int Utilidades::InformarError(const AppError &error, const QString &rutina) {
  // Without anyone to ask, the routine is left.
  if (!ui_)
    return vb::Abort;
  return ui_->msgBox(TextoInformeError(error, rutina), vb::AbortRetryIgnore + vb::Critical,
                     TituloInformeError(rutina));
}

void Utilidades::PrepararVentana(QWidget *ventana, bool maximizar) {
  if (!ventana)
    return;
  if (maximizar) {
    ventana->setWindowState(ventana->windowState() | Qt::WindowMaximized);
    return;
  }
  QRect area;
  if (QWidget *padre = ventana->parentWidget())
    area = padre->window()->frameGeometry();
  else if (QScreen *pantalla = ventana->screen())
    area = pantalla->availableGeometry();
  if (area.isValid())
    ventana->move(area.center() - ventana->rect().center());
}

// --------------------------------------------------------------- InfoSistema

QString InfoSistema::NombreEquipo() const { return sistema_.nombreEquipo(); }
QString InfoSistema::UsuarioSistema() const { return sistema_.usuarioSistema(); }
QString InfoSistema::CarpetaTemporal() const { return sistema_.carpetaTemporal(); }

bool InfoSistema::AbrirDocumento(const QString &destino, int mostrar) {
  if (destino.trimmed().isEmpty())
    return false;
  return ui_.openDocument(destino, mostrar);
}

void InfoSistema::PrepararFormulario(QWidget *ventana) {
  if (!ventana)
    return;
  if (ventana->windowTitle().isEmpty())
    ventana->setWindowTitle(QGuiApplication::applicationDisplayName());
  if (ventana->windowIcon().isNull() && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
    ventana->setWindowIcon(QGuiApplication::windowIcon());
}

// -------------------------------------------------------------- ReceptorRuta

void ReceptorRuta::Iniciar(const QString &carpetaAplicacion) {
  carpeta_ = Utilidades::ConBarra(carpetaAplicacion);
}

// ----------------------------------------------------------------- LectorIni

LectorIni::LectorIni(const QString &carpetaPrograma) : carpeta_(carpetaPrograma) {}

namespace {

// The file in the folder; when not there by its exact name, a file whose
// name differs only in letter case.
QString ubicarArchivo(const QString &carpeta, const QString &archivo) {
  const QFileInfo directo(QDir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta), archivo);
  if (directo.isFile())
    return directo.filePath();
  const QDir dir = directo.dir();
  const QString nombre = directo.fileName();
  for (const QString &n : dir.entryList(QDir::Files | QDir::Hidden))
    if (n.compare(nombre, Qt::CaseInsensitive) == 0)
      return dir.filePath(n);
  return {};
}

QString textoIni(const QByteArray &bytes) {
  QByteArray datos = bytes;
  if (datos.startsWith("\xEF\xBB\xBF"))
    datos.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString texto = utf8.decode(datos);
  if (!utf8.hasError())
    return texto;
  return texto1252::decodificar(datos);
}

} // namespace

QString LectorIni::LeerValor(const QString &archivo, const QString &seccion, const QString &clave,
                             const QString &porDefecto) const {
  const QString ruta = ubicarArchivo(carpeta_, archivo);
  if (ruta.isEmpty())
    return porDefecto;
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly))
    return porDefecto;
  const QStringList lineas = texto1252::dividirLineas(textoIni(f.readAll()));
  const QString buscada = seccion.trimmed();
  const QString claveBuscada = clave.trimmed();
  bool enSeccion = false;
  for (const QString &bruta : lineas) {
    const QString linea = bruta.trimmed();
    if (linea.isEmpty() || linea.startsWith(u';') || linea.startsWith(u'#'))
      continue;
    if (linea.startsWith(u'[')) {
      const qsizetype fin = linea.lastIndexOf(u']');
      const QString nombre = (fin > 0 ? linea.mid(1, fin - 1) : linea.mid(1)).trimmed();
      enSeccion = nombre.compare(buscada, Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!enSeccion)
      continue;
    const qsizetype igual = linea.indexOf(u'=');
    if (igual < 0)
      continue;
    if (linea.left(igual).trimmed().compare(claveBuscada, Qt::CaseInsensitive) != 0)
      continue;
    QString valor = linea.mid(igual + 1).trimmed();
    if (valor.size() >= 2 && valor.startsWith(u'"') && valor.endsWith(u'"'))
      valor = valor.mid(1, valor.size() - 2);
    return valor;
  }
  return porDefecto;
}

// ------------------------------------------------------------ DialogoArchivo

namespace {
FileDialogRequest pedido(const DialogoArchivo &d, bool guardar) {
  FileDialogRequest r;
  r.title = d.Titulo;
  r.filter = d.Filtro;
  r.defaultExtension = d.ExtensionPorDefecto;
  r.flag = d.Opcion;
  r.save = guardar;
  r.fileName = d.NombreArchivo;
  return r;
}
} // namespace

void DialogoArchivo::MostrarAbrir() {
  const FileDialogResult r = ui_.fileDialog(pedido(*this, false));
  Cancelado = r.cancelled || r.fileName.isEmpty();
  NombreArchivo = Cancelado ? QString() : r.fileName;
}

void DialogoArchivo::MostrarGuardar() {
  const FileDialogResult r = ui_.fileDialog(pedido(*this, true));
  Cancelado = r.cancelled || r.fileName.isEmpty();
  NombreArchivo = Cancelado ? QString() : r.fileName;
}

// -------------------------------------------------------------- AyudaTeclado

bool AyudaTeclado::EsTeclaDeSalida(int keyCode) {
  switch (keyCode) {
  case vb::KeyTab:
  case vb::KeyReturn:
  case vb::KeyEscape:
  case vb::KeyUp:
  case vb::KeyDown:
    return true;
  default:
    return false;
  }
}

QString AyudaTeclado::SeparadorDecimal() { return QLocale::system().decimalPoint(); }

} // namespace zv::kit
