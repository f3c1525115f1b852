#include "platform/Ado.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace zv::ado {

namespace {
const QString kSource = QStringLiteral("ADODB.Recordset");

[[noreturn]] void fail(long number, const QString &text) { throw AppError(number, text, kSource); }

QString quoteName(const QString &n) { return "[" + n + "]"; }
} // namespace

QString sqlLiteral(const QVariant &v) {
  if (v.isNull() || !v.isValid())
    return QStringLiteral("NULL");
  switch (v.typeId()) {
  case QMetaType::Bool:
    return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
  case QMetaType::Short:
  case QMetaType::UShort:
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::LongLong:
  case QMetaType::ULongLong:
  case QMetaType::Double:
  case QMetaType::Float:
    // The shortest digits that read back as the same number: a value read from
    // a decimal column still equals its column when it comes back in a WHERE.
    return v.toString();
  case QMetaType::QDateTime:
    return "'" + v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + "'";
  case QMetaType::QDate:
    return "'" + v.toDate().toString(QStringLiteral("yyyy-MM-dd")) + "'";
  case QMetaType::QByteArray:
    // As text the bytes would be decoded and could not be matched or stored back.
    return QStringLiteral("0x") + QString::fromLatin1(v.toByteArray().toHex().toUpper());
  default: {
    QString s = v.toString();
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return "'" + s + "'";
  }
  }
}

int ResultSet::columnIndex(const QString &name) const {
  for (int i = 0; i < columns.size(); ++i)
    if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

ConnectionString::ConnectionString(const QString &text) : text_(text) {
  for (const QString &part : text.split(QLatin1Char(';'))) {
    const int eq = part.indexOf(QLatin1Char('='));
    if (eq < 0)
      continue;
    const QString key = part.left(eq).trimmed();
    if (key.isEmpty())
      continue;
    pairs_.append({key, part.mid(eq + 1).trimmed()});
  }
}

QString ConnectionString::value(const QString &key) const {
  for (const auto &p : pairs_)
    if (p.first.compare(key, Qt::CaseInsensitive) == 0)
      return p.second;
  return {};
}

QString ConnectionString::value(const QStringList &keys) const {
  for (const QString &k : keys)
    if (has(k))
      return value(k);
  return {};
}

bool ConnectionString::has(const QString &key) const {
  for (const auto &p : pairs_)
    if (p.first.compare(key, Qt::CaseInsensitive) == 0)
      return true;
  return false;
}

// ---- Field ----------------------------------------------------------------

QString Field::name() const { return rs_->result_->columns.at(index_).name; }
int Field::type() const { return rs_->result_->columns.at(index_).type; }
long Field::definedSize() const { return rs_->result_->columns.at(index_).definedSize; }
QVariant Field::value() const { return rs_->value(index_); }
void Field::setValue(const QVariant &v) { rs_->setValue(name(), v); }

// ---- Recordset ------------------------------------------------------------

void Recordset::open(const QString &source, Connection &connection, int cursorType, int lockType,
                     long options) {
  if (open_)
    fail(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."));
  auto result = connection.execute(source, nullptr, options);
  if (!result)
    result = std::make_unique<ResultSet>();
  result_ = std::move(result);
  connection_ = &connection;
  source_ = source;
  cursorType_ = cursorType;
  lockType_ = lockType;
  static const QRegularExpression from(
      QStringLiteral("\\bfrom\\s+((?:\\[[^\\]]+\\]|[\\w.$#@-])+)"),
      QRegularExpression::CaseInsensitiveOption);
  const auto m = from.match(source);
  table_ = m.hasMatch() ? m.captured(1) : QString();
  pos_ = 0;
  editMode_ = adEditNone;
  open_ = true;
}

void Recordset::attach(std::unique_ptr<ResultSet> result, Connection *connection) {
  result_ = result ? std::move(result) : std::make_unique<ResultSet>();
  connection_ = connection;
  source_.clear();
  table_.clear();
  cursorType_ = adOpenForwardOnly;
  lockType_ = adLockReadOnly;
  pos_ = 0;
  editMode_ = adEditNone;
  open_ = true;
}

void Recordset::close() {
  if (!open_)
    fail(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
  if (editMode_ != adEditNone)
    fail(err::OperationNotAllowed, QStringLiteral("Operation is not allowed in this context."));
  open_ = false;
  result_.reset();
  connection_ = nullptr;
}

void Recordset::requireOpen() const {
  if (!open_)
    fail(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."));
}

void Recordset::requireRow() const {
  requireOpen();
  if (pos_ < 0 || pos_ >= result_->rows.size())
    fail(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                              "Requested operation requires a current record."));
}

bool Recordset::bof() const {
  requireOpen();
  return result_->rows.isEmpty() || pos_ < 0;
}

bool Recordset::eof() const {
  requireOpen();
  return result_->rows.isEmpty() || pos_ >= result_->rows.size();
}

void Recordset::moveFirst() {
  requireOpen();
  pos_ = 0;
}

void Recordset::moveNext() {
  requireOpen();
  if (pos_ >= result_->rows.size())
    fail(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                              "Requested operation requires a current record."));
  ++pos_;
}

void Recordset::movePrevious() {
  requireOpen();
  if (cursorType_ == adOpenForwardOnly)
    fail(3219, QStringLiteral("Operation is not allowed in this context."));
  if (pos_ < 0)
    fail(3021, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                              "Requested operation requires a current record."));
  --pos_;
}

void Recordset::moveLast() {
  requireOpen();
  pos_ = result_->rows.isEmpty() ? 0 : result_->rows.size() - 1;
}

long Recordset::recordCount() const {
  requireOpen();
  return long(result_->rows.size());
}

int Recordset::fieldCount() const {
  requireOpen();
  return int(result_->columns.size());
}

Field Recordset::field(int index) {
  requireOpen();
  if (index < 0 || index >= result_->columns.size())
    fail(err::ItemNotFound,
         QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
  return Field(this, index);
}

Field Recordset::field(const QString &name) {
  requireOpen();
  const int i = result_->columnIndex(name);
  if (i < 0)
    fail(err::ItemNotFound,
         QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
  return Field(this, i);
}

QVariant Recordset::value(int index) const {
  requireOpen();
  if (index < 0 || index >= result_->columns.size())
    fail(err::ItemNotFound,
         QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
  if (editMode_ != adEditNone && touched_.value(index))
    return pending_.at(index);
  if (editMode_ == adEditAdd)
    return {};
  requireRow();
  return result_->rows.at(pos_).at(index);
}

QVariant Recordset::value(const QString &name) const {
  requireOpen();
  return value(result_->columnIndex(name));
}

bool Recordset::updatable() const {
  return open_ && connection_ && !table_.isEmpty() &&
         (cursorType_ == adOpenKeyset || cursorType_ == adOpenDynamic) &&
         (lockType_ == adLockOptimistic || lockType_ == adLockPessimistic ||
          lockType_ == adLockBatchOptimistic);
}

void Recordset::addNew() {
  requireOpen();
  if (!updatable())
    fail(err::NotSupported, QStringLiteral("Current Recordset does not support updating. This may be a "
                                           "limitation of the provider, or of the selected locktype."));
  pending_ = QVector<QVariant>(result_->columns.size());
  touched_ = QVector<bool>(result_->columns.size(), false);
  editMode_ = adEditAdd;
}

void Recordset::setValue(const QString &name, const QVariant &v) {
  requireOpen();
  const int i = result_->columnIndex(name);
  if (i < 0)
    fail(err::ItemNotFound,
         QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal."));
  if (editMode_ == adEditNone) {
    if (!updatable())
      fail(err::NotSupported, QStringLiteral("Current Recordset does not support updating. This may be a "
                                             "limitation of the provider, or of the selected locktype."));
    requireRow();
    pending_ = result_->rows.at(pos_);
    touched_ = QVector<bool>(result_->columns.size(), false);
    editMode_ = adEditInProgress;
  }
  pending_[i] = v;
  touched_[i] = true;
}

void Recordset::update() {
  requireOpen();
  if (editMode_ == adEditNone)
    return;
  QStringList names, values;
  for (int i = 0; i < result_->columns.size(); ++i) {
    if (!touched_[i])
      continue;
    names << quoteName(result_->columns[i].name);
    values << sqlLiteral(pending_[i]);
  }
  if (editMode_ == adEditAdd) {
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table_)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table_, names.join(','), values.join(','));
    connection_->execute(sql);
    QVector<QVariant> row(result_->columns.size());
    for (int i = 0; i < row.size(); ++i)
      if (touched_[i])
        row[i] = pending_[i];
    result_->rows.append(row);
    pos_ = result_->rows.size() - 1;
  } else if (!names.isEmpty()) {
    // Identify the row by its identity column when there is one, else by all
    // of its former values.
    const QVector<QVariant> &old = result_->rows.at(pos_);
    QStringList where;
    int key = -1;
    for (int i = 0; i < result_->columns.size(); ++i)
      if (result_->columns[i].autoIncrement)
        key = i;
    for (int i = 0; i < result_->columns.size(); ++i) {
      if (key >= 0 && i != key)
        continue;
      const QString n = quoteName(result_->columns[i].name);
      where << (old[i].isNull() ? n + " IS NULL" : n + " = " + sqlLiteral(old[i]));
    }
    QStringList sets;
    for (int i = 0; i < names.size(); ++i)
      sets << names[i] + " = " + values[i];
    connection_->execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                             .arg(table_, sets.join(','), where.join(QStringLiteral(" AND "))));
    result_->rows[pos_] = pending_;
  }
  editMode_ = adEditNone;
}

void Recordset::cancelUpdate() {
  requireOpen();
  editMode_ = adEditNone;
  pending_.clear();
  touched_.clear();
}

} // namespace zv::ado
