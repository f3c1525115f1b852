#include "platform/PlanillaTabla.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zv {

namespace {

enum class Clase { Texto, Numero, Logico, Fecha, Binario };

Clase claseDe(int tipo) {
  switch (tipo) {
  case ado::adSmallInt:
  case ado::adInteger:
  case ado::adSingle:
  case ado::adDouble:
  case ado::adCurrency:
  case ado::adDecimal:
  case ado::adTinyInt:
  case ado::adUnsignedTinyInt:
  case ado::adUnsignedSmallInt:
  case ado::adUnsignedInt:
  case ado::adBigInt:
  case ado::adUnsignedBigInt:
  case ado::adNumeric:
    return Clase::Numero;
  case ado::adBoolean:
    return Clase::Logico;
  case ado::adDate:
  case ado::adDBDate:
  case ado::adDBTime:
  case ado::adDBTimeStamp:
  case ado::adFileTime:
    return Clase::Fecha;
  case ado::adBinary:
  case ado::adVarBinary:
  case ado::adLongVarBinary:
    return Clase::Binario;
  default:
    return Clase::Texto;
  }
}

// Long texts and binary values cannot be compared in a WHERE clause.
bool comparable(const ado::Column &c) {
  switch (c.type) {
  case ado::adLongVarChar:
  case ado::adLongVarWChar:
  case ado::adBinary:
  case ado::adVarBinary:
  case ado::adLongVarBinary:
    return false;
  default:
    return true;
  }
}

QString mostrar(const QVariant &v) {
  if (!v.isValid() || v.isNull())
    return {};
  switch (v.typeId()) {
  case QMetaType::Double:
  case QMetaType::Float:
    return QString::number(v.toDouble(), 'g', 15);
  case QMetaType::Bool:
    return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
  case QMetaType::QDateTime:
    return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  case QMetaType::QDate:
    return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
  case QMetaType::QByteArray:
    return QStringLiteral("0x") + QString::fromLatin1(v.toByteArray().toHex().toUpper());
  default:
    return v.toString();
  }
}

[[noreturn]] void tipoIncorrecto(const QString &columna, int fila, const QString &texto, const QString &que) {
  throw AppError(13,
                 QStringLiteral("El valor \"%1\" de la fila %2, columna %3, no es %4")
                     .arg(texto, QString::number(fila + 1), columna, que),
                 QStringLiteral("PlanillaTabla"));
}

} // namespace

QString PlanillaTablaModelo::Literal(const QVariant &v) { return ado::sqlLiteral(v); }

QString PlanillaTablaModelo::NombreSql(const QString &nombre) {
  QString n = nombre;
  n.replace(u']', QStringLiteral("]]"));
  return u'[' + n + u']';
}

bool PlanillaTablaModelo::NombreTablaValido(const QString &tabla) {
  static const QRegularExpression patron(QStringLiteral(
      "^(?:[A-Za-z_#@][A-Za-z0-9_#@$]*|\\[[^\\]]+\\])(?:\\.(?:[A-Za-z_#@][A-Za-z0-9_#@$]*|\\[[^\\]]+\\]))"
      "{0,2}$"));
  return patron.match(tabla.trimmed()).hasMatch();
}

void PlanillaTablaModelo::Cargar(const QString &tabla) {
  if (!NombreTablaValido(tabla))
    throw AppError(3001, QStringLiteral("Nombre de tabla no válido: \"%1\"").arg(tabla),
                   QStringLiteral("PlanillaTabla"));
  std::unique_ptr<ado::ResultSet> rs = cn_.execute(QStringLiteral("SELECT * FROM ") + tabla.trimmed());
  if (!rs)
    throw AppError(err::CommandError, QStringLiteral("La tabla %1 no devolvió filas").arg(tabla),
                   QStringLiteral("PlanillaTabla"));
  tabla_ = tabla.trimmed();
  columnas_ = rs->columns;
  filas_.clear();
  borradas_.clear();
  for (const QVector<QVariant> &r : rs->rows) {
    Fila f;
    f.original = r;
    f.original.resize(columnas_.size());
    f.texto.resize(columnas_.size());
    f.editado = QVector<bool>(columnas_.size(), false);
    filas_.append(f);
  }
}

int PlanillaTablaModelo::columnaClave() const {
  for (int i = 0; i < columnas_.size(); ++i)
    if (columnas_[i].autoIncrement)
      return i;
  for (int i = 0; i < columnas_.size(); ++i)
    if (columnas_[i].name.compare(QStringLiteral("ID"), Qt::CaseInsensitive) == 0 && comparable(columnas_[i]))
      return i;
  return -1;
}

bool PlanillaTablaModelo::Editable(int columna) const {
  const ado::Column &c = columnas_.at(columna);
  return !c.autoIncrement && claseDe(c.type) != Clase::Binario;
}

QString PlanillaTablaModelo::Texto(int fila, int columna) const {
  const Fila &f = filas_.at(fila);
  return f.editado.at(columna) ? f.texto.at(columna) : mostrar(f.original.at(columna));
}

void PlanillaTablaModelo::Editar(int fila, int columna, const QString &texto) {
  if (!Editable(columna))
    throw AppError(err::OperationNotAllowed,
                   QStringLiteral("La columna %1 no se puede modificar").arg(columnas_.at(columna).name),
                   QStringLiteral("PlanillaTabla"));
  Fila &f = filas_[fila];
  if (f.nueva ? texto.isEmpty() : texto == mostrar(f.original.at(columna))) {
    f.editado[columna] = false; // back to what it was
    f.texto[columna].clear();
    return;
  }
  f.editado[columna] = true;
  f.texto[columna] = texto;
}

int PlanillaTablaModelo::AgregarFila() {
  Fila f;
  f.nueva = true;
  f.original = QVector<QVariant>(columnas_.size());
  f.texto.resize(columnas_.size());
  f.editado = QVector<bool>(columnas_.size(), false);
  filas_.append(f);
  return int(filas_.size()) - 1;
}

void PlanillaTablaModelo::BorrarFila(int fila) {
  if (fila < 0 || fila >= filas_.size())
    return;
  Fila f = filas_.takeAt(fila);
  if (!f.nueva)
    borradas_.append(f);
}

bool PlanillaTablaModelo::HayCambios() const {
  if (!borradas_.isEmpty())
    return true;
  for (const Fila &f : filas_)
    if (f.editado.contains(true))
      return true;
  return false;
}

QString PlanillaTablaModelo::valorEscrito(int fila, int columna) const {
  const ado::Column &c = columnas_.at(columna);
  const QString texto = filas_.at(fila).texto.at(columna);
  const QString t = texto.trimmed();
  const Clase clase = claseDe(c.type);
  if (clase == Clase::Texto)
    return Literal(texto);
  if (t.isEmpty())
    return QStringLiteral("NULL");
  switch (clase) {
  case Clase::Numero: {
    static const QRegularExpression numero(QStringLiteral("^[+-]?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+)$"));
    if (!numero.match(t).hasMatch())
      tipoIncorrecto(c.name, fila, texto, QStringLiteral("un número"));
    QString n = t;
    n.replace(u',', u'.');
    if (n.startsWith(u'+'))
      n.remove(0, 1);
    if (n.endsWith(u'.'))
      n.chop(1);
    if (n.startsWith(u'.') || n.startsWith(QStringLiteral("-.")))
      n.insert(n.indexOf(u'.'), u'0');
    return n;
  }
  case Clase::Logico: {
    const QString l = t.toLower();
    if (l == u"1" || l == u"true" || l == u"verdadero" || l == QString::fromUtf8("sí") || l == u"si")
      return QStringLiteral("1");
    if (l == u"0" || l == u"false" || l == u"falso" || l == u"no")
      return QStringLiteral("0");
    tipoIncorrecto(c.name, fila, texto, QStringLiteral("sí o no"));
  }
  case Clase::Fecha: {
    for (const char *formato :
         {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd", "dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm",
          "dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-ddTHH:mm:ss"}) {
      const QString f = QString::fromLatin1(formato);
      if (!f.contains(u'H')) {
        const QDate d = QDate::fromString(t, f);
        if (d.isValid())
          return Literal(d);
        continue;
      }
      const QDateTime dt = QDateTime::fromString(t, f);
      if (dt.isValid())
        return Literal(dt);
    }
    tipoIncorrecto(c.name, fila, texto, QStringLiteral("una fecha"));
  }
  default:
    tipoIncorrecto(c.name, fila, texto, QStringLiteral("modificable"));
  }
}

QString PlanillaTablaModelo::condicion(const Fila &f) const {
  QStringList partes;
  const int clave = columnaClave();
  for (int i = 0; i < columnas_.size(); ++i) {
    if (clave >= 0 ? i != clave : !comparable(columnas_[i]))
      continue;
    const QString n = NombreSql(columnas_[i].name);
    const QVariant &v = f.original.at(i);
    partes << (v.isNull() || !v.isValid() ? n + QStringLiteral(" IS NULL")
                                          : n + QStringLiteral(" = ") + Literal(v));
  }
  if (partes.isEmpty())
    throw AppError(err::OperationNotAllowed,
                   QStringLiteral("Las filas de %1 no se pueden distinguir para modificarlas").arg(tabla_),
                   QStringLiteral("PlanillaTabla"));
  return partes.join(QStringLiteral(" AND "));
}

QStringList PlanillaTablaModelo::Sentencias() const {
  QStringList out;
  for (const Fila &f : borradas_)
    out << QStringLiteral("DELETE FROM %1 WHERE %2").arg(tabla_, condicion(f));
  QStringList inserciones;
  for (int r = 0; r < filas_.size(); ++r) {
    const Fila &f = filas_[r];
    QStringList nombres, valores;
    for (int c = 0; c < columnas_.size(); ++c)
      if (f.editado.at(c)) {
        nombres << NombreSql(columnas_[c].name);
        valores << valorEscrito(r, c);
      }
    if (nombres.isEmpty())
      continue;
    if (f.nueva) {
      inserciones << QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(tabla_, nombres.join(QStringLiteral(", ")), valores.join(QStringLiteral(", ")));
    } else {
      QStringList asignaciones;
      for (int i = 0; i < nombres.size(); ++i)
        asignaciones << nombres[i] + QStringLiteral(" = ") + valores[i];
      out << QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                 .arg(tabla_, asignaciones.join(QStringLiteral(", ")), condicion(f));
    }
  }
  return out + inserciones;
}

void PlanillaTablaModelo::Grabar() {
  const QStringList sentencias = Sentencias();
  if (sentencias.isEmpty())
    return;
  cn_.beginTrans();
  try {
    for (const QString &s : sentencias) {
      long afectadas = -1;
      cn_.execute(s, &afectadas);
      if (s.startsWith(QStringLiteral("INSERT")))
        continue;
      if (afectadas == 0)
        throw AppError(
            err::CommandError,
            QStringLiteral("La fila ya no está como se leyó (otro usuario pudo cambiarla o borrarla)"),
            QStringLiteral("PlanillaTabla"));
      if (afectadas > 1)
        throw AppError(
            err::CommandError,
            QStringLiteral("La fila no se distingue de otras: se cambiarían %1 filas").arg(afectadas),
            QStringLiteral("PlanillaTabla"));
    }
    cn_.commitTrans();
  } catch (...) {
    try {
      cn_.rollbackTrans();
    } catch (...) {
      // the first failure is the one to report
    }
    throw;
  }
  Cargar(tabla_);
}

// ------------------------------------------------------------ the window

PlanillaTablaDialogo::PlanillaTablaDialogo(PlanillaTablaModelo &modelo, UiServices &ui, const QString &titulo,
                                           QWidget *parent)
    : QDialog(parent), modelo_(modelo), ui_(ui) {
  setObjectName(QStringLiteral("PlanillaTabla"));
  setWindowTitle(titulo);
  auto *layout = new QVBoxLayout(this);
  grilla_ = new QTableWidget(this);
  grilla_->setObjectName(QStringLiteral("Grilla"));
  grilla_->setSelectionBehavior(QAbstractItemView::SelectRows);
  layout->addWidget(grilla_);
  auto *botones = new QHBoxLayout;
  const QList<QPair<QString, std::function<void()>>> acciones = {
      {QStringLiteral("Agregar"), [this] { Agregar(); }},
      {QStringLiteral("Borrar"), [this] { Borrar(); }},
      {QStringLiteral("Grabar"), [this] { Grabar(); }},
      {QStringLiteral("Cerrar"), [this] { Cerrar(); }}};
  for (const auto &a : acciones) {
    auto *b = new QPushButton(a.first, this);
    b->setObjectName(QStringLiteral("Boton") + a.first);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, a.second);
    botones->addWidget(b);
  }
  botones->addStretch();
  layout->addLayout(botones);
  connect(grilla_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
    if (llenando_)
      return;
    try {
      modelo_.Editar(item->row(), item->column(), item->text());
    } catch (const AppError &e) {
      ui_.msgBox(e.description(), vb::Exclamation, windowTitle());
      mostrar();
    }
  });
  resize(720, 480);
  mostrar();
}

void PlanillaTablaDialogo::mostrar() {
  llenando_ = true;
  grilla_->clear();
  grilla_->setColumnCount(modelo_.Columnas());
  grilla_->setRowCount(modelo_.Filas());
  QStringList cabeceras;
  for (int c = 0; c < modelo_.Columnas(); ++c)
    cabeceras << modelo_.NombreColumna(c);
  grilla_->setHorizontalHeaderLabels(cabeceras);
  for (int r = 0; r < modelo_.Filas(); ++r)
    for (int c = 0; c < modelo_.Columnas(); ++c) {
      auto *item = new QTableWidgetItem(modelo_.Texto(r, c));
      if (!modelo_.Editable(c))
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      grilla_->setItem(r, c, item);
    }
  llenando_ = false;
}

void PlanillaTablaDialogo::Agregar() {
  const int fila = modelo_.AgregarFila();
  mostrar();
  grilla_->setCurrentCell(fila, 0);
}

void PlanillaTablaDialogo::Borrar() {
  const int fila = grilla_->currentRow();
  if (fila < 0 || fila >= modelo_.Filas())
    return;
  if (ui_.msgBox(QStringLiteral("¿Borra la fila seleccionada?"),
                 vb::YesNo + vb::Question + vb::DefaultButton2, windowTitle()) != vb::Yes)
    return;
  modelo_.BorrarFila(fila);
  mostrar();
}

bool PlanillaTablaDialogo::Grabar() {
  try {
    modelo_.Grabar();
  } catch (const AppError &e) {
    ui_.msgBox(QStringLiteral("No se grabaron los cambios.\r\n") + e.description(), vb::Critical,
               windowTitle());
    return false;
  }
  mostrar();
  return true;
}

void PlanillaTablaDialogo::Cerrar() {
  if (modelo_.HayCambios()) {
    const int r = ui_.msgBox(QStringLiteral("¿Desea grabar los cambios?"), vb::YesNoCancel + vb::Question,
                             windowTitle());
    if (r == vb::Cancel)
      return;
    if (r == vb::Yes && !Grabar())
      return;
  }
  QDialog::reject();
}

void PlanillaTablaDialogo::reject() { Cerrar(); }

// -------------------------------------------------------------- opening

bool PlanillaTabla::Abrir(const QString &tabla, ado::Connection &conexion, const QString &titulo) {
  PlanillaTablaModelo modelo(conexion);
  try {
    modelo.Cargar(tabla);
  } catch (const AppError &e) {
    ui_.msgBox(e.description(), vb::Critical, titulo.isEmpty() ? TituloError() : titulo);
    return false;
  }
  PlanillaTablaDialogo dialogo(modelo, ui_, titulo);
  dialogo.exec();
  return true;
}

bool PlanillaTabla::Abrir(const QString &tabla, const QString &cadenaConexion, const QString &titulo) {
  if (!fabrica_)
    return false;
  std::unique_ptr<ado::Connection> cn;
  try {
    cn = fabrica_();
    if (!cn)
      return false;
    cn->open(cadenaConexion);
  } catch (const AppError &e) {
    ui_.msgBox(e.description(), vb::Critical, titulo.isEmpty() ? TituloError() : titulo);
    return false;
  }
  const bool ok = Abrir(tabla, *cn, titulo);
  try {
    cn->close();
  } catch (const AppError &) {
    // the editor is done; a failing close changes nothing for the operator
  }
  return ok;
}

} // namespace zv
